#include "log/TrendAxes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinute = 1.0 / 1440;

// Steps of the time axis within a day or a few, in days.
constexpr double kDaySteps[] = {kMinute,      2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
                                1.0 / 24,     2.0 / 24,    3.0 / 24,    6.0 / 24,     12.0 / 24,    1,
                                2,            7,           14};
// Steps in months beyond those.
constexpr int kMonthSteps[] = {1, 2, 3, 6, 12, 24, 60, 120};

// Mondays: 30 December 1899 (day 0) was a Saturday.
constexpr double kFirstMonday = 2;

QString TwoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString DayLabel(const QDate &date)
{
    return TwoDigits(date.month()) + QLatin1Char('-') + TwoDigits(date.day());
}

std::vector<TTimeTick> DayTicks(TDateTime from, TDateTime to, double step)
{
    std::vector<TTimeTick> ticks;
    const double origin = step >= 7 ? kFirstMonday : 0;
    // Counted in whole steps from a round origin, so that the marks fall on
    // round times however the period is placed.
    for (double n = std::ceil((from - origin) / step - 1e-9); origin + n * step <= to + 1e-9; n += 1) {
        const TDateTime at = origin + n * step;
        const TDateTimeParts parts = DecodeDateTime(at);
        const bool midnight = parts.Time.hour() == 0 && parts.Time.minute() == 0;
        ticks.push_back({at, midnight ? DayLabel(parts.Date) : parts.Time.toString(QStringLiteral("HH:mm"))});
    }
    return ticks;
}

std::vector<TTimeTick> MonthTicks(TDateTime from, TDateTime to, int months)
{
    std::vector<TTimeTick> ticks;
    const QDate first = DecodeDateTime(from).Date;
    if (!first.isValid())
        return ticks;
    // Months counted from January of year 0, so that a step of three falls
    // on the quarters.
    const int index = first.year() * 12 + first.month() - 1;
    int n = (index + months - 1) / months * months;
    if (EncodeDateTime(QDate(n / 12, n % 12 + 1, 1), QTime(0, 0)) < from - 1e-9)
        n += months;
    for (; n / 12 <= 9999; n += months) {
        const QDate date(n / 12, n % 12 + 1, 1);
        const TDateTime at = EncodeDateTime(date, QTime(0, 0));
        if (at > to + 1e-9)
            break;
        ticks.push_back({at, date.toString(QStringLiteral("yyyy-MM"))});
    }
    return ticks;
}

} // namespace

std::vector<TTimeTick> TimeTicks(TDateTime from, TDateTime to, int maxTicks)
{
    if (!(to > from) || maxTicks < 1 || !std::isfinite(from) || !std::isfinite(to))
        return {};
    const double span = to - from;
    for (double step : kDaySteps)
        if (span / step <= maxTicks)
            return DayTicks(from, to, step);
    for (int months : kMonthSteps)
        if (span / (months * 30.44) <= maxTicks)
            return MonthTicks(from, to, months);
    return {};
}

std::vector<double> ValueTicks(double low, double high, int maxTicks)
{
    std::vector<double> ticks;
    if (!(high > low) || maxTicks < 1 || !std::isfinite(low) || !std::isfinite(high))
        return ticks;
    const double rough = (high - low) / maxTicks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    for (double n = std::ceil(low / step - 1e-9); n * step <= high + step * 1e-9; n += 1)
        ticks.push_back(n * step == 0 ? 0.0 : n * step); // no "-0"
    return ticks;
}

TValueRange PaddedRange(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high) || low > high)
        return {};
    const double span = high - low;
    const double room = span > 0 ? span * 0.05 : std::max(std::fabs(high) * 0.05, 1.0);
    return {low - room, high + room};
}

QString FormatTrendTime(TDateTime time)
{
    return FormatDateTime(time).left(16);
}
