#include "log/DateTime.h"

#include <cmath>

namespace {

constexpr qint64 kMsecsPerDay = 86400000;
// Far beyond any date the calendar holds, and well inside the 64-bit day
// count the calendar takes: a damaged record can hold any double.
constexpr double kMaxDays = 1e15;

QDate DayZero()
{
    return QDate(1899, 12, 30);
}

} // namespace

TDateTimeParts DecodeDateTime(TDateTime value)
{
    if (!std::isfinite(value) || std::fabs(value) > kMaxDays)
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

namespace {

void AppendDigits(QString &text, int value, int width)
{
    for (int divisor = width == 4 ? 1000 : 10; divisor > 0; divisor /= 10)
        text += QChar(u'0' + (value / divisor) % 10);
}

} // namespace

QString FormatDateTime(TDateTime value)
{
    const TDateTimeParts parts = DecodeDateTime(value);
    // The viewers format a stamp per row shown or exported: spell out the
    // common case rather than parse a format each time.
    if (parts.Date.isValid() && parts.Time.isValid() && parts.Date.year() >= 1000 && parts.Date.year() <= 9999) {
        int year = 0, month = 0, day = 0;
        parts.Date.getDate(&year, &month, &day);
        QString text;
        text.reserve(19);
        AppendDigits(text, year, 4);
        text += u'-';
        AppendDigits(text, month, 2);
        text += u'-';
        AppendDigits(text, day, 2);
        text += u' ';
        AppendDigits(text, parts.Time.hour(), 2);
        text += u':';
        AppendDigits(text, parts.Time.minute(), 2);
        text += u':';
        AppendDigits(text, parts.Time.second(), 2);
        return text;
    }
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
