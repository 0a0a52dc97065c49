#include "model/VoltageTrend.h"

#include <gtest/gtest.h>

TEST(VoltageTrend, StartsOverWhenItReachesOneHundredTwentySamples)
{
    VoltageTrend trend;
    for (int i = 1; i < VoltageTrend::kRestartCount; ++i)
        EXPECT_FALSE(trend.append({220.0, 221.0, 222.0, QStringLiteral("10:00:00")})) << i;
    EXPECT_EQ(trend.count(), 119);

    EXPECT_TRUE(trend.append({230.0, 231.0, 232.0, QStringLiteral("10:00:01")}));
    EXPECT_EQ(trend.count(), 0);

    EXPECT_FALSE(trend.append({240.0, 241.0, 242.0, QStringLiteral("10:00:02")}));
    ASSERT_EQ(trend.count(), 1);
    EXPECT_EQ(trend.samples()[0].a, 240.0);
    EXPECT_EQ(trend.samples()[0].time, QStringLiteral("10:00:02"));
}
