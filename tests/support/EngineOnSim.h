#pragma once

#include "app/TSettings.h"
#include "log/DateTime.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "protocol/TDiagCounters.h"
#include "protocol/TPollEngine.h"
#include "support/BusFixture.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <map>
#include <tuple>
#include <vector>

// The polling engine with real logs in a temporary directory, set up for the
// port of a running simulator and one protocol; Poll.Start() opens the port
// and polls at the real pace. Log stamps fall on a fixed day and move with
// real time.
struct EngineOnSim : BusFixture {
    EngineOnSim(const QString &portPath, int protocol);

    QTemporaryDir Dir;
    QElapsedTimer Elapsed;
    TDateTime Start;
    TClock Clock;
    TSettings Settings;
    TEventLog EventLog;
    TDataLog DataLog;
    TDiagCounters Diag;
    TPollEngine Poll;
};

using LoggedEvent = std::tuple<int, int, int>; // kind, code, flag

// The events of the log as (kind, code, flag) by address, in log order.
std::map<int, std::vector<LoggedEvent>> EventsByAddress(const TEventLog &log);
