#include "gui/widgets/VoltageChart.h"

#include <gtest/gtest.h>

#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>

TEST(VoltageChart, FixedAxesAndColouredPhaseSeries)
{
    VoltageChart chart;
    EXPECT_EQ(chart.timeAxis()->min(), 1);
    EXPECT_EQ(chart.timeAxis()->max(), 120);
    EXPECT_EQ(chart.timeAxis()->titleText(), QStringLiteral("Time"));
    EXPECT_EQ(chart.voltageAxis()->min(), 180);
    EXPECT_EQ(chart.voltageAxis()->max(), 300);
    EXPECT_EQ(chart.voltageAxis()->titleText(), QStringLiteral("V"));

    const char *names[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(chart.series(i)->name(), QString::fromLatin1(names[i]));
        EXPECT_FALSE(chart.series(i)->pointsVisible()) << names[i];
    }
    EXPECT_EQ(chart.series(0)->pen().color(), QColor(Qt::red));
    EXPECT_EQ(chart.series(2)->pen().color(), QColor(Qt::blue));
    EXPECT_EQ(chart.series(1)->pen().color().hue(), 120);

    // The axes stay put whatever the values.
    chart.appendSample(400.0, 100.0, 230.0, QStringLiteral("12:00:00"));
    EXPECT_EQ(chart.voltageAxis()->max(), 300);
}

TEST(VoltageChart, PointsSitAtTheirIndexAndTheGraphRestarts)
{
    VoltageChart chart;
    for (int i = 0; i < 119; ++i)
        chart.appendSample(220.0 + i % 3, 221.0, 222.0, QStringLiteral("12:00:00"));
    ASSERT_EQ(chart.series(0)->count(), 119);
    EXPECT_EQ(chart.series(0)->at(0), QPointF(0.0, 220.0));
    EXPECT_EQ(chart.series(2)->at(118), QPointF(118.0, 222.0));

    chart.appendSample(230.0, 231.0, 232.0, QStringLiteral("12:00:01"));
    for (int phase = 0; phase < 3; ++phase)
        EXPECT_EQ(chart.series(phase)->count(), 0) << phase;

    chart.appendSample(240.0, 241.0, 242.0, QStringLiteral("12:00:02"));
    EXPECT_EQ(chart.series(1)->at(0), QPointF(0.0, 241.0));
}

TEST(VoltageChart, SinglePhaseStillFeedsTheHiddenSeries)
{
    VoltageChart chart;
    chart.setSinglePhase(true);
    EXPECT_FALSE(chart.chart()->legend()->isVisible());
    EXPECT_TRUE(chart.series(0)->isVisible());
    EXPECT_FALSE(chart.series(1)->isVisible());
    EXPECT_FALSE(chart.series(2)->isVisible());

    chart.appendSample(220.0, 221.0, 222.0, QStringLiteral("12:00:00"));
    EXPECT_EQ(chart.series(2)->count(), 1);
}
