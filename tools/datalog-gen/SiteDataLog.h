#pragma once

#include "log/TDataRec.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>

// A site of UPS units as its data log would have recorded them: mains
// voltages that follow the day, loads that follow the working hours, now
// and then a mains failure carried by the battery (input at 0 V, capacity,
// support time and DC voltage falling, then recharging), and, when asked
// for, hours in which a unit was not online and wrote nothing. Every value
// is a function of the unit and the time, so files are the same however
// they are made.
struct TSiteDataSpec {
    int Units = 252;           // addresses 1 to Units
    int IntervalSeconds = 60;  // the data log interval
    bool OfflineHours = false; // units drop off the bus for a few hours now and then
};

// The record of unit `addr` at the run `time`; false when the unit was not
// online then.
bool SiteSample(const TSiteDataSpec &spec, std::uint8_t addr, TDateTime time, TDataRec &rec);

// Writes the month file of `year`/`month` in `dir` as the data log would:
// one run every interval from the first of the month, the online units of
// each run in address order. Stops after `maxRecords` records when that is
// not negative. `progress(records)` hears now and then. Returns the records
// written; throws std::runtime_error when the file cannot be written.
qint64 WriteSiteMonth(const QString &dir, int year, int month, const TSiteDataSpec &spec, qint64 maxRecords = -1,
                      const std::function<void(qint64)> &progress = {});
