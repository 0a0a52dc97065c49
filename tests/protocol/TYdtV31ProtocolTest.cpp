#include "protocol/TYdtV31Protocol.h"

#include "model/UpsInfoRules.h"
#include "support/AsciiProtocolFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

enum : std::uint8_t { Voltages = 1, Status = 2, Alarms = 3, LoadsAndCurrents = 4, Battery = 5 };

using YdtFixture = AsciiProtocolFixture<TYdtV31Protocol>;

TEST(TYdtV31ProtocolTest, VoltagesAndFrequencyInHundredths)
{
    YdtFixture f;
    ASSERT_TRUE(f.Answer(Voltages, AsciiInfo(46, {{15, "55F0"}, {19, "5A69"}, {23, "0001"},
                                                  {27, "5622"}, {31, "FFFF"}, {35, "0000"},
                                                  {51, "A8C0"}, {55, "1387"}})));
    EXPECT_DOUBLE_EQ(f.Rec.InputVolt[0], 220.00);
    EXPECT_DOUBLE_EQ(f.Rec.InputVolt[1], 231.45);
    EXPECT_DOUBLE_EQ(f.Rec.InputVolt[2], 0.01);
    EXPECT_DOUBLE_EQ(f.Rec.OutputVolt[0], 220.50);
    EXPECT_DOUBLE_EQ(f.Rec.OutputVolt[1], 655.35); // unsigned
    EXPECT_DOUBLE_EQ(f.Rec.OutputVolt[2], 0);
    EXPECT_DOUBLE_EQ(f.Rec.DcVolt, 432.00);
    EXPECT_DOUBLE_EQ(f.Rec.OutputFreq, 49.99);
}

TEST(TYdtV31ProtocolTest, StatusWordsDeriveStateWithTheLastAlarmWords)
{
    YdtFixture f;
    const QByteArray online = AsciiInfo(22, {{19, "04"}, {21, "CC00"}, {25, "C700"}, {29, "0800"}, {33, "3C"}});
    // No alarm reply yet: the alarm words are still 0.
    ASSERT_TRUE(f.Answer(Status, online));
    EXPECT_EQ(f.Rec.State, kStateOnline);
    EXPECT_EQ(f.Rec.UpsStateCode, 4);
    EXPECT_EQ(f.Rec.CmmState1, 0xCC00);
    EXPECT_EQ(f.Rec.InvState1, 0xC700);
    EXPECT_EQ(f.Rec.InvState2, 0x0800);
    EXPECT_EQ(f.Rec.SysState, 0x3C);
    EXPECT_EQ(f.Rec.InputSwitch, 1);
    EXPECT_EQ(f.Rec.OutputSwitch, 1);
    EXPECT_EQ(f.Rec.InputSupply, 1);
    EXPECT_EQ(f.Rec.UpsSupply, 1);

    ASSERT_TRUE(f.Answer(Alarms, AsciiInfo(38, {{33, "0100"}})));
    EXPECT_EQ(f.Rec.State, kStateOnline) << "the alarm reply derives no state";
    ASSERT_TRUE(f.Answer(Status, online));
    EXPECT_EQ(f.Rec.State, kStateFault);
}

TEST(TYdtV31ProtocolTest, AlarmWordsBecomeTheAlarmList)
{
    YdtFixture f;
    ASSERT_TRUE(f.Answer(Alarms, AsciiInfo(38, {{33, "8001"}, {37, "8040"}, {41, "0001"},
                                                {45, "0080"}, {49, "FF"}})));
    EXPECT_EQ(f.Rec.CmmAlarm1, 0x8001);
    EXPECT_EQ(f.Rec.CmmAlarm2, 0x8040);
    EXPECT_EQ(f.Rec.InvAlarm1, 0x0001);
    EXPECT_EQ(f.Rec.InvAlarm2, 0x0080);
    EXPECT_EQ(f.Rec.SysAlarm, 0xFF); // two characters: the bits that give codes stay clear
    EXPECT_EQ(AlarmCodes(f.Rec), (std::vector<std::int32_t>{0, 15, 16, 25, 47, 56}));

    ASSERT_TRUE(f.Answer(Alarms, AsciiInfo(38, {})));
    EXPECT_EQ(f.Rec.AlarmCount, 0);
}

TEST(TYdtV31ProtocolTest, LoadsCurrentSumsBackupTimeAndCapacity)
{
    YdtFixture f;
    ASSERT_TRUE(f.Answer(LoadsAndCurrents,
                         AsciiInfo(146, {{95, "0029"}, {99, "0064"}, {103, "0000"}, {143, "0096"},
                                         {147, "00C8"}, {151, "07E9"}, {155, "0001"}})));
    EXPECT_EQ(f.Rec.LoadPercent[0], 41);
    EXPECT_EQ(f.Rec.LoadPercent[1], 100);
    EXPECT_DOUBLE_EQ(f.Rec.PosChargeCurrent, 1.5);
    EXPECT_DOUBLE_EQ(f.Rec.NegChargeCurrent, 2.0);
    EXPECT_DOUBLE_EQ(f.Rec.ChargeCurrent, 3.5);
    EXPECT_DOUBLE_EQ(f.Rec.DischargeCurrent, 20.26);

    ASSERT_TRUE(f.Answer(Battery, AsciiInfo(30, {{35, "004B"}, {39, "0058"}})));
    EXPECT_EQ(f.Rec.BattBackupTime, 75);
    ASSERT_TRUE(f.Answer(Battery, AsciiInfo(30, {{35, "9C40"}, {39, "0058"}})));
    EXPECT_EQ(f.Rec.BattBackupTime, 32767) << "40000 min does not wrap negative";
    EXPECT_EQ(f.Rec.BattCapacity, 88);
}

TEST(TYdtV31ProtocolTest, FieldsBeyondAShortInfoKeepTheirValues)
{
    YdtFixture f;
    f.Rec.InputVolt[1] = 1;
    f.Rec.DcVolt = 2;
    f.Rec.BattCapacity = 3;
    f.Rec.InvState1 = 0xC080; // bypass
    // INFO ends after the first voltage; then after the first two status fields.
    ASSERT_TRUE(f.Answer(Voltages, AsciiInfo(6, {{15, "55F0"}})));
    EXPECT_DOUBLE_EQ(f.Rec.InputVolt[0], 220.0);
    EXPECT_EQ(f.Rec.InputVolt[1], 1);
    EXPECT_EQ(f.Rec.DcVolt, 2);
    ASSERT_TRUE(f.Answer(Battery, AsciiInfo(26, {{35, "004B"}})));
    EXPECT_EQ(f.Rec.BattBackupTime, 75);
    EXPECT_EQ(f.Rec.BattCapacity, 3);
    ASSERT_TRUE(f.Answer(Status, AsciiInfo(12, {{19, "03"}, {21, "CC00"}})));
    EXPECT_EQ(f.Rec.CmmState1, 0xCC00);
    EXPECT_EQ(f.Rec.InvState1, 0xC080);
    EXPECT_EQ(f.Rec.State, kStateBypass);
}

TEST(TYdtV31ProtocolTest, ALateReplyIsNotTakenForTheAnswerToTheNextCommand)
{
    YdtFixture f;
    // 220.00 V on every phase: read as a status reply, CmmState1 would be
    // 0xF055, which derives EPO.
    const QByteArray voltages = AsciiInfo(46, {{15, "55F055F055F055F055F055F0"}});
    const QByteArray online = AsciiInfo(22, {{19, "04"}, {21, "CC00"}, {25, "C700"}});
    const QByteArray alarms = AsciiInfo(38, {{33, "0100"}});
    ASSERT_TRUE(f.Answer(Voltages, voltages));
    ASSERT_TRUE(f.Answer(Status, online));
    ASSERT_TRUE(f.Answer(Alarms, AsciiInfo(38, {})));
    ASSERT_EQ(f.Rec.State, kStateOnline);

    // The unit answers each command after the next one has gone out.
    EXPECT_FALSE(f.Answer(Status, voltages));
    EXPECT_FALSE(f.Answer(Alarms, online));
    EXPECT_EQ(f.Debug.StrayReplyCnt, 2);
    EXPECT_EQ(f.Debug.AckOkCnt, 5) << "sound frames, of other commands";
    EXPECT_EQ(f.Rec.CmmState1, 0xCC00);
    EXPECT_EQ(f.Rec.State, kStateOnline);
    EXPECT_EQ(f.Rec.AlarmCount, 0);
    EXPECT_EQ(f.Protocol.RequestKind(), Alarms) << "the command asked still waits for its reply";

    // Its own reply, even of a length not seen before, is taken.
    ASSERT_TRUE(f.Answer(Alarms, AsciiInfo(40, {{33, "0100"}})));
    EXPECT_EQ(f.Rec.AlarmCount, 1);
    ASSERT_TRUE(f.Answer(Alarms, alarms));
}

TEST(TYdtV31ProtocolTest, AnotherUnitAtTheAddressIsLearntAfreshOnceTheLinkIsLost)
{
    YdtFixture f;
    ASSERT_TRUE(f.Answer(Voltages, AsciiInfo(46, {})));
    ASSERT_TRUE(f.Answer(Status, AsciiInfo(22, {})));
    EXPECT_FALSE(f.Answer(Voltages, AsciiInfo(22, {})));
    // The unit went away; the one now at its address answers the voltage
    // command with the length the first gave its status. Only the voltage
    // command is asked of a lost unit: the same length again and again is
    // that command's own.
    f.Rec.LinkState = kLinkLost;
    std::vector<bool> taken;
    for (int i = 0; i < TAsciiReplyLengths::kRepeatsToRelearn; ++i)
        taken.push_back(f.Answer(Voltages, AsciiInfo(22, {{15, "55F0"}})));
    EXPECT_EQ(taken, (std::vector<bool>{false, false, true}));
    EXPECT_DOUBLE_EQ(f.Rec.InputVolt[0], 220.0);
}

} // namespace
