#pragma once

#include <QString>

// Where the program keeps its files: the settings "UserParaIni.ini", the
// device list and the logs in "Record/", event log backups in "Backup/".
// Run from a build tree they sit beside the executable; an installed
// program keeps them per user, in the XDG base directories.
struct TAppPaths {
    QString ProgramDir;
    QString RecordDir; // ends with "/"
    QString BackupDir; // ends with "/"
    QString SettingsFile;

    static TAppPaths Beside(const QString &programDir);

    // An installed program's files: the settings in <configHome>/orvan/,
    // "Record/" and "Backup/" in <dataHome>/orvan/.
    static TAppPaths PerUser(const QString &programDir, const QString &configHome, const QString &dataHome);

    // Beside the program, unless its directory cannot be written or is the
    // directory the build installs programs into (installDir): root can
    // write /usr/bin, but nothing of ours belongs there.
    static TAppPaths ForProgram(const QString &programDir, const QString &installDir, const QString &configHome,
                                const QString &dataHome);

    // ForProgram for this executable, the build's install directory and
    // this user's $XDG_CONFIG_HOME and $XDG_DATA_HOME.
    static TAppPaths ForThisProgram();

    // Whether a program in programDir is an installed one, which must not
    // write beside itself: the directory cannot be written, or it is
    // installDir.
    static bool IsInstalledDir(const QString &programDir, const QString &installDir);
    // The build's install directories of the monitor and of orvand.
    static QString InstallBinDir();
    static QString InstallSbinDir();

    // An XDG base directory: the variable's value when it is an absolute
    // path, else the default under the home directory (the base directory
    // rules say a relative value is invalid and to be ignored).
    static QString XdgBaseDir(const QString &value, const QString &homeDir, const QString &underHome);
    static QString XdgConfigHome();
    static QString XdgDataHome();

    // The directory that holds "Record/" and "Backup/": the program
    // directory of a build tree, $XDG_DATA_HOME/orvan/ of an installed
    // monitor. A program locks it while it uses the files.
    QString DataDir() const;

    // Creates "Record/", "Backup/" and the settings file's directory, with
    // their parents. A failure is not reported here: it shows when a file
    // in them is used.
    void CreateDirectories() const;
};

inline const char *const kEventLogFileName = "EventLog.dat";
