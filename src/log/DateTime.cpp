#include "log/DateTime.h"

#include <cmath>

namespace {

constexpr qint64 kMsecsPerDay = 86400000;

QDate DayZero()
{
    return QDate(1899, 12, 30);
}

} // namespace

TDateTimeParts DecodeDateTime(TDateTime value)
{
    if (!std::isfinite(value))
        return {};
    double whole = std::trunc(value);
    qint64 msecs = std::llround(std::fabs(value - whole) * kMsecsPerDay);
    if (msecs >= kMsecsPerDay) {
        // Rounding to the millisecond reached the next midnight.
        msecs -= kMsecsPerDay;
        whole += value < 0 ? -1 : 1;
    }
    return {DayZero().addDays(static_cast<qint64>(whole)), QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs))};
}

TDateTime EncodeDateTime(const QDate &date, const QTime &time)
{
    const double days = static_cast<double>(DayZero().daysTo(date));
    const double fraction = static_cast<double>(time.msecsSinceStartOfDay()) / kMsecsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

QDateTime DateTimeToQDateTime(TDateTime value)
{
    const TDateTimeParts parts = DecodeDateTime(value);
    return QDateTime(parts.Date, parts.Time, Qt::LocalTime);
}

TDateTime QDateTimeToDateTime(const QDateTime &value)
{
    const QDateTime local = value.toLocalTime();
    return EncodeDateTime(local.date(), local.time());
}

QString FormatDateTime(TDateTime value)
{
    const TDateTimeParts parts = DecodeDateTime(value);
    return parts.Date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
        + parts.Time.toString(QStringLiteral("HH:mm:ss"));
}

TDateTime TruncateToSecond(TDateTime value)
{
    const TDateTimeParts parts = DecodeDateTime(value);
    const QTime time = parts.Time;
    return EncodeDateTime(parts.Date, QTime(time.hour(), time.minute(), time.second()));
}

TDateTime LocalNow()
{
    return QDateTimeToDateTime(QDateTime::currentDateTime());
}
