#pragma once

#include "app/TSettings.h"
#include "model/TDeviceList.h"
#include "model/TDeviceSelection.h"
#include "model/TUpsInfoTable.h"

#include <QString>

// The program-wide single instances, alive for the whole run. The program
// makes one and hands it to the windows; every test makes a fresh one.
struct TMonitorState {
    TSettings Settings;
    TUpsInfoTable UpsInfo;
    TDeviceList DeviceList;
    TDeviceSelection Selection;
    QString ModelName; // set only by the password prompt
    quint8 DebugShow = 0; // non-zero while the debug displays are on
};
