#include "log/TrendValues.h"

#include <cmath>
#include <limits>

double TrendValueOf(const TDataRec &rec, int value)
{
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    double number = kNone;
    if (value >= kTrendInputVoltA && value <= kTrendInputVoltC)
        number = rec.InputVolt[value - kTrendInputVoltA];
    else if (value >= kTrendOutputVoltA && value <= kTrendOutputVoltC)
        number = rec.OutputVolt[value - kTrendOutputVoltA];
    else if (value >= kTrendLoadA && value <= kTrendLoadC)
        number = rec.LoadPercent[value - kTrendLoadA];
    else if (value == kTrendOutputFreq)
        number = rec.OutputFreq;
    else if (value == kTrendDcVolt)
        number = rec.DcVolt;
    else if (value == kTrendBattCapacity)
        number = rec.BattCapacity > 0 ? rec.BattCapacity : kNone;
    else if (value == kTrendBattBackupTime) {
        const auto minutes = static_cast<std::uint16_t>(rec.BattBackupTime);
        number = minutes > 0 ? minutes : kNone;
    }
    return std::isfinite(number) ? number : kNone;
}
