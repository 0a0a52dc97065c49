#pragma once

#include <QString>

// One program per program directory: the monitor and the headless service
// both keep their settings, device list and logs there, and two writers
// would spoil them. The lock is an exclusive lock on "orvan.lock" in the
// directory, held for the life of this object; the system drops it when the
// process ends in any way, so a crash leaves nothing stale behind.
class TDirectoryLock
{
public:
    static constexpr const char *kFileName = "orvan.lock";

    // programName is written into the lock file so that a second program
    // can say who holds the directory.
    TDirectoryLock(const QString &directory, const QString &programName);
    ~TDirectoryLock();
    TDirectoryLock(const TDirectoryLock &) = delete;
    TDirectoryLock &operator=(const TDirectoryLock &) = delete;

    // True when this process now holds the directory.
    bool TryLock();
    bool IsLocked() const { return FFd >= 0; }

    // Why TryLock failed, in words for the user.
    const QString &ErrorText() const { return FError; }

private:
    QString FDirectory;
    QString FProgramName;
    QString FError;
    int FFd = -1;
};
