#include "protocol/ModbusCrc.h"

#include <gtest/gtest.h>

namespace {

struct CrcCase
{
    const char *name;
    QByteArray bytes;
    quint16 crc;
};

void PrintTo(const CrcCase &c, std::ostream *os)
{
    *os << c.name;
}

QByteArray Hex(const char *text)
{
    return QByteArray::fromHex(text);
}

class ModbusCrcTable : public ::testing::TestWithParam<CrcCase>
{
};

TEST_P(ModbusCrcTable, MatchesKnownValue)
{
    EXPECT_EQ(ModbusCrc(GetParam().bytes), GetParam().crc);
}

INSTANTIATE_TEST_SUITE_P(
    KnownVectors, ModbusCrcTable,
    ::testing::Values(
        CrcCase{"CheckString", QByteArray("123456789"), 0x4B37},
        CrcCase{"Empty", QByteArray(), 0xFFFF},
        CrcCase{"FirstPollOfDevice1", Hex("01047530000E"), 0xCD6B},
        CrcCase{"BatteryTest60ToDevice1", Hex("01064E22003C"), 0xF93E},
        CrcCase{"ReadHoldingSlave17", Hex("1103006B0003"), 0x8776},
        CrcCase{"ReadOneHoldingRegister", Hex("010300000001"), 0x0A84}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ModbusCrc, AppendPutsLowByteFirst)
{
    QByteArray frame = Hex("01047530000E");
    AppendModbusCrc(frame);
    EXPECT_EQ(frame, Hex("01047530000E6BCD"));
    EXPECT_TRUE(ModbusCrcMatches(frame));
}

TEST(ModbusCrc, DamagedOrTooShortFramesDoNotMatch)
{
    QByteArray damaged = Hex("01064E22003C3EF9");
    ASSERT_TRUE(ModbusCrcMatches(damaged));
    damaged[5] = 0x3D;
    EXPECT_FALSE(ModbusCrcMatches(damaged));
    EXPECT_FALSE(ModbusCrcMatches(QByteArray()));
    EXPECT_FALSE(ModbusCrcMatches(Hex("FF")));
}

} // namespace
