#pragma once

#include "log/TEventRec.h"

#include <QtGlobal>

// Which event records the event log viewer lists. 0 in a field matches any
// record; the date is matched by the finest field that is set.
struct TEventFilter {
    quint16 Year = 0;
    quint16 Month = 0;
    quint16 Day = 0;
    quint16 Addr = 0;

    bool Matches(const TEventRec &rec) const;
};

// Year, month and day of a stamp; all 0 for a stamp before the year 1.
struct TDateFields {
    int Year = 0;
    int Month = 0;
    int Day = 0;
};
TDateFields SplitDate(TDateTime time);
