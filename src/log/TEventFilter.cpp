#include "log/TEventFilter.h"

TDateFields SplitDate(TDateTime time)
{
    const QDate date = DecodeDateTime(time).Date;
    if (!date.isValid() || date.year() < 1)
        return {};
    return {date.year(), date.month(), date.day()};
}

bool TEventFilter::Matches(const TEventRec &rec) const
{
    if (Addr != 0 && Addr != rec.Addr)
        return false;
    const TDateFields date = SplitDate(rec.Time);
    if (Day != 0)
        return date.Year == Year && date.Month == Month && date.Day == Day;
    if (Month != 0)
        return date.Year == Year && date.Month == Month;
    if (Year != 0)
        return date.Year == Year;
    return true;
}
