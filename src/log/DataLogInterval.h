#pragma once

#include <QtGlobal>

// The data log settings window's view of `RecInterval` (tenths of a
// second, 0 = off): the check box and the field in seconds.
struct TIntervalField {
    bool Recording = false;
    int Seconds = 0;
};

constexpr int kIntervalFieldMin = 10;
constexpr int kIntervalFieldMax = 300;

// Recording shows as on only for an interval the engine acts on (above 0);
// the field holds the interval in whole seconds, or 600 when off, and like
// the field itself keeps to 10 to 300.
TIntervalField IntervalFieldFor(qint32 recInterval);

// The setting for the window's state on OK.
qint32 RecIntervalFrom(const TIntervalField &field);
