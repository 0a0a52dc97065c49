#include "model/GaugeScale.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct BandCase {
    const char *scale;
    double value;
    BandColour expected;
};

GaugeScale ScaleNamed(const std::string &name)
{
    if (name == "input")
        return InputVoltageScale();
    if (name == "output")
        return OutputVoltageScale();
    return LoadPercentScale();
}

} // namespace

TEST(GaugeScale, BandsColourTheirValues)
{
    const BandCase cases[] = {
        {"input", 0.0, BandColour::Yellow},    {"input", 119.9, BandColour::Yellow},
        {"input", 120.0, BandColour::Green},   {"input", 275.9, BandColour::Green},
        {"input", 276.0, BandColour::Red},     {"input", 300.0, BandColour::Red},
        {"input", 380.0, BandColour::Red},     {"input", -5.0, BandColour::Yellow},
        {"output", 204.9, BandColour::Yellow}, {"output", 205.0, BandColour::Green},
        {"output", 244.9, BandColour::Green},  {"output", 245.0, BandColour::Red},
        {"load", 99.9, BandColour::Green},     {"load", 100.0, BandColour::Red},
        {"load", 150.0, BandColour::Red},
    };
    for (const BandCase &c : cases)
        EXPECT_EQ(BandColourAt(ScaleNamed(c.scale), c.value), c.expected) << c.scale << " " << c.value;
    EXPECT_FALSE(BandColourAt(InputVoltageScale(), kNaN).has_value());
}

TEST(GaugeScale, RangesAndTicks)
{
    const GaugeScale input = InputVoltageScale();
    EXPECT_EQ(input.minimum, 0.0);
    EXPECT_EQ(input.maximum, 300.0);
    const double expectedTicks[] = {0, 60, 120, 180, 240, 300};
    ASSERT_EQ(input.majorTicks, 6);
    for (int i = 0; i < input.majorTicks; ++i)
        EXPECT_DOUBLE_EQ(MajorTickValue(input, i), expectedTicks[i]);
    EXPECT_EQ(LoadPercentScale().maximum, 150.0);
}

TEST(GaugeScale, FractionStopsAtTheEnds)
{
    const GaugeScale input = InputVoltageScale();
    EXPECT_DOUBLE_EQ(ScaleFraction(input, 150.0), 0.5);
    EXPECT_DOUBLE_EQ(ScaleFraction(input, -20.0), 0.0);
    EXPECT_DOUBLE_EQ(ScaleFraction(input, 450.0), 1.0);
    EXPECT_DOUBLE_EQ(ScaleFraction(input, kNaN), 0.0);
    EXPECT_DOUBLE_EQ(ScaleFraction(input, std::numeric_limits<double>::infinity()), 1.0);
}

TEST(GaugeScale, LoadBarLightsSegmentsAsTheValueEntersThem)
{
    const GaugeScale load = LoadPercentScale();
    const struct {
        double value;
        int lit;
    } cases[] = {{0.0, 0},  {-3.0, 0},  {0.1, 1},   {5.0, 1},   {46.0, 10}, {100.0, 20},
                 {100.1, 21}, {150.0, 30}, {200.0, 30}, {kNaN, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(LitSegments(load, c.value, 30), c.lit) << c.value;
}

TEST(GaugeScale, LoadBarTurnsRedAboveFullLoad)
{
    const GaugeScale load = LoadPercentScale();
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(SegmentColour(load, i, 30), i < 20 ? BandColour::Green : BandColour::Red) << i;
    // An odd segment count puts the 100 % edge inside a segment: its middle decides.
    EXPECT_EQ(SegmentColour(load, 6, 9), BandColour::Red);  // 100..116.7
    EXPECT_EQ(SegmentColour(load, 5, 9), BandColour::Green); // 83.3..100
}
