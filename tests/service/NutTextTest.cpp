#include "service/NutText.h"

#include <gtest/gtest.h>

TEST(NutText, SplitsWordsAsTheProtocolQuotesThem)
{
    const struct {
        QByteArray line;
        std::optional<QByteArrayList> words;
    } cases[] = {
        {"GET VAR ups1 ups.status", QByteArrayList{"GET", "VAR", "ups1", "ups.status"}},
        {"  LIST \t UPS\r", QByteArrayList{"LIST", "UPS"}},
        {"PASSWORD \"two words\"", QByteArrayList{"PASSWORD", "two words"}},
        {"SET VAR ups1 ups.id \"say \\\"hi\\\" \\\\o/\"", QByteArrayList{"SET", "VAR", "ups1", "ups.id", "say \"hi\" \\o/"}},
        {"USERNAME a\\ b", QByteArrayList{"USERNAME", "a b"}},
        {"PASSWORD \"\"", QByteArrayList{"PASSWORD", ""}},
        {"PASSWORD pa#ss", QByteArrayList{"PASSWORD", "pa#ss"}}, // no comments on the network
        {"", QByteArrayList{}},
        {QByteArray("BIN\0\xff", 5), QByteArrayList{QByteArray("BIN\0\xff", 5)}},
        {"GET VAR \"ups1", std::nullopt},
        {"GET VAR ups1\\", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NutText::SplitLine(c.line), c.words) << c.line.toStdString();
}

TEST(NutText, CommentsOnlyWhereAsked)
{
    EXPECT_EQ(NutText::SplitLine("password = \"a#b\" # the rest", true), (QByteArrayList{"password", "=", "a#b"}));
    EXPECT_EQ(NutText::SplitLine("# a whole line", true), QByteArrayList{});
}

TEST(NutText, QuotedValuesCannotEndTheReplyLine)
{
    EXPECT_EQ(NutText::Quote("OL CHRG"), "\"OL CHRG\"");
    EXPECT_EQ(NutText::Quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(NutText::Quote("line\nbreak\r\x01"), "\"line break  \"");
    EXPECT_EQ(NutText::QuoteText(QStringLiteral("东区")), "\"\xe4\xb8\x9c\xe5\x8c\xba\"");
    // Whatever goes in comes back out of the splitter unchanged.
    const QByteArray value = "quote \" and backslash \\ and blanks";
    EXPECT_EQ(NutText::SplitLine("VAR " + NutText::Quote(value)), (QByteArrayList{"VAR", value}));
}
