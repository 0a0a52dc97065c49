#pragma once

#include "log/DateTime.h"
#include "log/TrendValues.h"

#include <array>
#include <cstdint>
#include <vector>

// One point of a device's trend: a sample (Start equal to End, the three
// figures of a value equal) or an hour of the summary (its lowest, highest
// and mean). NaN where the point has no figure for the value.
struct TTrendPoint {
    TDateTime Start = 0;
    TDateTime End = 0;
    std::uint32_t Records = 1; // the records behind it
    std::array<float, kTrendValueCount> Min{};
    std::array<float, kTrendValueCount> Max{};
    std::array<float, kTrendValueCount> Mean{};
};

enum class TTrendResolution {
    Samples, // every record of the data log
    Hours,   // the hourly summaries
};

// A device's values over a period, in time order. Where one point ends more
// than GapDays before the next begins, the device was not online in
// between, and no line is drawn across.
struct TTrendSeries {
    TTrendResolution Resolution = TTrendResolution::Samples;
    std::uint8_t Addr = 0;
    TDateTime From = 0;
    TDateTime To = 0;
    double GapDays = 0;
    std::vector<TTrendPoint> Points;
};
