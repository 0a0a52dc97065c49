#pragma once

#include "log/TEventLog.h"

#include <QDir>
#include <QTemporaryDir>

// An event log in a fresh temporary directory ("Record/" and "Backup/"
// inside it) whose clock reads `Now`, so tests can set the time.
struct TempEventLog {
    QTemporaryDir Dir;
    TDateTime Now = 39873.5; // 2009-03-01 12:00:00
    TEventLog Log{RecordDir(), QStringLiteral("EventLog.dat"), BackupDir(), [this] { return Now; }};

    QString RecordDir() const { return Dir.filePath(QStringLiteral("Record")); }
    QString BackupDir() const { return Dir.filePath(QStringLiteral("Backup")); }
    std::vector<TEventRec> Events() const { return Log.ReadAllEvents(); }
};
