#pragma once

#include "log/DateTime.h"

#include <QString>

#include <vector>

// The marks of a trend's time axis: times of day for periods of hours,
// days for periods of days and weeks, months for periods of months and
// years, each at a round time (a whole hour, midnight, a Monday, the 1st).
struct TTimeTick {
    TDateTime At = 0;
    QString Label; // "14:00", "03-15" at midnight, "2026-03" for months
};

// At most `maxTicks` marks in [from, to].
std::vector<TTimeTick> TimeTicks(TDateTime from, TDateTime to, int maxTicks);

// Round values (1, 2 or 5 times a power of ten apart) in [low, high], at
// most `maxTicks` of them.
std::vector<double> ValueTicks(double low, double high, int maxTicks);

// The range a value axis shows for figures from `low` to `high`: a little
// room above and below, and some height for a value that does not change.
struct TValueRange {
    double Low = 0;
    double High = 1;
};
TValueRange PaddedRange(double low, double high);

// "2026-03-15 14:05" for the read-outs of the trend window.
QString FormatTrendTime(TDateTime time);
