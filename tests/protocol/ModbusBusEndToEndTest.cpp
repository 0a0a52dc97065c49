// The engine, the real serial component and the bus simulator on a real
// pseudo-terminal: polling at its real pace of 100 ms per tick.
#include "protocol/TPollEngine.h"

#include "app/TSettings.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "model/UpsInfoRules.h"
#include "protocol/TDiagCounters.h"
#include "support/BusFixture.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

namespace {

using Event = std::tuple<int, int, int>; // kind, code, flag

std::map<int, std::vector<Event>> EventsByAddress(const TEventLog &log)
{
    std::map<int, std::vector<Event>> out;
    for (const TEventRec &rec : log.ReadAllEvents())
        out[rec.Addr].emplace_back(rec.Kind, rec.Code, rec.Flag);
    return out;
}

TEST(ModbusBusEndToEndTest, UnitsComeOnlineAreLoggedAndTakeABatteryTest)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "modbus", "--units", "1,3,7", "--steady",
                           "--set", "3:alarm=9", "--set", "7:state=bypass"}))
        << sim.ErrorText().toStdString();

    QTemporaryDir dir;
    // Data log stamps on a fixed day, moving with real time.
    QElapsedTimer elapsed;
    elapsed.start();
    const TDateTime start = EncodeDateTime(QDate(2026, 3, 1), QTime(12, 0));
    const TClock clock = [&] { return start + elapsed.elapsed() / 86400000.0; };

    BusFixture bus;
    bus.AddDevices({1, 3, 7, 5}); // 5 is not on the bus
    TSettings settings;
    settings.PortInfo.ComName = sim.PortPath();
    settings.PortInfo.Protocol = 2;
    settings.PortInfo.MaxReSend = 2;
    settings.PortInfo.ReadIntervalTimeout = 50;
    settings.RecInterval = 10; // every second
    TEventLog eventLog(dir.filePath("Record"), "EventLog.dat", dir.filePath("Backup"), clock);
    TDataLog dataLog(dir.filePath("Record"));
    TDiagCounters diag;
    TPollEngine poll(bus.Context, settings, eventLog, dataLog, diag, clock);

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
    poll.Shutdown();

    auto events = EventsByAddress(eventLog);
    EXPECT_EQ(events[0], (std::vector<Event>{{0, 20, 255}, {0, 21, 255}}));
    // Each unit: link up, the Standby its first block derives from words
    // still 0, then its real state and alarms.
    EXPECT_EQ(events[3], (std::vector<Event>{{0, 22, 255}, {1, kStateStandby, 255},
                                             {1, kStateFault, 255}, {2, 9, 1}}));
    EXPECT_EQ(events[7], (std::vector<Event>{{0, 22, 255}, {1, kStateStandby, 255},
                                             {1, kStateBypass, 255}}));
    EXPECT_EQ(events[1], (std::vector<Event>{{0, 22, 255}, {1, kStateStandby, 255},
                                             {1, kStateOnline, 255}, {1, kStateBattSelfTest, 255}}));
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
