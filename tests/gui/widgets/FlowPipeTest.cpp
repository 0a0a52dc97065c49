#include "WidgetProbe.h"

#include "gui/widgets/FlowPipe.h"
#include "model/BatteryFlow.h"

#include <gtest/gtest.h>

namespace {

BatteryFlow Running(FlowDirection direction, int intervalMs)
{
    return {true, true, direction, intervalMs};
}

} // namespace

TEST(FlowPipe, StepsOneWayWhenChargingAndTheOtherWhenDischarging)
{
    const int last = FlowPipe::kStepsPerPitch - 1;
    const struct {
        FlowDirection direction;
        int phases[3];
    } cases[] = {
        {FlowDirection::Forward, {1, 2, 3}},
        {FlowDirection::Reverse, {last, last - 1, last - 2}},
    };
    for (const auto &c : cases) {
        FlowPipe pipe;
        pipe.apply(Running(c.direction, 100));
        for (int expected : c.phases) {
            pipe.advance();
            EXPECT_EQ(pipe.phase(), expected);
        }
    }

    FlowPipe pipe;
    pipe.apply(Running(FlowDirection::Forward, 100));
    for (int i = 0; i < FlowPipe::kStepsPerPitch; ++i)
        pipe.advance();
    EXPECT_EQ(pipe.phase(), 0) << "a full pitch of steps wraps around";
}

TEST(FlowPipe, TakesSpeedDirectionAndVisibilityFromTheBatteryRule)
{
    BatteryFlowInput discharging;
    discharging.linkState = 0;
    discharging.protocol = 2;
    discharging.state = 5;
    discharging.cmmState1 = 0x0100;
    discharging.dischargeCurrent = 10.7;

    QWidget page;
    FlowPipe pipe(&page);
    page.show();
    pipe.apply(BatteryFlowFor(discharging));
    EXPECT_TRUE(pipe.isVisible());
    EXPECT_TRUE(pipe.isFlowing());
    EXPECT_EQ(pipe.direction(), FlowDirection::Reverse);
    EXPECT_EQ(pipe.interval(), 280);
    EXPECT_TRUE(pipe.isAnimating());

    BatteryFlowInput linkLost = discharging;
    linkLost.linkState = 1;
    pipe.apply(BatteryFlowFor(linkLost));
    EXPECT_FALSE(pipe.isVisible());
    EXPECT_FALSE(pipe.isAnimating());
}

TEST(FlowPipe, RestsAndHidesItsBoxesWhileTheFlowIsOff)
{
    QWidget page;
    FlowPipe pipe(&page);
    page.show();
    pipe.apply(Running(FlowDirection::Forward, 20));
    const QImage running = WidgetProbe::Render(pipe, QSize(200, 16));
    pipe.advance();
    EXPECT_NE(WidgetProbe::Render(pipe, QSize(200, 16)), running) << "a step moves the boxes";

    pipe.apply({true, false, FlowDirection::Forward, 500});
    EXPECT_FALSE(pipe.isAnimating());
    const int phase = pipe.phase();
    const QImage still = WidgetProbe::Render(pipe, QSize(200, 16));
    pipe.advance();
    EXPECT_EQ(pipe.phase(), phase);
    EXPECT_LT(WidgetProbe::ColourCount(still), WidgetProbe::ColourCount(running)) << "no green boxes";

    pipe.setInterval(0);
    EXPECT_EQ(pipe.interval(), 1);
}
