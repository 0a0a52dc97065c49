#pragma once

#include "log/TDataRec.h"

#include <QString>
#include <QtGlobal>

// Which month file the data log viewer reads, and which of its records it
// lists: one day of it or all (Day 0), one address or all (Addr 0).
struct TRecFilter {
    quint16 Year = 0;
    quint16 Month = 0;
    quint16 Day = 0;
    quint16 Addr = 0;
    QString FileName;

    // "DataLog2009_03.dat" in `recordDir`.
    static QString MonthFilePath(const QString &recordDir, int year, int month);

    // In the month mode the file alone picks the month, so only the day
    // (when set) and the address are compared.
    bool Matches(const TDataRec &rec) const;
};
