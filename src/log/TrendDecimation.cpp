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
        const float mean = point.Mean[value];
        if (std::isnan(low) || std::isnan(high) || std::isnan(mean))
            continue;
        const double middle = (point.Start + point.End) / 2;
        const double at = std::floor((middle - from) * pixelsPerDay);
        const int x = static_cast<int>(std::clamp(at, -1.0, static_cast<double>(width)));
        const bool gap = previous && point.Start - previous->End > series.GapDays;
        previous = &point;
        if (started && columns.back().X == x) {
            // Left of the plot only the nearest point counts; right of it,
            // only the first.
            TPlotColumn &column = columns.back();
            if (x == -1)
                column = {x, low, high, mean, 1, false};
            else if (x < width) {
                column.Min = std::min(column.Min, low);
                column.Max = std::max(column.Max, high);
                ++column.Points;
                column.Mean += (mean - column.Mean) / static_cast<float>(column.Points);
            }
            continue;
        }
        if (started && columns.back().X == width)
            break;
        columns.push_back({x, low, high, mean, 1, started && gap});
        started = true;
    }
    return columns;
}
