#pragma once

#include <QString>

struct TEngineState;
struct TCommDebug;
class TUpsInfoTable;
class TDeviceList;
class TCommandQueue;

// The program-wide instances the bus code works on, handed by reference to
// the polling engine and to each protocol object. Whoever builds the program
// (or a test) owns them.
struct TBusContext {
    TEngineState &Engine;
    TUpsInfoTable &UpsInfo;
    TDeviceList &DeviceList;
    TCommandQueue &CmdQueue;
    const QString &ModelName; // as last set by the password prompt
    TCommDebug &Debug;
};
