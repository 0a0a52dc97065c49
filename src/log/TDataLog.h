#pragma once

#include "log/TDataRec.h"

#include <QString>

#include <vector>

// The data log: one file of 128-byte samples per calendar month,
// "DataLog<YYYY>_<MM>.dat", growing for as long as its month lasts.
class TDataLog {
public:
    // Stores the directory only; no file is touched until the first append.
    explicit TDataLog(const QString &logDir);

    const QString &LogDir() const { return FLogDir; }

    // Appends the sample to the file of the month of its own time stamp,
    // and takes it into the month's summary. False when the record could
    // not be written; the caller carries on.
    bool AppendRecord(const TDataRec &rec);

    // Whole records of the file; creates it empty when missing.
    static qint64 FileRecordCount(const QString &fileName);

    // "DataLog2009_03.dat" for a time in March 2009.
    static QString MonthFileName(TDateTime time);
    QString MonthFilePath(TDateTime time) const;

    // Every whole record of a month file in the order of writing.
    static std::vector<TDataRec> ReadDataFile(const QString &path);

private:
    QString FLogDir;
};
