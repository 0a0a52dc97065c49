#pragma once

#include <optional>
#include <vector>

// Scales of the real-time view's gauges and load bars: range, ticks and the
// coloured bands that tell a normal value from a low or a high one. Kept free
// of drawing so the band rules are checked without a display.

enum class BandColour { Yellow, Green, Red };

// A band covers [from, to); the last band of a scale also holds its maximum.
struct GaugeBand {
    double from;
    double to;
    BandColour colour;
};

struct GaugeScale {
    double minimum;
    double maximum;
    int majorTicks; // tick marks, both ends included
    std::vector<GaugeBand> bands;
};

GaugeScale InputVoltageScale();
GaugeScale OutputVoltageScale();
GaugeScale LoadPercentScale();

// Where a value sits on the scale, 0 at the minimum and 1 at the maximum;
// values outside the range stop at its ends, and a NaN sits at the minimum.
double ScaleFraction(const GaugeScale &scale, double value);

// The value of major tick `index` (0 is the minimum).
double MajorTickValue(const GaugeScale &scale, int index);

// The colour of the band holding the value, the value first brought into
// the range; none for a NaN or a value in no band.
std::optional<BandColour> BandColourAt(const GaugeScale &scale, double value);

// Lit segments of a bar of `segments` segments showing the value. A segment
// lights as soon as the value enters it, so any load above 100 % lights the
// first red segment.
int LitSegments(const GaugeScale &scale, double value, int segments);

// The colour of segment `index` (0 at the minimum): the band under its middle.
BandColour SegmentColour(const GaugeScale &scale, int index, int segments);
