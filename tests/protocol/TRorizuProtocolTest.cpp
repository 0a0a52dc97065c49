#include "protocol/TRorizuProtocol.h"

#include "model/UpsInfoRules.h"
#include "support/AsciiProtocolFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

enum : std::uint8_t { Voltages = 1, Status = 2, Alarms = 3, Loads = 4, BackupTime = 5 };

// INFO lengths that reach the last position each reply is read at.
constexpr int kVoltagesInfo = 90;
constexpr int kStatusInfo = 24;
constexpr int kAlarmsInfo = 130;
constexpr int kLoadsInfo = 124;
constexpr int kBackupInfo = 108;

// A device past its first four valid replies.
struct RorizuFixture : AsciiProtocolFixture<TRorizuProtocol> {
    RorizuFixture() { Rec.OkCnt = TRorizuProtocol::kMinOkCntForItems; }
};

TEST(TRorizuProtocolTest, VoltagesAreSinglesAndInputLineVoltagesBecomePhaseVoltages)
{
    RorizuFixture f;
    ASSERT_TRUE(f.Answer(Voltages, AsciiInfo(kVoltagesInfo, {{15, "0000BE43"}, {31, "0000C843"},
                                                             {39, "00805D43"}, {55, "0000BE43"},
                                                             {87, "0000D843"}, {95, "00004A42"}})));
    EXPECT_NEAR(f.Rec.InputVolt[0], 219.393, 0.001); // 380.0 / √3
    EXPECT_EQ(f.Rec.InputVolt[1], 0);
    EXPECT_NEAR(f.Rec.InputVolt[2], 230.940, 0.001); // 400.0 / √3
    EXPECT_EQ(f.Rec.OutputVolt[0], 221.5);
    EXPECT_EQ(f.Rec.OutputVolt[2], 380.0);
    EXPECT_EQ(f.Rec.DcVolt, 432.0);
    EXPECT_EQ(f.Rec.OutputFreq, 50.5);
}

TEST(TRorizuProtocolTest, LoadsAndBackupTimeRoundedHalfToEven)
{
    RorizuFixture f;
    ASSERT_TRUE(f.Answer(Loads, AsciiInfo(kLoadsInfo, {{113, "00001442"}, {129, "00004A42"}})));
    EXPECT_EQ(f.Rec.LoadPercent[0], 37.0);
    EXPECT_EQ(f.Rec.LoadPercent[1], 0.0);
    EXPECT_EQ(f.Rec.LoadPercent[2], 50.5);

    const struct {
        const char *single;
        std::int16_t expected;
    } cases[] = {
        {"00002040", 2},      // 2.5
        {"00006040", 4},      // 3.5
        {"00001442", 37},
        {"286B6E4E", 32767},  // 1e9: kept within the field
        {"286B6ECE", -32768}, // -1e9
        {"0000C07F", -32768}, // NaN: the field keeps its value
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(f.Answer(BackupTime, AsciiInfo(kBackupInfo, {{113, c.single}})));
        EXPECT_EQ(f.Rec.BattBackupTime, c.expected) << c.single;
    }
}

struct StatusCase {
    const char *upsSupply, *battTest, *inputSupply, *maintBypass;
    std::int32_t state;
};

TEST(TRorizuProtocolTest, SupplyItemsGiveTheState)
{
    const StatusCase cases[] = {
        {"01", "E1", "E0", "E0", kStateOnline},
        {"01", "E1", "E1", "E0", kStateBattery},
        {"01", "E0", "E1", "E0", kStateBattSelfTest},
        {"01", "E0", "E0", "E0", kStateOnline},
        {"01", "E1", "E3", "E0", kStateStandby},
        {"02", "E1", "E0", "E0", kStateBypass},
        {"E9", "E1", "E0", "E0", kStateStandby},
        {"01", "E1", "E0", "E1", kStateMaintBypass},
    };
    for (const StatusCase &c : cases) {
        RorizuFixture f;
        ASSERT_TRUE(f.Answer(Status, AsciiInfo(kStatusInfo, {{15, c.upsSupply}, {19, c.battTest},
                                                             {25, c.inputSupply}, {29, "E1"},
                                                             {31, c.maintBypass}, {33, "E0"},
                                                             {35, "E1"}})));
        EXPECT_EQ(f.Rec.State, c.state) << c.upsSupply << c.battTest << c.inputSupply << c.maintBypass;
        EXPECT_EQ(f.Rec.InputSwitch, 1);
        EXPECT_EQ(f.Rec.BypassSwitch, 0);
        EXPECT_EQ(f.Rec.OutputSwitch, 1);
    }
}

TEST(TRorizuProtocolTest, UnknownStatusTextsLeaveTheirFields)
{
    RorizuFixture f;
    f.Rec.UpsSupply = 2;
    f.Rec.InputSupply = 1;
    f.Rec.InputSwitch = 1;
    f.Rec.OutputSwitch = 1;
    f.Rec.BattTestFlag = 1;
    // Lower-case texts are other texts; only the battery test item knows "anything else".
    ASSERT_TRUE(f.Answer(Status, AsciiInfo(kStatusInfo, {{15, "e9"}, {19, "e0"}, {25, "E2"},
                                                         {29, "XX"}, {35, "e0"}})));
    EXPECT_EQ(f.Rec.UpsSupply, 2);
    EXPECT_EQ(f.Rec.InputSupply, 1);
    EXPECT_EQ(f.Rec.InputSwitch, 1);
    EXPECT_EQ(f.Rec.OutputSwitch, 1);
    EXPECT_EQ(f.Rec.BattTestFlag, 0);
    EXPECT_EQ(f.Rec.State, kStateBypass);

    // A reply that ends early leaves the items it does not carry.
    ASSERT_TRUE(f.Answer(Status, AsciiInfo(14, {{15, "01"}, {25, "E1"}})));
    EXPECT_EQ(f.Rec.UpsSupply, 1);
    EXPECT_EQ(f.Rec.InputSupply, 2);
    EXPECT_EQ(f.Rec.InputSwitch, 1);
    EXPECT_EQ(f.Rec.State, kStateBattery);
}

TEST(TRorizuProtocolTest, StatusAndAlarmsAreTakenFromTheFifthValidReplyOn)
{
    RorizuFixture f;
    f.Rec.OkCnt = TRorizuProtocol::kMinOkCntForItems - 1;
    const QByteArray online = AsciiInfo(kStatusInfo, {{15, "01"}, {19, "E1"}, {25, "E0"}, {29, "E1"}});
    const QByteArray alarm = AsciiInfo(kAlarmsInfo, {{15, "01"}, {127, "E0"}});
    ASSERT_TRUE(f.Answer(Status, online));
    ASSERT_TRUE(f.Answer(Alarms, alarm));
    EXPECT_EQ(f.Rec.State, kStateUnknown);
    EXPECT_EQ(f.Rec.UpsSupply, 0);
    EXPECT_EQ(f.Rec.InputSwitch, 0);
    EXPECT_EQ(f.Rec.AlarmCount, 0);

    f.Rec.OkCnt = TRorizuProtocol::kMinOkCntForItems;
    ASSERT_TRUE(f.Answer(Status, online));
    ASSERT_TRUE(f.Answer(Alarms, alarm));
    EXPECT_EQ(f.Rec.State, kStateOnline);
    EXPECT_EQ(f.Rec.InputSwitch, 1);
    EXPECT_EQ(AlarmCodes(f.Rec), (std::vector<std::int32_t>{201}));
}

TEST(TRorizuProtocolTest, AlarmItemsGiveCodesMainGroupFirst)
{
    const struct {
        const char *name;
        std::vector<std::pair<int, QByteArray>> items;
        std::vector<std::int32_t> expected;
    } cases[] = {
        {"all items 0: the battery breaker is not connected", {}, {148}},
        {"breaker connected", {{127, "E0"}}, {}},
        {"breaker broken", {{127, "F1"}}, {160}},
        {"item 35 at 01 is no alarm", {{101, "01"}, {127, "E0"}}, {}},
        {"item 35 at F1", {{101, "F1"}, {127, "E0"}}, {135}},
        {"first and last main items, any non-zero value",
         {{31, "01"}, {141, "FF"}, {127, "E0"}}, {100, 155}},
        {"second group after the main group",
         {{15, "01"}, {23, "7F"}, {31, "01"}, {127, "E0"}}, {100, 201, 205}},
        {"item at 27 is not used", {{27, "01"}, {127, "E0"}}, {}},
        {"battery item 01", {{25, "01"}, {127, "E0"}}, {206}},
        {"battery item 02", {{25, "02"}, {127, "E0"}}, {207}},
        {"battery item F0", {{25, "F0"}, {127, "E0"}}, {208}},
        {"battery item E1", {{25, "E1"}, {127, "E0"}}, {209}},
        {"battery item 03", {{25, "03"}, {127, "E0"}}, {210}},
        {"battery item 80", {{25, "80"}, {127, "E0"}}, {210}},
    };
    for (const auto &c : cases) {
        RorizuFixture f;
        ASSERT_TRUE(f.Answer(Alarms, AsciiInfo(kAlarmsInfo, c.items)));
        EXPECT_EQ(AlarmCodes(f.Rec), c.expected) << c.name;
    }

    RorizuFixture every;
    QByteArray all(kAlarmsInfo, '0');
    for (int pos = 15; pos <= 141; pos += 2)
        all.replace(pos - 13, 2, "F1");
    ASSERT_TRUE(every.Answer(Alarms, all));
    EXPECT_EQ(every.Rec.AlarmCount, 56 + 6) << "items 35 and 48 give one code each";
}

TEST(TRorizuProtocolTest, AnAlarmReplyWithoutAllItemsIsRejectedAndCounted)
{
    RorizuFixture f;
    ASSERT_TRUE(f.Answer(Alarms, AsciiInfo(kAlarmsInfo, {{31, "01"}, {127, "E0"}})));
    ASSERT_EQ(AlarmCodes(f.Rec), (std::vector<std::int32_t>{100}));
    EXPECT_FALSE(f.Answer(Alarms, AsciiInfo(kAlarmsInfo - 1, {{127, "E0"}})));
    EXPECT_EQ(AlarmCodes(f.Rec), (std::vector<std::int32_t>{100}));
    EXPECT_EQ(f.Debug.StrayReplyCnt, 1);
}

TEST(TRorizuProtocolTest, ALateAlarmReplyIsNotReadAsTheLoads)
{
    RorizuFixture f;
    // Read as the loads, these alarm items give a load of about -2.4e30 %.
    const QByteArray alarms = AsciiInfo(kAlarmsInfo, {{101, "F1F1F1F1F1F1F1F1F1F1F1F1F1F1"}, {127, "E0"}});
    ASSERT_TRUE(f.Answer(Alarms, alarms));
    ASSERT_TRUE(f.Answer(Loads, AsciiInfo(kLoadsInfo, {{113, "00001442"}})));
    ASSERT_EQ(f.Rec.LoadPercent[0], 37.0);

    EXPECT_FALSE(f.Answer(Loads, alarms));
    EXPECT_EQ(f.Debug.StrayReplyCnt, 1);
    EXPECT_EQ(f.Rec.LoadPercent[0], 37.0);
}

} // namespace
