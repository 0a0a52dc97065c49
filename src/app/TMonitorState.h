#pragma once

#include "app/TSettings.h"
#include "model/TDeviceList.h"
#include "model/TDeviceSelection.h"
#include "model/TUpsInfoTable.h"
#include "protocol/TBusContext.h"
#include "protocol/TCommDebug.h"
#include "protocol/TCommandQueue.h"
#include "protocol/TDiagCounters.h"
#include "protocol/TEngineState.h"

#include <QString>

// The program-wide single instances, alive for the whole run. The program
// makes one and hands it to the windows; every test makes a fresh one.
struct TMonitorState {
    TSettings Settings;
    TUpsInfoTable UpsInfo;
    TDeviceList DeviceList;
    TDeviceSelection Selection;
    TCommandQueue CmdQueue;
    TEngineState Engine;
    QString ModelName; // set only by the password prompt
    TCommDebug Debug;  // exchange statistics and DebugShow
    TDiagCounters DiagCounters;

    // What the polling engine and the protocol objects work on.
    TBusContext Bus() { return TBusContext{Engine, UpsInfo, DeviceList, CmdQueue, ModelName, Debug}; }
};
