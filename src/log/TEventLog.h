#pragma once

#include "log/DateTime.h"
#include "log/TEventRec.h"
#include "log/TRecordFile.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

struct TUpsInfo;

// The event log: the live file of 48-byte event records and its backups.
// When the live file holds kMaxRecords, the next append first moves it to
// the next automatic backup "EventLog_NNN.dat"; clearing it by hand keeps a
// copy in the manual series "EventLog<n>.dat". Backups are never read again.
class TEventLog {
public:
    static constexpr int kMaxRecords = 5001;
    static constexpr int kAutoBackupNames = 1000;

    // Stores the names only; no file is touched until the first operation.
    TEventLog(const QString &logDir, const QString &logFileName, const QString &backupDir,
              TClock clock = LocalNow);

    const QString &LogDir() const { return FLogDir; }
    const QString &LogFileName() const { return FLogFileName; }
    const QString &LogPath() const { return FLogPath; }
    const QString &BackupDir() const { return FBackupDir; }

    // The time stamp for a record made now.
    TDateTime Now() const { return FClock(); }

    // Whole records of the live file; creates the directory and the file when missing.
    int RecordCount() const;

    // Appends one record, rotating the full file first. False when the
    // record could not be written; the caller carries on either way.
    bool AppendEvent(const TEventRec &rec);

    // Moves the full live file to the first free automatic backup name and
    // empties it. When no backup can be made the live file keeps its records
    // and false is returned; the next append tries again.
    bool RotateLog();

    // Copies the live file to the next manual backup and empties it. When the
    // copy fails the live file is left as it was and ELogFileError is thrown.
    void ClearLog();

    // Program start (which = 0) or end (which = 1); any other value writes nothing.
    void LogSoftwareEvent(int which);

    // A link or state event of the device `info` describes: type 2 link up,
    // 3 link lost, 4 link recovered, 5 link error, 6 state change; any other
    // type writes nothing.
    void LogDeviceEvent(int type, const TUpsInfo &info);

    // Called with every record given to AppendEvent, whether or not the
    // file took it: a full disk must not silence the other outlets of an
    // event. Observers run inside the poll step and must return quickly.
    using TObserver = std::function<void(const TEventRec &rec)>;
    int AddObserver(TObserver observer);
    void RemoveObserver(int id);

    // 255 after a successful append, until the viewer resets it.
    std::uint8_t NewRecord() const { return FNewRecord; }
    void ResetNewRecord() { FNewRecord = 0; }

    // Every whole record of the live file, oldest first.
    std::vector<TEventRec> ReadAllEvents() const;
    // Every whole record of an event file (live or backup), oldest first.
    static std::vector<TEventRec> ReadEventFile(const QString &path);

    // Backup file names, as they stand in BackupDir.
    static QString AutoBackupName(int number);
    static QString ManualBackupName(int number);

private:
    QString NextAutoBackupPath() const;
    QString NextManualBackupPath() const;

    QString FLogDir;
    QString FLogFileName;
    QString FLogPath;
    QString FBackupDir;
    TClock FClock;
    TRecordFile FFile;
    std::uint8_t FNewRecord = 0;
    std::vector<std::pair<int, TObserver>> FObservers;
    int FNextObserverId = 1;
};
