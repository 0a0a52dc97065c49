#pragma once

#include "app/TSettings.h"
#include "model/TDeviceNode.h"
#include "model/TUpsInfo.h"
#include "service/THttpData.h"
#include "support/BusFixture.h"
#include "support/TempEventLog.h"

#include <QString>

// The state the HTTP side reads, fresh for each test: devices are added by
// address and name, records are set by hand, the port is open.
struct HttpDataFixture : BusFixture {
    TSettings Settings;
    TempEventLog Events;
    bool PortOpen = true;
    bool LinkUp = true;

    THttpData Data{DeviceList, UpsInfo, Settings, Debug, Engine, Events.Log, [this] { return PortOpen; },
                   [this] { return LinkUp; }};

    void AddDevice(std::uint8_t addr, const QString &name) { DeviceList.AddDevice(TDeviceNode::Make(addr, name)); }

    // An online unit in state Online with typical values.
    TUpsInfo &OnlineUnit(std::uint8_t addr)
    {
        TUpsInfo &rec = UpsInfo[addr];
        rec.LinkState = kLinkOnline;
        rec.State = 4;
        for (int phase = 0; phase < 3; ++phase) {
            rec.InputVolt[phase] = 220.5 + phase;
            rec.OutputVolt[phase] = 230.0;
            rec.LoadPercent[phase] = 40.0 + 5 * phase;
        }
        rec.OutputFreq = 50.0;
        rec.DcVolt = 432.5;
        rec.BattCapacity = 96;
        rec.BattBackupTime = 45;
        rec.ChargeCurrent = 1.5;
        rec.DischargeCurrent = 0.0;
        rec.LastReplyMs = 1767268800123; // 2026-01-01 12:00:00.123 UTC
        return rec;
    }
};
