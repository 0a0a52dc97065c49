#include "support/EngineOnSim.h"

#include <QDate>
#include <QTime>

EngineOnSim::EngineOnSim(const QString &portPath, int protocol)
    : Start(EncodeDateTime(QDate(2026, 3, 1), QTime(12, 0)))
    , Clock([this] { return Start + (Elapsed.isValid() ? Elapsed.elapsed() : 0) / 86400000.0; })
    , EventLog(Dir.filePath("Record"), "EventLog.dat", Dir.filePath("Backup"), Clock)
    , DataLog(Dir.filePath("Record"))
    , Poll(Context, Settings, EventLog, DataLog, Diag, Clock)
{
    Elapsed.start();
    Settings.PortInfo.ComName = portPath;
    Settings.PortInfo.Protocol = protocol;
    Settings.PortInfo.MaxReSend = 2;
    Settings.PortInfo.ReadIntervalTimeout = 50;
}

std::map<int, std::vector<LoggedEvent>> EventsByAddress(const TEventLog &log)
{
    std::map<int, std::vector<LoggedEvent>> out;
    for (const TEventRec &rec : log.ReadAllEvents())
        out[rec.Addr].emplace_back(rec.Kind, rec.Code, rec.Flag);
    return out;
}
