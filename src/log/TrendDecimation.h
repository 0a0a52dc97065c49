#pragma once

#include "log/TTrendSeries.h"

#include <vector>

// One pixel column of a drawn value: the lowest and highest figure of the
// points that fall into it and the mean of their means, and whether the
// line breaks before it (the device was not online between the previous
// column's points and this one's, or had no figure for the value there).
struct TPlotColumn {
    int X = 0;
    float Min = 0;
    float Max = 0;
    float Mean = 0;
    int Points = 1;
    bool BreakBefore = false;
};

// What a plot `width` pixels wide draws of one value of the series over
// [from, to): a column for each pixel that has points, left to right, each
// point counted in the column of its middle. The nearest point outside the
// period on either side gives a column at -1 or at `width`, so that a line
// runs on to the edge of the plot.
std::vector<TPlotColumn> DecimateTrend(const TTrendSeries &series, int value, TDateTime from, TDateTime to, int width);
