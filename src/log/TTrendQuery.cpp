#include "log/TTrendQuery.h"

#include "log/ELogFileError.h"
#include "log/MonthFiles.h"
#include "log/TDataFileReader.h"
#include "log/TDataSummary.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr double kSecond = 1.0 / 86400;

TTrendPoint SamplePoint(const TDataRec &rec)
{
    TTrendPoint point;
    point.Start = point.End = rec.Time;
    for (int value = 0; value < kTrendValueCount; ++value) {
        const double number = TrendValueOf(rec, value);
        const float f = std::isnan(number) ? kNone : static_cast<float>(std::clamp(number, -1e30, 1e30));
        point.Min[value] = point.Max[value] = point.Mean[value] = f;
    }
    return point;
}

TTrendPoint HourPoint(const TSummaryBucket &bucket, TDateTime start, TDateTime end)
{
    TTrendPoint point;
    point.Start = start;
    point.End = end;
    point.Records = bucket.Records;
    for (int value = 0; value < kTrendValueCount; ++value) {
        const TSummaryBucket::TStats &stats = bucket.Values[static_cast<std::size_t>(value)];
        point.Min[value] = stats.Count > 0 ? stats.Min : kNone;
        point.Max[value] = stats.Count > 0 ? stats.Max : kNone;
        point.Mean[value] = stats.Count > 0 ? stats.Mean() : kNone;
    }
    return point;
}

// The hours of the month that [from, to) touches.
std::pair<int, int> HoursOf(const TDataSummary &summary, TDateTime from, TDateTime to)
{
    const TDateTime start = TDataSummary::HourStart(summary.Year(), summary.Month(), 0);
    const int hours = QDate(summary.Year(), summary.Month(), 1).daysInMonth() * 24;
    const double first = std::floor((from - start) * 24);
    const double last = std::ceil((to - start) * 24);
    return {static_cast<int>(std::clamp(first, 0.0, double(hours))), static_cast<int>(std::clamp(last, 0.0, double(hours)))};
}

} // namespace

TTrendQuery::TTrendQuery(QString recordDir)
    : FRecordDir(std::move(recordDir))
{
}

TTrendResolution TTrendQuery::ResolutionFor(TDateTime from, TDateTime to)
{
    return to - from <= kSamplePeriodDays ? TTrendResolution::Samples : TTrendResolution::Hours;
}

QStringList TTrendQuery::MonthFiles(TDateTime from, TDateTime to) const
{
    return MonthFilesOfPeriod(FRecordDir, from, to);
}

double TTrendQuery::GapBetweenSamples(const std::vector<TTrendPoint> &points)
{
    if (points.size() < 2)
        return std::numeric_limits<double>::infinity();
    std::vector<double> steps;
    steps.reserve(points.size() - 1);
    for (std::size_t i = 1; i < points.size(); ++i)
        steps.push_back(points[i].Start - points[i - 1].End);
    auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    return std::max(*middle * 2.5, kSecond);
}

std::optional<TTrendSeries> TTrendQuery::Load(std::uint8_t addr, TDateTime from, TDateTime to,
                                              TTrendResolution resolution, const TProgress &progress) const
{
    TTrendSeries series;
    series.Resolution = resolution;
    series.Addr = addr;
    series.From = from;
    series.To = to;
    for (const QString &path : MonthFiles(from, to))
        if (!LoadMonth(series, TDataSummary(path), progress))
            return std::nullopt;
    std::stable_sort(series.Points.begin(), series.Points.end(),
                     [](const TTrendPoint &a, const TTrendPoint &b) { return a.Start < b.Start; });
    // Hours of the summary follow one another without a pause; a missing
    // hour is a gap.
    series.GapDays = resolution == TTrendResolution::Hours ? kSecond : GapBetweenSamples(series.Points);
    return series;
}

bool TTrendQuery::LoadMonth(TTrendSeries &series, const TDataSummary &summary, const TProgress &progress) const
{
    const QString name = QFileInfo(summary.MonthFilePath()).fileName();
    auto reportAs = [&](TStep step) -> TDataSummary::TProgress {
        if (!progress)
            return {};
        return [&progress, &name, step](qint64 done, qint64 total) { return progress(step, name, done, total); };
    };
    std::optional<std::vector<TSummaryBucket>> buckets;
    try {
        if (!summary.MakeCurrent(reportAs(TStep::Summarising)))
            return false;
        buckets = summary.DeviceBuckets(series.Addr);
    } catch (const ELogFileError &) {
        // The summary cannot be written here (a read-only directory): work
        // the device's hours out of the month file itself.
    }
    if (!buckets) {
        buckets = summary.ScanDevice(series.Addr, reportAs(TStep::Reading));
        if (!buckets)
            return false;
    }

    const auto [firstHour, endHour] = HoursOf(summary, series.From, series.To);
    if (series.Resolution == TTrendResolution::Hours) {
        for (int hour = firstHour; hour < endHour; ++hour) {
            const TSummaryBucket &bucket = (*buckets)[static_cast<std::size_t>(hour)];
            if (bucket.Records > 0)
                series.Points.push_back(HourPoint(bucket, TDataSummary::HourStart(summary.Year(), summary.Month(), hour),
                                                  TDataSummary::HourStart(summary.Year(), summary.Month(), hour + 1)));
        }
        return true;
    }

    // Only the stretch of the file between the device's first and last
    // record of the period is read.
    std::uint32_t first = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t last = 0;
    for (int hour = firstHour; hour < endHour; ++hour) {
        const TSummaryBucket &bucket = (*buckets)[static_cast<std::size_t>(hour)];
        if (bucket.Records == 0)
            continue;
        first = std::min(first, bucket.FirstRecord);
        last = std::max(last, bucket.LastRecord);
    }
    if (first > last)
        return true;
    TDataFileReader reader;
    if (!reader.Open(summary.MonthFilePath()))
        return true;
    const std::uint32_t end = std::min(last + 1, reader.Count());
    return reader.Scan(
        first, end,
        [&](std::uint32_t, const std::uint8_t *bytes) {
            if (bytes[TDataRec::kAddrAt] != series.Addr)
                return;
            const TDataRec rec = TDataRec::ReadFrom(bytes);
            if (rec.Time >= series.From && rec.Time < series.To)
                series.Points.push_back(SamplePoint(rec));
        },
        [&](qint64 done) { return !progress || progress(TStep::Reading, name, done, end - first); });
}
