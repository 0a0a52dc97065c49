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
    bool Matches(const TDataRec &rec) const { return Matches(rec.Time, rec.Addr); }
    bool Matches(TDateTime time, std::uint8_t addr) const;
    // Whether every record matches, so that none need be looked at.
    bool MatchesAll() const { return Day == 0 && Addr == 0; }
};

// Tells whether a stamp falls on one calendar day, as the day of its
// "yyyy-mm-dd" text, without working out a date for each record: a stamp
// well inside or well outside the day is told by its value alone, and only
// one within a few milliseconds of a midnight is looked at closely.
class TDayOfStamp {
public:
    TDayOfStamp(int year, int month, int day);
    bool Holds(TDateTime time) const;

private:
    int FYear, FMonth, FDay;
    double FStart = 0, FEnd = 0; // the day's first and next day's first stamp
    bool FQuick = false;         // days from 30 December 1899 on only
};
