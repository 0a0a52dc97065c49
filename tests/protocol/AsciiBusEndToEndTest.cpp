// The engine, the real serial component and the bus simulator speaking the
// two ASCII protocols on a real pseudo-terminal, polling at the pace of the
// bus.
#include "model/UpsInfoRules.h"
#include "support/EngineOnSim.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Event = LoggedEvent;

constexpr int kYdtProtocol = 0;
constexpr int kRorizuProtocol = 1;

TEST(AsciiBusEndToEndTest, RorizuUnitsShowSwitchesAndStateFromTheirFifthValidReply)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "rorizu", "--units", "1,2", "--steady", "--set",
                           "2:state=bypass,alarm=119,battbackuptime=75"}))
        << sim.ErrorText().toStdString();
    EngineOnSim bus(sim.PortPath(), kRorizuProtocol);
    bus.Settings.PortInfo.PollMode = 1;
    // Unit 1 gets the first request after start whatever the list holds,
    // and its other four commands after it; then the list runs from its top.
    bus.AddDevices({2, 1});

    // Each block arrives before it is decoded: the record then shows what
    // the earlier replies left in it.
    std::vector<int> shownEarly;
    QObject::connect(&bus.Poll, &TPollEngine::frameReceived, [&] {
        const TUpsInfo &rec = bus.UpsInfo[bus.Engine.PollAddr];
        const bool shown = rec.State != kStateUnknown || rec.UpsSupply != 0 || rec.InputSwitch != 0;
        if (shown && rec.OkCnt < 5)
            shownEarly.push_back(rec.Addr);
    });

    bus.Poll.Start();
    ASSERT_TRUE(bus.Poll.PortOpened());
    const TUpsInfo &one = bus.UpsInfo[1];
    const TUpsInfo &two = bus.UpsInfo[2];
    ASSERT_TRUE(WaitUntil([&] { return one.State == kStateOnline && two.AlarmCount > 0; }, 60000));
    bus.Poll.Shutdown();

    EXPECT_TRUE(shownEarly.empty());
    EXPECT_NEAR(one.InputVolt[0], 220.0, 0.01);
    EXPECT_NEAR(one.OutputVolt[2], 220.0, 0.01);
    EXPECT_NEAR(one.OutputFreq, 50.0, 0.01);
    EXPECT_NEAR(one.LoadPercent[1], 40.0, 0.01);
    EXPECT_EQ(one.InputSwitch, 1);
    EXPECT_EQ(one.OutputSwitch, 1);
    EXPECT_EQ(one.InputSupply, 1);
    EXPECT_EQ(one.UpsSupply, 1);
    EXPECT_EQ(two.BattBackupTime, 75);
    EXPECT_EQ(two.UpsSupply, 2);

    auto events = EventsByAddress(bus.EventLog);
    EXPECT_EQ(events[1], (std::vector<Event>{{0, 22, 255}, {1, kStateOnline, 255}}));
    EXPECT_EQ(events[2], (std::vector<Event>{{0, 22, 255}, {1, kStateBypass, 255}, {2, 119, 1}}));
}

TEST(AsciiBusEndToEndTest, YdtUnitRaisesAlarmsIsLostAndReturns)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "ydt", "--units", "1", "--steady", "--commands", "--set",
                           "1:alarm=51,battcapacity=88"}))
        << sim.ErrorText().toStdString();
    EngineOnSim bus(sim.PortPath(), kYdtProtocol);
    bus.Settings.PortInfo.PollMode = 1;
    bus.AddDevices({1});
    TUpsInfo &rec = bus.UpsInfo[1];
    // The state counts once it was derived with the alarm words read too:
    // from the second status reply after the link came up.
    const auto onlineWithAlarm = [&] {
        return rec.LinkState == kLinkOnline && rec.State == kStateOnline && rec.AlarmCount == 1 && rec.StateRead;
    };

    bus.Poll.Start();
    ASSERT_TRUE(bus.Poll.PortOpened());
    ASSERT_TRUE(WaitUntil([&] { return onlineWithAlarm() && rec.BattCapacity == 88; }, 30000));
    EXPECT_DOUBLE_EQ(rec.InputVolt[0], 220.0);
    EXPECT_DOUBLE_EQ(rec.OutputFreq, 50.0);
    EXPECT_EQ(rec.LoadPercent[2], 40);
    EXPECT_EQ(rec.AlarmList[0], 51);

    ASSERT_TRUE(sim.Command("1:silent=1"));
    ASSERT_TRUE(WaitUntil([&] { return rec.LinkState == kLinkLost; }, 40000));
    ClearUpsInfo(rec); // as the device tree does for a lost device
    ASSERT_TRUE(sim.Command("1:silent=0"));
    ASSERT_TRUE(WaitUntil(onlineWithAlarm, 30000));
    bus.Poll.Shutdown();

    const auto events = EventsByAddress(bus.EventLog);
    EXPECT_EQ(events.at(1), (std::vector<Event>{
                                {0, 22, 255}, {2, 51, 1}, {1, kStateOnline, 255}, // first contact
                                {0, 18, 255},                                     // lost
                                // Back: the state again once it is read; the alarm never
                                // cleared, so no alarm event.
                                {0, 22, 255}, {1, kStateOnline, 255},
                            }));
}

} // namespace
