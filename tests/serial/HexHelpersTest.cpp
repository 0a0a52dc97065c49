#include "serial/HexHelpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

TEST(HexHelpers, HexCharValueMapsDigitsOfBothCasesAndFlagsTheRest)
{
    const struct { char c; int value; } rows[] = {
        {'0', 0}, {'9', 9}, {'A', 10}, {'F', 15}, {'a', 10}, {'f', 15},
        {'g', 16}, {'G', 16}, {' ', 16}, {'/', 16}, {':', 16}, {'@', 16}, {'\0', 16}, {char(0xC1), 16},
    };
    for (const auto &row : rows)
        EXPECT_EQ(HexCharValue(row.c), row.value) << "char " << int(row.c);
}

TEST(HexHelpers, HexToIntPadsOnTheLeftAndStopsAtTheFirstNonHexCharacter)
{
    const struct { const char *text; int width; quint32 value; } rows[] = {
        {"2G", 2, 0x2},          // the scan stops at G
        {"A", 2, 0xA},           // padded to 0A
        {"", 2, 0},
        {"7F", 2, 0x7F},
        {"7f", 2, 0x7F},
        {"1234", 2, 0x12},       // characters after the width are ignored
        {"G1", 2, 0},
        {"00C8", 4, 0xC8},
        {"FFFFFFFF", 8, 0xFFFFFFFF},
        {"12", 0, 0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(HexToInt(row.text, row.width), row.value) << row.text << " width " << row.width;
}

TEST(HexHelpers, Hex4ToWordSkipsNonHexCharacters)
{
    const struct { const char *four; quint16 value; } rows[] = {
        {"1 2F", 0x12F}, {"00C8", 0xC8}, {"ffff", 0xFFFF}, {"G00A", 0x00A}, {"    ", 0}, {"a1B2", 0xA1B2},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Hex4ToWord(row.four), row.value) << row.four;
}

TEST(HexHelpers, WordToHex4UsesTheLow16BitsInUpperCase)
{
    const struct { quint32 v; const char *text; } rows[] = {
        {0, "0000"}, {0x12F, "012F"}, {0xABCD, "ABCD"}, {0x12345, "2345"}, {0xFFFFFFFF, "FFFF"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(WordToHex4(row.v), QByteArray(row.text)) << row.v;
}

TEST(HexHelpers, BitIsSetTakesTheBitNumberModulo32)
{
    const struct { quint32 value; int bit; int set; } rows[] = {
        {0x1, 0, 1}, {0x1, 1, 0}, {0x80000000, 31, 1}, {0x1, 32, 1}, {0x4, 34, 1}, {0x4, 2, 1}, {0x0, 5, 0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(BitIsSet(row.value, row.bit), row.set) << row.value << " bit " << row.bit;
}

TEST(HexHelpers, LengthFieldCarriesTheCheckNibbleFirst)
{
    const struct { int n; const char *field; } rows[] = {
        {0, "0000"}, {18, "D012"}, {56, "5038"}, {4095, "3FFF"}, {1, "F001"}, {16, "F010"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(LengthField(row.n), QByteArray(row.field)) << row.n;
}

TEST(HexHelpers, FrameChecksumMatchesKnownFrames)
{
    const struct { const char *frame; int n; const char *checksum; } rows[] = {
        {"~31012A420000", 12, "FDA2"},
        {"~31012A420000FDA2\r", 12, "FDA2"},  // the checksum and end byte lie beyond n
        {"~11012A410000", 12, "FDA5"},
        {"~", 0, "0000"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(FrameChecksum(row.frame, row.n), QByteArray(row.checksum)) << row.frame;
}

TEST(HexHelpers, FrameChecksumIgnoresPositionsBeyondTheFrame)
{
    EXPECT_EQ(FrameChecksum("~31012A420000", 400), QByteArray("FDA2"));
    EXPECT_EQ(FrameChecksum(QByteArrayView(), 12), QByteArray("0000"));
}

TEST(HexHelpers, FrameChecksumSumsBytesAsUnsigned)
{
    const QByteArray frame("~\xFF\x80", 3);
    EXPECT_EQ(FrameChecksum(frame, 2), WordToHex4(0x10000 - 0x17F));
}

TEST(HexHelpers, HexTextToBytesCleansItsInputFirst)
{
    const struct { const char *text; QByteArray bytes; } rows[] = {
        {"01 04 75 30", QByteArray("\x01\x04\x75\x30", 4)},
        {"01047530", QByteArray("\x01\x04\x75\x30", 4)},
        {"ABC", QByteArray("\xAB", 1)},
        {"ab-cd", QByteArray("\xAB\xCD", 2)},
        {"0g1", QByteArray("\x01", 1)},
        {"xyz", QByteArray()},
        {"", QByteArray()},
    };
    for (const auto &row : rows)
        EXPECT_EQ(HexTextToBytes(row.text), row.bytes) << row.text;
}

TEST(HexHelpers, CleanHexTextKeepsOnlyUpperCaseHexDigits)
{
    EXPECT_EQ(CleanHexText("0x1f, Gz a9\r\n"), QByteArray("01FA9"));
}

TEST(HexHelpers, BytesToHexTextPutsTheSeparatorAfterEveryByte)
{
    EXPECT_EQ(BytesToHexText(QByteArray("\x01\x04\x75", 3), u" "), QStringLiteral("01 04 75 "));
    EXPECT_EQ(BytesToHexText(QByteArray("\xAB\x00", 2), u""), QStringLiteral("AB00"));
    EXPECT_EQ(BytesToHexText(QByteArray(), u" "), QString());
}

TEST(HexHelpers, Int16ToTextReadsTheLow16BitsAsSigned)
{
    const struct { int v; const char *text; } rows[] = {
        {0, "0"}, {123, "123"}, {0xFFFF, "-1"}, {0x8000, "-32768"}, {0x7FFF, "32767"}, {0x10005, "5"}, {-2, "-2"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Int16ToText(row.v), QString::fromLatin1(row.text)) << row.v;
}

TEST(HexHelpers, HexToSingleReadsTheLeastSignificantByteFirst)
{
    const struct { const char *eight; double value; } rows[] = {
        {"0000C843", 400.0}, {"0000803F", 1.0}, {"000080bf", -1.0}, {"00000000", 0.0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(HexToSingle(row.eight), row.value) << row.eight;
    // Each pair is read on its own, so a stray character spoils one byte only.
    EXPECT_EQ(HexToSingle("0000C84G"), double(std::bit_cast<float>(quint32(0x04C80000))));
    EXPECT_TRUE(std::isnan(HexToSingle("0000C07F")));
    EXPECT_EQ(HexToSingle("0000807F"), std::numeric_limits<double>::infinity());
}

TEST(HexHelpers, IntToZeroPaddedPadsThenKeepsTheLastDigits)
{
    const struct { qint64 v; int width; const char *text; } rows[] = {
        {7, 3, "007"}, {1234, 3, "234"}, {2024, 4, "2024"}, {3, 2, "03"}, {12, 2, "12"}, {0, 1, "0"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(IntToZeroPadded(row.v, row.width), QString::fromLatin1(row.text)) << row.v << " w " << row.width;
}
