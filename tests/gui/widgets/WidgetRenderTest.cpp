#include "WidgetProbe.h"

#include "gui/widgets/AngularGauge.h"
#include "gui/widgets/FlowPipe.h"
#include "gui/widgets/LedBar.h"
#include "gui/widgets/LedIndicator.h"
#include "gui/widgets/ModeDiagram.h"
#include "model/GaugeScale.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct WidgetCase {
    const char *name;
    std::function<std::unique_ptr<QWidget>()> make;
};

std::vector<WidgetCase> AllWidgets()
{
    return {
        {"gauge",
         [] {
             auto gauge = std::make_unique<AngularGauge>();
             gauge->setScale(InputVoltageScale());
             gauge->setValue(220.0);
             return gauge;
         }},
        {"ledbar",
         [] {
             auto bar = std::make_unique<LedBar>();
             bar->setValue(46.0);
             return bar;
         }},
        {"led", [] { return std::make_unique<LedIndicator>(); }},
        {"pipe",
         [] {
             auto pipe = std::make_unique<FlowPipe>();
             pipe->setFlowing(true);
             return pipe;
         }},
        {"diagram",
         [] {
             auto diagram = std::make_unique<ModeDiagram>();
             diagram->setMode(UpsMode::Online);
             return diagram;
         }},
    };
}

} // namespace

TEST(WidgetRender, EveryWidgetDrawsAtSmallHintedAndLargeSizes)
{
    for (const WidgetCase &c : AllWidgets()) {
        std::unique_ptr<QWidget> widget = c.make();
        const QSize hint = widget->sizeHint();
        ASSERT_TRUE(hint.isValid()) << c.name;
        EXPECT_TRUE(hint.width() >= widget->minimumSizeHint().width()
                    && hint.height() >= widget->minimumSizeHint().height())
            << c.name;
        for (const QSize size : {widget->minimumSizeHint(), hint, hint * 3}) {
            const QImage image = WidgetProbe::Render(*widget, size);
            EXPECT_GT(WidgetProbe::ColourCount(image), 3)
                << c.name << " at " << size.width() << "x" << size.height();
        }
        // A squeezed widget must not crash or draw outside itself.
        EXPECT_EQ(WidgetProbe::Render(*widget, QSize(3, 3)).size(), QSize(3, 3)) << c.name;
    }
}

TEST(WidgetRender, UnchangedValuesDoNotRepaint)
{
    AngularGauge gauge;
    gauge.setValue(220.0);
    EXPECT_EQ(WidgetProbe::PaintsDuring(gauge, [&] { gauge.setValue(220.0); }), 0);
    EXPECT_GT(WidgetProbe::PaintsDuring(gauge, [&] { gauge.setValue(221.0); }), 0);

    LedBar bar; // 30 segments of 5 %: 41 and 44 light the same nine
    bar.setValue(41.0);
    EXPECT_EQ(WidgetProbe::PaintsDuring(bar, [&] { bar.setValue(44.0); }), 0);
    EXPECT_EQ(bar.value(), 44.0);
    EXPECT_GT(WidgetProbe::PaintsDuring(bar, [&] { bar.setValue(46.0); }), 0);

    LedIndicator led;
    led.setOn(true);
    EXPECT_EQ(WidgetProbe::PaintsDuring(led, [&] { led.setOn(true); }), 0);
    EXPECT_GT(WidgetProbe::PaintsDuring(led, [&] { led.setOn(false); }), 0);

    ModeDiagram diagram;
    diagram.setMode(UpsMode::Bypass);
    EXPECT_EQ(WidgetProbe::PaintsDuring(diagram, [&] { diagram.setMode(UpsMode::Bypass); }), 0);
}
