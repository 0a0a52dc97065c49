#include "serial/GbkText.h"

#include <gtest/gtest.h>

TEST(GbkText, EncodesAndDecodesLatinAndChinese)
{
    const QString text = QStringLiteral(u"UPS机房A");
    const QByteArray gbk = QByteArray::fromHex("555053bbfab7bf41");
    EXPECT_EQ(GbkFromString(text), gbk);
    EXPECT_EQ(GbkToString(gbk), text);
    EXPECT_EQ(GbkFromString(u""), QByteArray());
}

TEST(GbkText, TextGbkCannotHoldBecomesReplacement)
{
    EXPECT_EQ(GbkFromString(QStringLiteral(u"A😀中")), QByteArray("A?\xD6\xD0"));
    // A lone lead byte, a byte that starts nothing, then valid text resumes.
    EXPECT_EQ(GbkToString(QByteArray("\xFF" "A\x81")), QStringLiteral(u"\uFFFDA\uFFFD"));
}

TEST(GbkText, CutNeverSplitsATwoByteCharacter)
{
    const QByteArray gbk = GbkFromString(QStringLiteral(u"AB中文"));   // 41 42 D6D0 CEC4
    const struct { qsizetype n; QByteArray expected; } cases[] = {
        {0, ""}, {2, "AB"}, {3, "AB"}, {4, "AB\xD6\xD0"}, {5, "AB\xD6\xD0"}, {6, gbk}, {40, gbk},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GbkCut(gbk, c.n), c.expected) << "n = " << c.n;
}

TEST(GbkText, FitCutsThenPadsToExactLength)
{
    EXPECT_EQ(GbkFit(u"ABC", 6, '\r'), QByteArray("ABC\r\r\r"));
    EXPECT_EQ(GbkFit(QStringLiteral(u"AB中文"), 5, '\r'), QByteArray("AB\xD6\xD0\r"));
    // 41 bytes: the 40-byte cut would fall inside the last character.
    const QString name = QStringLiteral("A") + QString(20, QChar(0x4E2D));
    const QByteArray fitted = GbkFit(name, 40, '\r');
    EXPECT_EQ(fitted, GbkFromString(name).left(39) + '\r');
}
