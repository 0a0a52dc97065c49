#pragma once

#include "app/TSettings.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "protocol/TBusContext.h"
#include "protocol/TCommDebug.h"
#include "protocol/TCommandQueue.h"
#include "protocol/TDiagCounters.h"
#include "protocol/TEngineState.h"
#include "protocol/TPollEngine.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdint>

// What the program's monitor state gives the polling engine, with its logs
// in a temporary directory, for the benchmarks that drive a real bus. The
// benchmark sets the port in Settings and lists its devices before it
// starts Poll.
struct BenchBus {
    QTemporaryDir Dir;
    TEngineState Engine;
    TUpsInfoTable UpsInfo;
    TDeviceList DeviceList;
    TCommandQueue CmdQueue;
    const QString ModelName;
    TCommDebug Debug;
    TBusContext Context{Engine, UpsInfo, DeviceList, CmdQueue, ModelName, Debug};
    TSettings Settings;
    TEventLog EventLog{Dir.filePath("Record"), "EventLog.dat", Dir.filePath("Backup")};
    TDataLog DataLog{Dir.filePath("Record")};
    TDiagCounters Diag;
    TPollEngine Poll{Context, Settings, EventLog, DataLog, Diag};

    // Lists devices 1 to `count`.
    void ListDevices(int count)
    {
        for (int addr = 1; addr <= count; ++addr) {
            TDeviceNode node{};
            node.Addr = static_cast<std::uint8_t>(addr);
            DeviceList.AddDevice(node);
        }
    }
};
