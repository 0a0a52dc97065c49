#include "log/TrendDecimation.h"

#include <algorithm>
#include <cmath>

std::vector<TPlotColumn> DecimateTrend(const TTrendSeries &series, int value, TDateTime from, TDateTime to, int width)
{
    std::vector<TPlotColumn> columns;
    if (width <= 0 || !(to > from) || value < 0 || value >= kTrendValueCount)
        return columns;
    const double pixelsPerDay = width / (to - from);
    const TTrendPoint *previous = nullptr; // the last point with a figure for the value
    bool started = false;
    for (const TTrendPoint &point : series.Points) {
        const float low = point.Min[value];
        const float high = point.Max[value];
        if (std::isnan(low) || std::isnan(high))
            continue;
        const double middle = (point.Start + point.End) / 2;
        const double at = std::floor((middle - from) * pixelsPerDay);
        const int x = static_cast<int>(std::clamp(at, -1.0, static_cast<double>(width)));
        const bool gap = previous && point.Start - previous->End > series.GapDays;
        previous = &point;
        if (started && columns.back().X == x) {
            // Left of the plot only the nearest point counts; right of it,
            // only the first.
            if (x == -1)
                columns.back() = {x, low, high, false};
            else if (x < width) {
                columns.back().Min = std::min(columns.back().Min, low);
                columns.back().Max = std::max(columns.back().Max, high);
            }
            continue;
        }
        if (started && columns.back().X == width)
            break;
        columns.push_back({x, low, high, started && gap});
        started = true;
    }
    return columns;
}
