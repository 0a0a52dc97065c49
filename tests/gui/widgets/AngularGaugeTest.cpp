#include "WidgetProbe.h"

#include "gui/widgets/AngularGauge.h"
#include "model/GaugeScale.h"

#include <gtest/gtest.h>

#include <limits>

TEST(AngularGauge, KeepsTheReadingWhileTheNeedleStopsAtTheEnd)
{
    AngularGauge gauge;
    gauge.setScale(InputVoltageScale());
    gauge.setUnit(QStringLiteral("V"));

    gauge.setValue(219.96);
    EXPECT_EQ(gauge.captionText(), QStringLiteral("220.0 V"));
    gauge.setValue(350.0);
    EXPECT_EQ(gauge.value(), 350.0);
    EXPECT_EQ(gauge.captionText(), QStringLiteral("350.0 V"));

    gauge.setDecimals(0);
    gauge.setUnit(QString());
    gauge.setValue(45.6);
    EXPECT_EQ(gauge.captionText(), QStringLiteral("46"));

    gauge.setValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(gauge.captionText().isEmpty());
}

TEST(AngularGauge, NeedleMovesWithTheValue)
{
    AngularGauge gauge;
    gauge.setScale(InputVoltageScale());
    gauge.setValue(60.0);
    const QImage low = WidgetProbe::Render(gauge, QSize(160, 160));
    gauge.setValue(240.0);
    const QImage high = WidgetProbe::Render(gauge, QSize(160, 160));
    // The needle sits in the upper half of the dial at both values, on the
    // left at 60 V and on the right at 240 V; compare the two upper quarters.
    const QRect upperLeft(10, 20, 60, 50);
    const QRect upperRight(90, 20, 60, 50);
    EXPECT_NE(low.copy(upperLeft), high.copy(upperLeft));
    EXPECT_NE(low.copy(upperRight), high.copy(upperRight));
}
