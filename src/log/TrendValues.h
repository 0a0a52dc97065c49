#pragma once

#include "log/TDataRec.h"

#include <QString>

// The values of a data log record that the summaries keep and the trend
// window draws, in the order of the data log viewer's columns 2 to 14.
enum TTrendValue : int {
    kTrendInputVoltA,
    kTrendInputVoltB,
    kTrendInputVoltC,
    kTrendOutputVoltA,
    kTrendOutputVoltB,
    kTrendOutputVoltC,
    kTrendLoadA,
    kTrendLoadB,
    kTrendLoadC,
    kTrendOutputFreq,
    kTrendDcVolt,
    kTrendBattCapacity,
    kTrendBattBackupTime,
};
constexpr int kTrendValueCount = 13;

// The data log viewer's column of the value.
constexpr int TrendValueColumn(int value)
{
    return value + 2;
}

// The value of the record as a number, or NaN where the viewer shows an
// empty cell (a capacity of 0 or less, a support time of 0) and where the
// record holds no number (a NaN or an infinity).
double TrendValueOf(const TDataRec &rec, int value);
