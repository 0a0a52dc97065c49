#pragma once

#include "app/TSettings.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "protocol/TDiagCounters.h"
#include "protocol/TPollEngine.h"
#include "support/BusFixture.h"
#include "support/PtyPair.h"

#include <QTemporaryDir>

#include <vector>

// A polling engine in a scratch directory whose port is one side of a
// pseudo-terminal; the test plays the bus on the other side. The port is
// opened, the timer is not started: tests call PollStep themselves.
struct EngineOnPty : BusFixture {
    QTemporaryDir Dir;
    TSettings Settings;
    TEventLog EventLog{Dir.filePath("Record"), "EventLog.dat", Dir.filePath("Backup")};
    TDataLog DataLog{Dir.filePath("Record")};
    TDiagCounters Diag;
    PtyPair Line;
    TPollEngine Poll{Context, Settings, EventLog, DataLog, Diag};
    std::vector<QByteArray> Sent;

    EngineOnPty()
    {
        Settings.PortInfo.ComName = Line.SlavePath();
        Settings.PortInfo.Protocol = 2;
        Settings.PortInfo.ReadIntervalTimeout = 20;
        QObject::connect(&Poll, &TPollEngine::frameSent,
                         [this](const QByteArray &frame) { Sent.push_back(frame); });
        Poll.OpenPort();
    }
};
