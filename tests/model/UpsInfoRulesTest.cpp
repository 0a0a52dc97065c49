#include "model/UpsInfoRules.h"

#include "model/TUpsInfoTable.h"
#include "support/TempEventLog.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct StateCase {
    std::uint16_t CmmState1, CmmAlarm1, CmmAlarm2, InvState1, InvState2, InvAlarm1;
    std::int32_t Expected;
};

TStatusWords Words(const StateCase &c)
{
    TStatusWords w;
    w.CmmState1 = c.CmmState1;
    w.CmmAlarm1 = c.CmmAlarm1;
    w.CmmAlarm2 = c.CmmAlarm2;
    w.InvState1 = c.InvState1;
    w.InvState2 = c.InvState2;
    w.InvAlarm1 = c.InvAlarm1;
    return w;
}

std::vector<std::int32_t> Alarms(const TUpsInfo &info)
{
    return {info.AlarmList.begin(), info.AlarmList.begin() + info.AlarmCount};
}

TUpsInfo OnlineDevice(std::uint8_t addr)
{
    TUpsInfo info;
    info.Addr = addr;
    info.LinkState = kLinkOnline;
    info.StateRead = true;
    info.AlarmsRead = true;
    return info;
}

} // namespace

TEST(DeriveState, FirstMatchingRuleGivesTheState)
{
    const StateCase cases[] = {
        // S1      A1      A2      I1      I2      IA      state
        {0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, kStateStandby},
        {0x2000, 0x0001, 0x0000, 0x0000, 0x0000, 0x0000, kStateEpo},
        {0x0000, 0x0000, 0x0000, 0x0008, 0x0000, 0xFFFF, kStateEpo},
        {0x0000, 0x0001, 0x0000, 0x2000, 0x0000, 0x0000, kStateFault},
        {0x0000, 0x0000, 0x8000, 0x0000, 0x0000, 0x0000, kStateFault},
        {0x0000, 0x0000, 0x7FFF, 0x0000, 0x0000, 0x0000, kStateStandby},
        {0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0004, kStateFault},
        {0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0373, kStateStandby},
        {0x0000, 0x0000, 0x0000, 0x2700, 0x0000, 0x0000, kStateMaintBypass},
        // inverter idle (bits 8 and 7 clear)
        {0x0000, 0x0000, 0x0000, 0x0200, 0x0000, 0x0000, kStateSoftStart},
        {0x0000, 0x0000, 0x0000, 0x0400, 0x0000, 0x0000, kStateNonOutput},
        {0x4400, 0x0000, 0x0000, 0x0600, 0x0000, 0x0000, kStateNonOutput},
        // bypass and ECO
        {0x0000, 0x0000, 0x0000, 0x0080, 0x0000, 0x0000, kStateBypass},
        {0x0000, 0x0000, 0x0000, 0x0480, 0x0800, 0x0000, kStateEco},
        {0x0000, 0x0000, 0x0000, 0x0480, 0x0000, 0x0000, kStateBypass},
        {0x0000, 0x0000, 0x0000, 0x0080, 0x0800, 0x0000, kStateBypass},
        // inverter on
        {0x0000, 0x0000, 0x0000, 0x0100, 0x0000, 0x0000, kStateStandby},
        {0x0000, 0x0000, 0x0000, 0x0380, 0x0000, 0x0000, kStateSoftStart},
        {0x4400, 0x0000, 0x0000, 0x0500, 0x0000, 0x0000, kStateStandby},
        {0x4400, 0x0000, 0x0000, 0x0700, 0x0000, 0x0000, kStateOnline},
        {0x4200, 0x0000, 0x0000, 0x0700, 0x0000, 0x0000, kStateBattSelfTest},
        {0x4000, 0x0000, 0x0000, 0x0700, 0x0000, 0x0000, kStateBattery},
        {0x0400, 0x0000, 0x0000, 0x0700, 0x0000, 0x0000, kStateNonOutput},
        {0x4400, 0x0000, 0x0000, 0x0780, 0x0000, 0x0000, kStateOnline},
    };
    for (const StateCase &c : cases)
        EXPECT_EQ(DeriveState(Words(c)), c.Expected)
            << std::hex << "S1=" << c.CmmState1 << " A1=" << c.CmmAlarm1 << " A2=" << c.CmmAlarm2
            << " I1=" << c.InvState1 << " I2=" << c.InvState2 << " IA=" << c.InvAlarm1;
}

TEST(DecodeSwitches, SwitchAndSupplyFlagsFollowTheStatusBits)
{
    struct Case {
        std::uint16_t S1, I1;
        std::uint8_t Input, Bypass, Output, Maint, InputSupply, UpsSupply;
    } const cases[] = {
        {0x0000, 0x0000, 0, 0, 0, 0, 0, 0},
        {0x8C00, 0xE000, 1, 1, 1, 1, 1, 0},
        {0x0800, 0x0100, 0, 0, 0, 0, 2, 1},
        {0x0400, 0x0080, 0, 0, 0, 0, 0, 2},
        {0x0C00, 0x0180, 0, 0, 0, 0, 1, 1},
        {0x0000, 0x4000, 0, 0, 1, 0, 0, 0},
    };
    for (const Case &c : cases) {
        TUpsInfo info;
        info.CmmState1 = c.S1;
        info.InvState1 = c.I1;
        DecodeSwitches(info);
        EXPECT_EQ(info.InputSwitch, c.Input) << std::hex << c.S1 << ' ' << c.I1;
        EXPECT_EQ(info.BypassSwitch, c.Bypass) << std::hex << c.S1 << ' ' << c.I1;
        EXPECT_EQ(info.OutputSwitch, c.Output) << std::hex << c.S1 << ' ' << c.I1;
        EXPECT_EQ(info.MaintBypassSwitch, c.Maint) << std::hex << c.S1 << ' ' << c.I1;
        EXPECT_EQ(info.InputSupply, c.InputSupply) << std::hex << c.S1 << ' ' << c.I1;
        EXPECT_EQ(info.UpsSupply, c.UpsSupply) << std::hex << c.S1 << ' ' << c.I1;
    }
}

TEST(BuildAlarmList, AllWordsSetGiveFiftyNineCodesInScanOrder)
{
    TUpsInfo info;
    info.CmmAlarm1 = info.CmmAlarm2 = info.InvAlarm1 = info.InvAlarm2 = info.SysAlarm = 0xFFFF;
    BuildAlarmList(info);

    std::vector<std::int32_t> expected;
    for (const auto &[first, last] : {std::pair{0, 15}, {16, 25}, {32, 47}, {48, 56}, {64, 71}})
        for (int code = first; code <= last; ++code)
            expected.push_back(code);
    EXPECT_EQ(expected.size(), 59u);
    EXPECT_EQ(Alarms(info), expected);
}

TEST(BuildAlarmList, UnusedLowBitsGiveNoCodeAndTheListIsReplaced)
{
    TUpsInfo info;
    info.AlarmList[0] = 99;
    info.AlarmCount = 1;
    info.CmmAlarm2 = 0x003F;
    info.InvAlarm2 = 0x007F;
    info.SysAlarm = 0x00FF;
    BuildAlarmList(info);
    EXPECT_EQ(info.AlarmCount, 0);

    info.CmmAlarm1 = 0x8001;
    info.CmmAlarm2 = 0x0040;
    info.InvAlarm1 = 0x8000;
    info.InvAlarm2 = 0x0080;
    info.SysAlarm = 0x0100;
    BuildAlarmList(info);
    EXPECT_EQ(Alarms(info), (std::vector<std::int32_t>{0, 15, 25, 32, 56, 71}));
}

TEST(CountTransmission, ReplyRateIsShareOfEarlierTransmissionsRoundedHalfToEven)
{
    TempEventLog events;
    struct Case {
        std::int32_t OkCnt, TxCnt, Rate;
    } const cases[] = {{0, 0, 0}, {1, 1, 100}, {1, 8, 12}, {3, 8, 38}, {1, 3, 33}, {2, 3, 67}, {0, 5, 0}, {9999, 9999, 100}};
    for (const Case &c : cases) {
        TUpsInfo info = OnlineDevice(1);
        info.OkCnt = c.OkCnt;
        info.TxCnt = c.TxCnt;
        CountTransmission(info, events.Log);
        EXPECT_EQ(info.OkRate, c.Rate) << c.OkCnt << '/' << c.TxCnt;
        EXPECT_EQ(info.TxCnt, c.TxCnt + 1);
        EXPECT_EQ(info.OkCnt, c.OkCnt);
    }
}

TEST(CountTransmission, AtTenThousandTheCountersRestartFromTheRate)
{
    TempEventLog events;
    TUpsInfo info = OnlineDevice(1);
    info.TxCnt = 10000;
    info.OkCnt = 8765;
    info.OkRate = 87;
    CountTransmission(info, events.Log);
    EXPECT_EQ(info.TxCnt, 100);
    EXPECT_EQ(info.OkCnt, 87);
    EXPECT_EQ(info.OkRate, 87);

    CountTransmission(info, events.Log);
    EXPECT_EQ(info.TxCnt, 101);
    EXPECT_EQ(info.OkRate, 87);
}

TEST(CountTransmission, SilentDeviceGoesToErrorThenLostLoggedOnce)
{
    TempEventLog events;
    TUpsInfo info = OnlineDevice(9);
    info.CmmState1 = 0xABCD;
    const std::uint8_t expectedLinkState[] = {0, 0, 0, 1, 1, 1, 1, 1, 1, 2};
    for (std::uint8_t expected : expectedLinkState) {
        CountTransmission(info, events.Log);
        EXPECT_EQ(info.LinkState, expected) << "after " << info.NoReplyCnt << " transmissions";
    }
    for (int i = 0; i < 200; ++i)
        CountTransmission(info, events.Log);
    EXPECT_EQ(info.NoReplyCnt, 100);
    EXPECT_EQ(info.LinkState, kLinkLost);

    const auto logged = events.Events();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].Addr, 9);
    EXPECT_EQ(logged[0].Kind, kEventKindEvent);
    EXPECT_EQ(logged[0].Code, kEventCommLost);
    EXPECT_EQ(logged[0].Flag, kFlagNone);
    EXPECT_EQ(logged[0].StatusWords[0], 0xCD);
    EXPECT_EQ(logged[0].StatusWords[1], 0xAB);
}

TEST(NoteValidReply, LinkUpLoggedOnlyWhenTheLinkWasLost)
{
    TempEventLog events;
    TUpsInfoTable table;
    TUpsInfo &info = table[4];
    info.NoReplyCnt = 7;

    NoteValidReply(info, events.Log); // lost since start-up
    EXPECT_EQ(info.LinkState, kLinkOnline);
    EXPECT_EQ(info.NoReplyCnt, 0);
    EXPECT_EQ(info.OkCnt, 1);
    NoteValidReply(info, events.Log);
    info.LinkState = kLinkError;
    NoteValidReply(info, events.Log);
    EXPECT_EQ(info.LinkState, kLinkOnline);
    EXPECT_EQ(info.OkCnt, 3);

    TUpsInfo &broadcast = table[0];
    NoteValidReply(broadcast, events.Log);
    EXPECT_EQ(broadcast.LinkState, kLinkLost);
    EXPECT_EQ(broadcast.OkCnt, 1);

    const auto logged = events.Events();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].Addr, 4);
    EXPECT_EQ(logged[0].Code, kEventCommUpbuilt);
    EXPECT_EQ(logged[0].Time, events.Now);
}

TEST(CountReceive, StopsAtTenThousand)
{
    TUpsInfo info;
    info.RxCnt = 9999;
    CountReceive(info);
    CountReceive(info);
    EXPECT_EQ(info.RxCnt, 10000);
}

TEST(CheckStateChange, LogsEachNewStateOnce)
{
    TempEventLog events;
    TUpsInfoTable table;
    for (int addr : {0, 3}) {
        TUpsInfo &info = table[addr];
        info.StateRead = true;
        for (std::int32_t state : {kStateStandby, kStateStandby, kStateOnline}) {
            info.State = state;
            CheckStateChange(info, events.Log);
        }
        EXPECT_EQ(info.PrevState, addr == 0 ? -1 : kStateOnline);
    }
    const auto logged = events.Events();
    ASSERT_EQ(logged.size(), 2u);
    for (const TEventRec &rec : logged) {
        EXPECT_EQ(rec.Addr, 3);
        EXPECT_EQ(rec.Kind, kEventKindState);
        EXPECT_EQ(rec.Flag, kFlagNone);
    }
    EXPECT_EQ(logged[0].Code, kStateStandby);
    EXPECT_EQ(logged[1].Code, kStateOnline);

    // Neither the unknown state nor one derived before the words were read
    // is an event, and neither becomes the state to compare with.
    TUpsInfo &unread = table[4];
    unread.State = kStateBypass;
    CheckStateChange(unread, events.Log);
    unread.StateRead = true;
    unread.State = kStateUnknown;
    CheckStateChange(unread, events.Log);
    EXPECT_EQ(events.Events().size(), 2u);
    EXPECT_EQ(unread.PrevState, -1);
}

TEST(CompareAlarms, NewCodesOccurThenVanishedCodesClear)
{
    TempEventLog events;
    TUpsInfo info = OnlineDevice(6);
    info.PrevAlarmList[0] = 3;
    info.PrevAlarmList[1] = 40;
    info.PrevAlarmCount = 2;
    info.AlarmList[0] = 40;
    info.AlarmList[1] = 17;
    info.AlarmCount = 2;
    CompareAlarms(info, events.Log);

    const auto logged = events.Events();
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0].Code, 17);
    EXPECT_EQ(logged[0].Flag, kAlarmOccurred);
    EXPECT_EQ(logged[1].Code, 3);
    EXPECT_EQ(logged[1].Flag, kAlarmCleared);
    for (const TEventRec &rec : logged) {
        EXPECT_EQ(rec.Kind, kEventKindAlarm);
        EXPECT_EQ(rec.Addr, 6);
        EXPECT_EQ(rec.Time, events.Now);
    }
    EXPECT_EQ(info.PrevAlarmCount, 2);
    EXPECT_EQ(info.PrevAlarmList[1], 17);

    // Unchanged list: nothing new. A code listed twice before is present
    // while it is listed once now.
    CompareAlarms(info, events.Log);
    info.PrevAlarmList[2] = 40;
    info.PrevAlarmCount = 3;
    info.AlarmCount = 1;
    CompareAlarms(info, events.Log);
    const auto later = events.Events();
    ASSERT_EQ(later.size(), 3u);
    EXPECT_EQ(later[2].Code, 17);
    EXPECT_EQ(later[2].Flag, kAlarmCleared);
}

TEST(CompareAlarms, AddressZeroAndOversizedCountsAreSafe)
{
    TempEventLog events;
    TUpsInfo broadcast;
    broadcast.AlarmsRead = true;
    broadcast.AlarmList[0] = 5;
    broadcast.AlarmCount = 1;
    CompareAlarms(broadcast, events.Log);
    EXPECT_EQ(broadcast.PrevAlarmCount, 0);

    // A count beyond the list's size reads no further than the list.
    TUpsInfo info = OnlineDevice(2);
    for (int i = 0; i < kAlarmListSize; ++i)
        info.AlarmList[static_cast<std::size_t>(i)] = i;
    info.AlarmCount = 200;
    CompareAlarms(info, events.Log);
    EXPECT_EQ(info.PrevAlarmCount, kAlarmListSize);

    const auto logged = events.Events();
    ASSERT_EQ(logged.size(), static_cast<std::size_t>(kAlarmListSize));
    EXPECT_EQ(logged.back().Code, kAlarmListSize - 1);
}

TEST(ClearUpsInfo, ResetsLiveValuesAndKeepsHistoryAndCounters)
{
    TUpsInfo info = OnlineDevice(8);
    info.InputVolt[2] = 230;
    info.OutputFreq = 50;
    info.BattCapacity = 80;
    info.BattBackupTime = 12;
    info.ChargeCurrent = 1.5;
    info.DischargeCurrent = 2.5;
    info.CmmState1 = info.SysAlarm = 0xFFFF;
    info.UpsStateCode = 4;
    info.StatusReserved.fill(1);
    info.State = info.PrevState = kStateOnline;
    info.AlarmList.fill(9);
    info.AlarmCount = 70;
    info.PrevAlarmList[0] = 12;
    info.PrevAlarmCount = 1;
    info.InputSwitch = info.OutputSwitch = info.BypassSwitch = info.MaintBypassSwitch = 1;
    info.InputSupply = info.UpsSupply = 2;
    info.BattTestFlag = 1;
    info.Para.BattCells = 32;
    info.PosBattVolt = 270;
    info.TxCnt = 50;
    info.OkCnt = 40;

    ClearUpsInfo(info);

    EXPECT_EQ(info.State, -1);
    EXPECT_EQ(info.PrevState, 0);
    EXPECT_EQ(info.InputVolt[2], 0);
    EXPECT_EQ(info.OutputFreq, 0);
    EXPECT_EQ(info.BattCapacity, 0);
    EXPECT_EQ(info.BattBackupTime, 0);
    EXPECT_EQ(info.ChargeCurrent, 1.5);
    EXPECT_EQ(info.DischargeCurrent, 2.5);
    EXPECT_EQ(info.CmmState1, 0);
    EXPECT_EQ(info.SysAlarm, 0);
    EXPECT_EQ(info.UpsStateCode, 0);
    EXPECT_EQ(info.StatusReserved, (std::array<std::uint8_t, 5>{}));
    EXPECT_EQ(info.AlarmCount, 0);
    EXPECT_EQ(info.AlarmList[64], 0);
    EXPECT_EQ(info.AlarmList[65], 9);
    EXPECT_EQ(info.InputSwitch + info.OutputSwitch + info.BypassSwitch + info.MaintBypassSwitch, 0);
    EXPECT_EQ(info.InputSupply, 0);
    EXPECT_EQ(info.UpsSupply, 0);

    EXPECT_EQ(info.PrevAlarmCount, 1);
    EXPECT_EQ(info.PrevAlarmList[0], 12);
    EXPECT_EQ(info.BattTestFlag, 1);
    EXPECT_EQ(info.Para.BattCells, 32);
    EXPECT_EQ(info.PosBattVolt, 270);
    EXPECT_EQ(info.TxCnt, 50);
    EXPECT_EQ(info.OkCnt, 40);
    EXPECT_EQ(info.LinkState, kLinkOnline);
}

// The engine's order after a valid reply, with a Modbus-style decoder that
// derives the state and alarms from the words it holds; `wordsRead` when the
// reply carried the status and alarm words.
static void ValidReply(TUpsInfo &info, TEventLog &log, bool wordsRead)
{
    info.State = DeriveState(info);
    BuildAlarmList(info);
    if (wordsRead)
        info.StateRead = info.AlarmsRead = true;
    NoteValidReply(info, log);
    CheckStateChange(info, log);
    CompareAlarms(info, log);
}

TEST(ChangeDetection, DeviceAnsweringLogsItsStateAndAlarmsOnlyOnceItsWordsAreRead)
{
    TempEventLog events;
    TUpsInfoTable table;
    TUpsInfo &info = table[12];

    CountTransmission(info, events.Log);
    ValidReply(info, events.Log, false); // first sub-request: words still 0
    info.CmmState1 = 0x4400;
    info.InvState1 = 0x0700;
    info.InvAlarm2 = 0x0100; // code 55
    CountTransmission(info, events.Log);
    ValidReply(info, events.Log, true);

    // Lost, cleared by the tree, then back: the first reply after the
    // return carries no status words, the next shows the alarm gone.
    for (int i = 0; i < 10; ++i)
        CountTransmission(info, events.Log);
    ClearUpsInfo(info);
    ValidReply(info, events.Log, false);
    info.CmmState1 = 0x4400;
    info.InvState1 = 0x0700;
    ValidReply(info, events.Log, true);

    struct Expected {
        std::uint8_t Kind;
        std::int32_t Code;
        std::uint8_t Flag;
    } const expected[] = {
        {kEventKindEvent, kEventCommUpbuilt, kFlagNone},
        {kEventKindState, kStateOnline, kFlagNone},
        {kEventKindAlarm, 55, kAlarmOccurred},
        {kEventKindEvent, kEventCommLost, kFlagNone},
        {kEventKindEvent, kEventCommUpbuilt, kFlagNone},
        {kEventKindState, kStateOnline, kFlagNone},
        {kEventKindAlarm, 55, kAlarmCleared},
    };
    const auto logged = events.Events();
    ASSERT_EQ(logged.size(), std::size(expected));
    for (std::size_t i = 0; i < logged.size(); ++i) {
        EXPECT_EQ(logged[i].Kind, expected[i].Kind) << i;
        EXPECT_EQ(logged[i].Code, expected[i].Code) << i;
        EXPECT_EQ(logged[i].Flag, expected[i].Flag) << i;
        EXPECT_EQ(logged[i].Addr, 12) << i;
    }
}
