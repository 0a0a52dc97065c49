#include "log/ViewerDate.h"

#include <algorithm>

namespace {

int PartOrDefault(const QString &stamp, int from, int length, int fallback)
{
    bool ok = false;
    const int value = stamp.mid(from, length).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

TDateFields TodayFields(TDateTime now)
{
    const QString stamp = FormatDateTime(now);
    return {std::clamp(PartOrDefault(stamp, 0, 4, 0), kYearFieldMin, kYearFieldMax),
            std::clamp(PartOrDefault(stamp, 5, 2, 1), 1, 12), std::clamp(PartOrDefault(stamp, 8, 2, 1), 1, 31)};
}
