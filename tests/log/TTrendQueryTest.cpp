#include "log/TTrendQuery.h"

#include "log/TDataSummary.h"
#include "log/TRecFilter.h"
#include "log/TTrendGrid.h"
#include "log/TrendAxes.h"
#include "log/TrendDecimation.h"
#include "support/DiskFaults.h"
#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kMinute = 1.0 / 1440;
constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

// Devices 1 and 2 every 10 minutes from 27 February to 2 March 2009;
// device 1 is offline from 28 February 20:00 to 1 March 02:00. Input
// voltage A counts the runs.
struct TrendQueryTest : ::testing::Test {
    QTemporaryDir Dir;
    TTrendQuery Query{Dir.path()};

    void SetUp() override
    {
        std::vector<TDataRec> february, march;
        const TDateTime start = At(2009, 2, 27);
        for (int run = 0; run < 4 * 144; ++run) {
            const TDateTime time = start + run * 10 * kMinute;
            auto &month = time < At(2009, 3, 1) ? february : march;
            const bool offline = time >= At(2009, 2, 28, 20) && time < At(2009, 3, 1, 2);
            if (!offline)
                month.push_back(Sample(time, 1, run));
            month.push_back(Sample(time, 2, 1000 + run));
        }
        WriteRecordFile(TRecFilter::MonthFilePath(Dir.path(), 2009, 2), february);
        WriteRecordFile(TRecFilter::MonthFilePath(Dir.path(), 2009, 3), march);
    }
    static std::vector<double> Volts(const TTrendSeries &series)
    {
        std::vector<double> volts;
        for (const TTrendPoint &point : series.Points)
            volts.push_back(point.Mean[kTrendInputVoltA]);
        return volts;
    }
};

} // namespace

TEST_F(TrendQueryTest, SamplesOfOneDeviceAcrossTwoMonthFilesWithTheGapWhereItWasOffline)
{
    const auto series = Query.Load(1, At(2009, 2, 28, 19, 30), At(2009, 3, 1, 2, 20), TTrendResolution::Samples);
    ASSERT_TRUE(series.has_value());
    // 19:30 to 19:50 in February, 02:00 to 02:10 in March; the end is not included.
    EXPECT_EQ(Volts(*series), (std::vector<double>{261, 262, 263, 300, 301}));
    EXPECT_NEAR(series->GapDays, 25 * kMinute, 1e-9);
    for (const QString &month : Query.MonthFiles(At(2009, 2, 1), At(2009, 3, 31)))
        EXPECT_EQ(TDataSummary(month).State(), TDataSummary::TState::Current) << month.toStdString();

    // 100 pixels over the period: the line breaks once, where the device was away.
    const std::vector<TPlotColumn> columns = DecimateTrend(*series, kTrendInputVoltA, series->From, series->To, 100);
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(std::count_if(columns.begin(), columns.end(), [](const TPlotColumn &c) { return c.BreakBefore; }), 1);
    EXPECT_TRUE(columns[3].BreakBefore);
    EXPECT_EQ(columns[3].Min, 300);
}

TEST_F(TrendQueryTest, HoursFromTheSummariesWithTheLowestHighestAndMean)
{
    const auto series = Query.Load(1, At(2009, 2, 27), At(2009, 3, 3), TTrendResolution::Hours);
    ASSERT_TRUE(series.has_value());
    ASSERT_EQ(series->Points.size(), 4u * 24 - 6); // six hours offline
    const TTrendPoint &first = series->Points[0];
    EXPECT_EQ(first.Start, At(2009, 2, 27));
    EXPECT_EQ(first.End, At(2009, 2, 27, 1));
    EXPECT_EQ(first.Records, 6u);
    EXPECT_EQ(first.Min[kTrendInputVoltA], 0);
    EXPECT_EQ(first.Max[kTrendInputVoltA], 5);
    EXPECT_FLOAT_EQ(first.Mean[kTrendInputVoltA], 2.5);
    EXPECT_EQ(series->Points[43].Start, At(2009, 2, 28, 19)); // the last hour before the gap
    EXPECT_EQ(series->Points[44].Start, At(2009, 3, 1, 2));

    // One pixel per hour: the missing hours break the line, the others join.
    const auto columns = DecimateTrend(*series, kTrendInputVoltA, series->From, series->To, 96);
    ASSERT_EQ(columns.size(), 90u);
    EXPECT_EQ(columns[44].X, 50);
    EXPECT_TRUE(columns[44].BreakBefore);
    EXPECT_EQ(std::count_if(columns.begin(), columns.end(), [](const TPlotColumn &c) { return c.BreakBefore; }), 1);

    TTrendGrid grid(*series, At(2009, 2, 27), At(2009, 2, 27, 2), 0);
    EXPECT_EQ(grid.GridRowCount(), 2);
    EXPECT_EQ(grid.GridHeaderText(2).toStdString(), "Records");
    EXPECT_EQ(grid.GridHeaderText(3).toStdString(), "InV-A (V) mean");
    EXPECT_EQ(grid.GridHeaderText(5).toStdString(), "InV-A (V) max");
    EXPECT_EQ(TTrendGrid(*series, 0, 1, 1).GridHeaderText(4).toStdString(), "输入A相电压(V) 最小");
    EXPECT_EQ(grid.GridCellText(1, 0).toStdString(), "2009-02-27 01:00:00");
    EXPECT_EQ(grid.GridCellText(1, 1).toStdString(), "1");
    EXPECT_EQ(grid.GridCellText(1, 2).toStdString(), "6");
    EXPECT_EQ(grid.GridCellText(1, 3).toStdString(), "8.5");
    EXPECT_EQ(grid.GridCellText(1, 4).toStdString(), "6.0");
    EXPECT_EQ(grid.GridCellText(1, 5).toStdString(), "11.0");
}

TEST_F(TrendQueryTest, ARecordDirectoryThatTakesNoSummaryIsReadAllTheSame)
{
    ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), 0555), 0);
    std::optional<TTrendSeries> series;
    {
        WithoutPermissionOverride user;
        series = Query.Load(1, At(2009, 3, 1, 2), At(2009, 3, 1, 2, 30), TTrendResolution::Samples);
    }
    ::chmod(QFile::encodeName(Dir.path()).constData(), 0755);
    ASSERT_TRUE(series.has_value());
    EXPECT_EQ(Volts(*series), (std::vector<double>{300, 301, 302}));
    EXPECT_FALSE(QFile::exists(TDataSummary::SummaryPathFor(TRecFilter::MonthFilePath(Dir.path(), 2009, 3))));
}

TEST_F(TrendQueryTest, StoppingTheProgressStopsTheLoad)
{
    int heard = 0;
    const auto stopped = Query.Load(2, At(2009, 2, 27), At(2009, 3, 3), TTrendResolution::Samples,
                                    [&](TTrendQuery::TStep, const QString &, qint64, qint64) { return ++heard < 1; });
    EXPECT_FALSE(stopped.has_value());
    EXPECT_EQ(heard, 1);
}

TEST(TrendDecimation, ColumnsKeepTheLowestAndHighestAndRunToTheEdges)
{
    TTrendSeries series;
    series.GapDays = 2;
    auto point = [](TDateTime at, float value) {
        TTrendPoint p;
        p.Start = p.End = at;
        p.Min.fill(value);
        p.Max.fill(value);
        p.Mean.fill(value);
        return p;
    };
    // Over [10, 20) on 10 pixels, one day a pixel.
    for (auto [at, value] : std::vector<std::pair<double, float>>{
             {5, 1}, {8.5, 2}, {10.2, 3}, {10.7, 9}, {11.5, kNone}, {12.4, 4}, {16.1, 5}, {21, 6}, {22, 7}})
        series.Points.push_back(point(at, value));
    const std::vector<TPlotColumn> columns = DecimateTrend(series, kTrendDcVolt, 10, 20, 10);
    struct Expected {
        int X;
        float Min, Max, Mean;
        bool Break;
    } const expected[] = {{-1, 2, 2, 2, false}, {0, 3, 9, 6, false}, {2, 4, 4, 4, false}, {6, 5, 5, 5, true},
                          {10, 6, 6, 6, true}};
    ASSERT_EQ(columns.size(), std::size(expected));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].X, expected[i].X) << i;
        EXPECT_EQ(columns[i].Min, expected[i].Min) << i;
        EXPECT_EQ(columns[i].Max, expected[i].Max) << i;
        EXPECT_EQ(columns[i].Mean, expected[i].Mean) << i;
        EXPECT_EQ(columns[i].BreakBefore, expected[i].Break) << i;
    }
    EXPECT_TRUE(DecimateTrend(series, kTrendDcVolt, 20, 10, 10).empty());
}

TEST(TrendAxes, TimeMarksFallOnRoundTimesAndValueMarksOnRoundNumbers)
{
    auto labels = [](const std::vector<TTimeTick> &ticks) {
        std::vector<std::string> texts;
        for (const TTimeTick &tick : ticks)
            texts.push_back(tick.Label.toStdString());
        return texts;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(labels(TimeTicks(At(2009, 3, 1, 21, 10), At(2009, 3, 2, 3), 3)),
              (Texts{"22:00", "03-02", "02:00"}));
    EXPECT_EQ(labels(TimeTicks(At(2009, 3, 1, 21, 10), At(2009, 3, 2, 3), 8)),
              (Texts{"22:00", "23:00", "03-02", "01:00", "02:00", "03:00"}));
    EXPECT_EQ(labels(TimeTicks(At(2009, 3, 3), At(2009, 3, 25), 4)), (Texts{"03-09", "03-16", "03-23"})); // Mondays
    EXPECT_EQ(labels(TimeTicks(At(2009, 1, 15), At(2010, 1, 15), 5)), (Texts{"2009-04", "2009-07", "2009-10", "2010-01"}));
    EXPECT_TRUE(TimeTicks(1, 1, 5).empty());

    EXPECT_EQ(ValueTicks(218.3, 241.7, 5), (std::vector<double>{220, 225, 230, 235, 240}));
    EXPECT_EQ(ValueTicks(-0.4, 0.3, 4), (std::vector<double>{-0.4, -0.2, 0, 0.2}));
    EXPECT_TRUE(ValueTicks(5, 5, 4).empty());
    const TValueRange flat = PaddedRange(50, 50);
    EXPECT_LT(flat.Low, 50);
    EXPECT_GT(flat.High, 50);
}
