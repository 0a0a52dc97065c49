#include "model/ValueFormat.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond this magnitude a double has no fractional digits left to round.
constexpr double kNoFractionAbove = 9007199254740992.0; // 2^53

// Rounds to `places` digits after the point (negative: before it), halves
// away from zero. Scaling first keeps a value typed as 0.15 rounding up, as
// a reader of the number expects, rather than down as its binary form would.
double RoundToPlaces(double value, int places)
{
    const double scale = std::pow(10.0, places);
    const double scaled = value * scale;
    if (std::fabs(scaled) >= kNoFractionAbove)
        return value;
    // Adding 0.0 turns a negative zero into zero, so -0.04 shows "0.0".
    return std::round(scaled) / scale + 0.0;
}

constexpr double kExactTextBelow = 1125899906842624.0; // 2^50
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr int kMaxTablePower = 9;

// n / 10^decimals written with exactly `decimals` digits after the point:
// what QString::number(n / 10^decimals, 'f', decimals) gives, without the
// cost of the general conversion, which the log viewers pay per cell.
QString ScaledIntegerText(qint64 n, int decimals)
{
    char digits[32];
    int end = 0;
    qint64 magnitude = n < 0 ? -n : n;
    do {
        digits[end++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 || end <= decimals);
    QString text;
    text.reserve(end + 2);
    if (n < 0)
        text += u'-';
    for (int i = end - 1; i >= 0; --i) {
        text += QChar(digits[i]);
        if (i == decimals && decimals > 0)
            text += u'.';
    }
    return text;
}

// The value rounded to `decimals` places as a whole number of units of the
// last place, when that is exact in a double.
bool ScaledRound(double value, int decimals, qint64 &n)
{
    if (decimals < 0 || decimals > kMaxTablePower || !std::isfinite(value))
        return false;
    // Below 2^50 units the quotient n / 10^decimals is off by less than a
    // quarter of the last place, so its text has the digits of n.
    const double scaled = std::round(value * kPowersOfTen[decimals]);
    if (std::fabs(scaled) >= kExactTextBelow)
        return false;
    n = static_cast<qint64>(scaled);
    return true;
}

int IntegerDigits(double value)
{
    return static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
}

} // namespace

QString FormatFixed(double value, int decimals)
{
    qint64 n = 0;
    if (ScaledRound(value, decimals, n))
        return ScaledIntegerText(n, decimals);
    if (!std::isfinite(value))
        return QString::number(value);
    return QString::number(RoundToPlaces(value, decimals), 'f', decimals);
}

QString FormatFixedSignificant(double value, int significant, int decimals)
{
    if (!std::isfinite(value) || value == 0.0)
        return FormatFixed(value, decimals);
    // Below 10^(significant - decimals) the digit limit cuts nothing.
    qint64 n = 0;
    if (significant - decimals >= 0 && significant + decimals <= kMaxTablePower
        && std::fabs(value) < kPowersOfTen[significant - decimals] && ScaledRound(value, decimals, n)
        && std::llabs(n) < static_cast<qint64>(kPowersOfTen[significant + decimals]))
        return ScaledIntegerText(n, decimals);
    const int places = std::min(decimals, significant - IntegerDigits(value));
    const double rounded = RoundToPlaces(value, places);
    if (std::fabs(rounded) >= std::pow(10.0, significant))
        return QString::number(value, 'E', significant - 1);
    return FormatFixed(rounded, decimals);
}

QString FormatVoltage(double volts)
{
    return FormatFixed(volts, 1) + QStringLiteral(" V");
}

QString FormatLoadPercent(double percent)
{
    return FormatFixed(percent, 0) + QStringLiteral(" %");
}
