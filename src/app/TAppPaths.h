#pragma once

#include <QString>

// Where the program keeps its files: the settings beside the executable,
// the device list and the logs in "Record/", event log backups in "Backup/".
struct TAppPaths {
    QString ProgramDir;
    QString RecordDir; // ends with "/"
    QString BackupDir; // ends with "/"
    QString SettingsFile;

    static TAppPaths Beside(const QString &programDir);

    // Creates both directories with their parents. A failure is not reported
    // here: it shows when a file in them is used.
    void CreateDirectories() const;
};

inline const char *const kEventLogFileName = "EventLog.dat";
