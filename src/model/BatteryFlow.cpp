#include "model/BatteryFlow.h"

#include <cmath>

namespace {

constexpr int kSlowestIntervalMs = 500;
constexpr quint16 kDischargingBit = 0x0100;           // in CmmState1
constexpr quint16 kBatteryMissingOrReversed = 0x6000; // in CmmAlarm2
constexpr int kEpoState = 9;
constexpr int kFaultState = 11;

bool ProtocolReportsBattery(int protocol)
{
    return protocol == 0 || protocol == 2 || protocol == 3;
}

// 500 ms less `msPerAmp` for every whole ampere, up to `fullSpeedAmps`.
int IntervalForCurrent(double amps, int fullSpeedAmps, int msPerAmp)
{
    const int wholeAmps = amps > fullSpeedAmps ? fullSpeedAmps : static_cast<int>(std::trunc(amps));
    return kSlowestIntervalMs - msPerAmp * wholeAmps;
}

} // namespace

BatteryFlow BatteryFlowFor(const BatteryFlowInput &input)
{
    BatteryFlow flow;
    if (input.linkState != 0 || !ProtocolReportsBattery(input.protocol))
        return flow;

    flow.visible = true;
    if ((input.cmmAlarm2 & kBatteryMissingOrReversed) != 0 || input.state == kEpoState
        || input.state == kFaultState)
        return flow;

    if ((input.cmmState1 & kDischargingBit) == 0) {
        flow.direction = FlowDirection::Forward;
        flow.flowing = input.chargeCurrent > 0.0;
        if (flow.flowing)
            flow.intervalMs = IntervalForCurrent(input.chargeCurrent, 120, 4);
    } else {
        flow.direction = FlowDirection::Reverse;
        flow.flowing = input.dischargeCurrent > 0.0;
        if (flow.flowing)
            flow.intervalMs = IntervalForCurrent(input.dischargeCurrent, 20, 22);
    }
    return flow;
}
