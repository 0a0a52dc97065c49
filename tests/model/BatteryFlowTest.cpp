#include "model/BatteryFlow.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

BatteryFlowInput OnlineDevice()
{
    BatteryFlowInput input;
    input.linkState = 0;
    input.protocol = 2;
    input.state = 4;
    return input;
}

BatteryFlow Flow(bool visible, bool flowing, FlowDirection direction, int intervalMs)
{
    return {visible, flowing, direction, intervalMs};
}

} // namespace

TEST(BatteryFlow, HiddenWithoutLinkOrForAProtocolWithoutBatteryData)
{
    for (int linkState : {1, 2}) {
        BatteryFlowInput input = OnlineDevice();
        input.linkState = linkState;
        input.chargeCurrent = 10.0;
        EXPECT_FALSE(BatteryFlowFor(input).visible) << linkState;
        EXPECT_FALSE(BatteryFlowFor(input).flowing) << linkState;
    }
    for (int protocol : {0, 1, 2, 3, 4}) {
        BatteryFlowInput input = OnlineDevice();
        input.protocol = protocol;
        EXPECT_EQ(BatteryFlowFor(input).visible, protocol != 1 && protocol != 4) << protocol;
    }
}

TEST(BatteryFlow, StopsForBatteryAlarmsEpoAndFault)
{
    struct {
        quint16 cmmAlarm2;
        int state;
    } const stoppers[] = {{0x2000, 4}, {0x4000, 4}, {0x6000, 5}, {0, 9}, {0, 11}};
    for (const auto &s : stoppers) {
        BatteryFlowInput input = OnlineDevice();
        input.cmmAlarm2 = s.cmmAlarm2;
        input.state = s.state;
        input.chargeCurrent = 30.0;
        input.dischargeCurrent = 30.0;
        const BatteryFlow flow = BatteryFlowFor(input);
        EXPECT_TRUE(flow.visible);
        EXPECT_FALSE(flow.flowing) << s.cmmAlarm2 << " " << s.state;
    }
}

TEST(BatteryFlow, DirectionAndSpeedFollowTheCurrent)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        quint16 cmmState1;
        double charge;
        double discharge;
        BatteryFlow expected;
    } cases[] = {
        // Charging: 4 ms faster per ampere, full speed from 120 A.
        {0x0000, 150.0, 0.0, Flow(true, true, FlowDirection::Forward, 20)},
        {0x0000, 120.0, 0.0, Flow(true, true, FlowDirection::Forward, 20)},
        {0x0000, 10.9, 0.0, Flow(true, true, FlowDirection::Forward, 460)},
        {0x0000, 0.5, 0.0, Flow(true, true, FlowDirection::Forward, 500)},
        {0x0000, 0.0, 30.0, Flow(true, false, FlowDirection::Forward, 500)},
        {0x0000, -2.0, 0.0, Flow(true, false, FlowDirection::Forward, 500)},
        {0x0000, nan, 0.0, Flow(true, false, FlowDirection::Forward, 500)},
        // Discharging: 22 ms faster per ampere, full speed from 20 A.
        {0x0100, 0.0, 10.7, Flow(true, true, FlowDirection::Reverse, 280)},
        {0x0100, 0.0, 20.0, Flow(true, true, FlowDirection::Reverse, 60)},
        {0x0100, 0.0, 95.0, Flow(true, true, FlowDirection::Reverse, 60)},
        {0xFFFF, 50.0, 0.0, Flow(true, false, FlowDirection::Reverse, 500)},
    };
    for (const auto &c : cases) {
        BatteryFlowInput input = OnlineDevice();
        input.cmmState1 = c.cmmState1;
        input.chargeCurrent = c.charge;
        input.dischargeCurrent = c.discharge;
        const BatteryFlow flow = BatteryFlowFor(input);
        EXPECT_EQ(flow, c.expected) << std::hex << c.cmmState1 << std::dec << " charge " << c.charge
                                    << " discharge " << c.discharge << " -> interval " << flow.intervalMs;
    }
}
