#pragma once

#include <QtGlobal>

// The battery-flow indicator of the sketch map: whether it shows, whether it
// runs, which way and how fast. More current makes the flow run faster.

enum class FlowDirection {
    Forward, // charging: into the battery
    Reverse  // discharging: out of the battery
};

// The parts of a device's status record the rule reads.
struct BatteryFlowInput {
    int linkState = 2;
    int protocol = 0;
    int state = -1;
    quint16 cmmState1 = 0;
    quint16 cmmAlarm2 = 0;
    double chargeCurrent = 0.0;
    double dischargeCurrent = 0.0;
};

struct BatteryFlow {
    bool visible = false;
    bool flowing = false;
    FlowDirection direction = FlowDirection::Forward;
    int intervalMs = 500; // time between two animation steps

    bool operator==(const BatteryFlow &) const = default;
};

BatteryFlow BatteryFlowFor(const BatteryFlowInput &input);
