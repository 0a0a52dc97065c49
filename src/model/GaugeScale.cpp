#include "model/GaugeScale.h"

#include <algorithm>
#include <cmath>

GaugeScale InputVoltageScale()
{
    return {0.0, 300.0, 6,
            {{0.0, 120.0, BandColour::Yellow},
             {120.0, 276.0, BandColour::Green},
             {276.0, 300.0, BandColour::Red}}};
}

GaugeScale OutputVoltageScale()
{
    return {0.0, 300.0, 6,
            {{0.0, 205.0, BandColour::Yellow},
             {205.0, 245.0, BandColour::Green},
             {245.0, 300.0, BandColour::Red}}};
}

GaugeScale LoadPercentScale()
{
    return {0.0, 150.0, 4,
            {{0.0, 100.0, BandColour::Green},
             {100.0, 150.0, BandColour::Red}}};
}

double ScaleFraction(const GaugeScale &scale, double value)
{
    const double span = scale.maximum - scale.minimum;
    if (std::isnan(value) || !(span > 0.0))
        return 0.0;
    return std::clamp((value - scale.minimum) / span, 0.0, 1.0);
}

double MajorTickValue(const GaugeScale &scale, int index)
{
    if (scale.majorTicks < 2)
        return scale.minimum;
    const double step = (scale.maximum - scale.minimum) / (scale.majorTicks - 1);
    return scale.minimum + step * index;
}

std::optional<BandColour> BandColourAt(const GaugeScale &scale, double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const double inRange = std::clamp(value, scale.minimum, scale.maximum);
    for (const GaugeBand &band : scale.bands) {
        const bool isLast = &band == &scale.bands.back();
        if (inRange >= band.from && (inRange < band.to || (isLast && inRange <= band.to)))
            return band.colour;
    }
    return std::nullopt;
}

int LitSegments(const GaugeScale &scale, double value, int segments)
{
    const double span = scale.maximum - scale.minimum;
    if (segments <= 0 || std::isnan(value) || !(span > 0.0))
        return 0;
    // Multiplying before dividing keeps band edges exact (100 % of 150 over
    // 30 segments is 20, not 20.000000000000004); the small margin absorbs
    // what rounding is left.
    const double filled = (value - scale.minimum) * segments / span;
    const double lit = std::ceil(filled - 1e-9);
    return static_cast<int>(std::clamp(lit, 0.0, static_cast<double>(segments)));
}

BandColour SegmentColour(const GaugeScale &scale, int index, int segments)
{
    const double step = (scale.maximum - scale.minimum) / std::max(segments, 1);
    const double middle = scale.minimum + step * (index + 0.5);
    return BandColourAt(scale, middle).value_or(scale.bands.empty() ? BandColour::Green
                                                                    : scale.bands.front().colour);
}
