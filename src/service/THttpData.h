#pragma once

#include <functional>

class TDeviceList;
class TEventLog;
class TUpsInfoTable;
struct TCommDebug;
struct TEngineState;
struct TSettings;

// What the HTTP side reads, and nothing it could change: the devices and
// their records, the settings, the bus statistics, the event log store,
// whether the port is open and whether the bus can be reached through it
// (a network port's connection is up; a serial port is reached while open).
struct THttpData {
    const TDeviceList &DeviceList;
    const TUpsInfoTable &UpsInfo;
    const TSettings &Settings;
    const TCommDebug &Debug;
    const TEngineState &Engine;
    const TEventLog &EventLog;
    std::function<bool()> PortOpened;
    std::function<bool()> LinkUp;
};
