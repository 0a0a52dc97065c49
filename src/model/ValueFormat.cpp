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

int IntegerDigits(double value)
{
    return static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
}

} // namespace

QString FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return QString::number(RoundToPlaces(value, decimals), 'f', decimals);
}

QString FormatFixedSignificant(double value, int significant, int decimals)
{
    if (!std::isfinite(value) || value == 0.0)
        return FormatFixed(value, decimals);
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
