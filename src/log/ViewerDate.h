#pragma once

#include "log/TEventFilter.h"

// The year, month and day the viewers' fields start at: cut from the stamp
// "yyyy-mm-dd hh:mm:ss" of `now`, a part that is no number giving 0 for the
// year and 1 for the month and day, each then held to its field's range
// (2000 to 2100, 1 to 12, 1 to 31).
TDateFields TodayFields(TDateTime now);

constexpr int kYearFieldMin = 2000;
constexpr int kYearFieldMax = 2100;
