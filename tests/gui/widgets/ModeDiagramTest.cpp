#include "WidgetProbe.h"

#include "gui/widgets/ModeDiagram.h"

#include <gtest/gtest.h>

TEST(ModeDiagram, EachModeHasItsOwnPictureAndNoneIsBlank)
{
    const UpsMode modes[] = {UpsMode::Standby, UpsMode::Online,  UpsMode::Bypass, UpsMode::Battery,
                             UpsMode::Test,    UpsMode::Economy, UpsMode::Fault};
    ModeDiagram diagram;
    std::vector<QImage> pictures;
    for (UpsMode mode : modes) {
        diagram.setMode(mode);
        pictures.push_back(WidgetProbe::Render(diagram, diagram.sizeHint()));
    }
    for (size_t a = 0; a < pictures.size(); ++a)
        for (size_t b = a + 1; b < pictures.size(); ++b)
            EXPECT_NE(pictures[a], pictures[b]) << "modes " << a << " and " << b << " look alike";

    diagram.setMode(UpsMode::None);
    EXPECT_EQ(WidgetProbe::ColourCount(WidgetProbe::Render(diagram, diagram.sizeHint())), 1);
}

TEST(ModeDiagram, AnimatesOnlyWhileShowingAMode)
{
    QWidget page;
    ModeDiagram diagram(&page);
    diagram.setMode(UpsMode::Online);
    EXPECT_FALSE(diagram.isAnimating()) << "hidden";
    page.show();
    EXPECT_TRUE(diagram.isAnimating());

    const QImage before = WidgetProbe::Render(diagram, diagram.sizeHint());
    diagram.advance();
    EXPECT_EQ(diagram.phase(), 1);
    EXPECT_NE(WidgetProbe::Render(diagram, diagram.sizeHint()), before) << "the dashes move on";

    diagram.setMode(UpsMode::None);
    EXPECT_FALSE(diagram.isAnimating());
    diagram.advance();
    EXPECT_EQ(diagram.phase(), 1);
}
