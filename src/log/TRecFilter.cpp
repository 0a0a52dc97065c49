#include "log/TRecFilter.h"

#include "log/TEventFilter.h"

#include <QDir>

namespace {

// Stamps are rounded to the millisecond when they are shown; a margin of
// many milliseconds keeps the quick test clear of that rounding.
constexpr double kMarginDays = 1e-6;

} // namespace

QString TRecFilter::MonthFilePath(const QString &recordDir, int year, int month)
{
    return QDir(recordDir).filePath(QStringLiteral("DataLog%1_%2.dat").arg(year).arg(month, 2, 10, QLatin1Char('0')));
}

bool TRecFilter::Matches(TDateTime time, std::uint8_t addr) const
{
    if (Addr != 0 && Addr != addr)
        return false;
    if (Day == 0)
        return true;
    return TDayOfStamp(Year, Month, Day).Holds(time);
}

TDayOfStamp::TDayOfStamp(int year, int month, int day)
    : FYear(year), FMonth(month), FDay(day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return;
    FStart = EncodeDateTime(date, QTime(0, 0));
    FEnd = EncodeDateTime(date.addDays(1), QTime(0, 0));
    FQuick = FStart >= 0;
}

bool TDayOfStamp::Holds(TDateTime time) const
{
    if (FQuick) {
        if (time >= FStart + kMarginDays && time < FEnd - kMarginDays)
            return true;
        if (time < FStart - kMarginDays || time >= FEnd + kMarginDays)
            return false;
    }
    const TDateFields date = SplitDate(time);
    return date.Year == FYear && date.Month == FMonth && date.Day == FDay;
}
