#pragma once

#include <QSaveFile>

// Commits a QSaveFile only when all of its content reached the disk.
// QSaveFile::commit() checks the errors of the writes made so far, but not
// the one of the final flush of its buffer: on a full disk the tail that did
// not fit would be dropped, and the torn file renamed over the good one.
inline bool CommitSaveFile(QSaveFile &file)
{
    if (file.flush())
        return file.commit();
    file.cancelWriting();
    return false;
}
