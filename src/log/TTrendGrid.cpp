#include "log/TTrendGrid.h"

#include "log/TDataLogModel.h"
#include "model/TextLanguage.h"

#include <algorithm>
#include <cmath>

namespace {

// Of an hour: time, address, records, then mean, lowest and highest of each value.
constexpr int kHourLeadColumns = 3;
constexpr int kFiguresPerValue = 3;

} // namespace

TTrendGrid::TTrendGrid(const TTrendSeries &series, TDateTime from, TDateTime to, quint8 language)
    : FSeries(series), FLanguage(language)
{
    const auto &points = series.Points;
    auto starts = [](const TTrendPoint &point, TDateTime at) { return point.Start < at; };
    FBegin = static_cast<std::size_t>(std::lower_bound(points.begin(), points.end(), from, starts) - points.begin());
    FEnd = static_cast<std::size_t>(std::lower_bound(points.begin(), points.end(), to, starts) - points.begin());
    FEnd = std::max(FBegin, FEnd);
}

int TTrendGrid::GridColumnCount() const
{
    return Hours() ? kHourLeadColumns + kTrendValueCount * kFiguresPerValue : TDataLogModel::kColumnCount;
}

QString TTrendGrid::GridHeaderText(int column) const
{
    if (!Hours())
        return TDataLogModel::HeaderText(column, FLanguage);
    const bool zh = IsChineseLanguage(FLanguage);
    if (column < 2)
        return TDataLogModel::HeaderText(column, FLanguage);
    if (column == 2)
        return LanguageText(zh, "记录数", "Records");
    const int value = (column - kHourLeadColumns) / kFiguresPerValue;
    if (value >= kTrendValueCount)
        return {};
    static const char *const kZh[] = {" 平均", " 最小", " 最大"};
    static const char *const kEn[] = {" mean", " min", " max"};
    const int figure = (column - kHourLeadColumns) % kFiguresPerValue;
    return TDataLogModel::HeaderText(TrendValueColumn(value), FLanguage) + LanguageText(zh, kZh[figure], kEn[figure]);
}

QString TTrendGrid::GridCellText(int row, int column) const
{
    if (row < 0 || row >= GridRowCount() || column < 0 || column >= GridColumnCount())
        return {};
    const TTrendPoint &point = FSeries.Points[FBegin + static_cast<std::size_t>(row)];
    if (column == 0)
        return FormatDateTime(point.Start);
    if (column == 1)
        return QString::number(FSeries.Addr);
    auto text = [](int value, float figure) {
        return std::isnan(figure) ? QString() : TDataLogModel::ValueText(TrendValueColumn(value), figure);
    };
    if (!Hours())
        return text(column - 2, point.Mean[column - 2]);
    if (column == 2)
        return QString::number(point.Records);
    const int value = (column - kHourLeadColumns) / kFiguresPerValue;
    switch ((column - kHourLeadColumns) % kFiguresPerValue) {
    case 0:
        return text(value, point.Mean[value]);
    case 1:
        return text(value, point.Min[value]);
    default:
        return text(value, point.Max[value]);
    }
}
