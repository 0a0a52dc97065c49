// The engine, the real serial component and the bus simulator on a real
// pseudo-terminal, polling at the pace of the bus.
#include "protocol/TPollEngine.h"

#include "model/UpsInfoRules.h"
#include "support/EngineOnSim.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

using Event = LoggedEvent;

TEST(ModbusBusEndToEndTest, UnitsComeOnlineAreLoggedAndTakeABatteryTest)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "modbus", "--units", "1,3,7", "--steady",
                           "--set", "3:alarm=9", "--set", "7:state=bypass"}))
        << sim.ErrorText().toStdString();

    EngineOnSim bus(sim.PortPath(), 2);
    bus.Settings.PortInfo.PollMode = 1;
    bus.AddDevices({1, 3, 7, 5}); // 5 is not on the bus
    bus.Settings.RecInterval = 10; // every second
    TPollEngine &poll = bus.Poll;
    const TEventLog &eventLog = bus.EventLog;
    const TDataLog &dataLog = bus.DataLog;
    const TDateTime start = bus.Start;

    poll.Start();
    ASSERT_TRUE(poll.PortOpened());

    ASSERT_TRUE(WaitUntil([&] { return bus.UpsInfo[1].State == kStateOnline; }, 30000));
    bus.CmdQueue.ControlValue = 60;
    bus.CmdQueue.Queue(1, 1, 6, 20003, 1);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return bus.UpsInfo[1].State == kStateBattSelfTest && bus.UpsInfo[3].AlarmCount > 0 &&
                   bus.UpsInfo[7].State == kStateBypass;
        },
        60000));
    // At the pace of the bus all this takes less than a data log interval:
    // let one more run see every unit online.
    const auto lastRun = [&] {
        std::map<TDateTime, std::vector<int>> runs;
        for (const TDataRec &rec : TDataLog::ReadDataFile(dataLog.MonthFilePath(start)))
            runs[rec.Time].push_back(rec.Addr);
        return runs.empty() ? std::vector<int>{} : runs.rbegin()->second;
    };
    ASSERT_TRUE(WaitUntil([&] { return lastRun().size() == 3; }, 10000));
    poll.Shutdown();

    auto events = EventsByAddress(eventLog);
    EXPECT_EQ(events[0], (std::vector<Event>{{0, 20, 255}, {0, 21, 255}}));
    // Each unit: link up, then its real state and alarms once its status
    // words are read (nothing from the words still 0 after its first block).
    EXPECT_EQ(events[3], (std::vector<Event>{{0, 22, 255}, {1, kStateFault, 255}, {2, 9, 1}}));
    EXPECT_EQ(events[7], (std::vector<Event>{{0, 22, 255}, {1, kStateBypass, 255}}));
    EXPECT_EQ(events[1], (std::vector<Event>{{0, 22, 255}, {1, kStateOnline, 255}, {1, kStateBattSelfTest, 255}}));
    // A unit that never answered is lost from the start: nothing to log.
    EXPECT_TRUE(events[5].empty());
    EXPECT_EQ(bus.UpsInfo[5].LinkState, kLinkLost);
    EXPECT_EQ(bus.UpsInfo[3].Para.VoltLevel, 220);

    // One record per online unit and run, in list order.
    const auto records = TDataLog::ReadDataFile(dataLog.MonthFilePath(start));
    std::map<TDateTime, std::vector<int>> runs;
    for (const TDataRec &rec : records)
        runs[rec.Time].push_back(rec.Addr);
    ASSERT_FALSE(runs.empty());
    for (const auto &[time, addrs] : runs) {
        std::vector<int> inListOrder;
        for (int addr : {1, 3, 7})
            if (std::count(addrs.begin(), addrs.end(), addr))
                inListOrder.push_back(addr);
        EXPECT_EQ(addrs, inListOrder) << FormatDateTime(time).toStdString();
    }
    EXPECT_EQ(runs.rbegin()->second, (std::vector<int>{1, 3, 7}));
}

} // namespace
