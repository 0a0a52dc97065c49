#include "model/UpsMode.h"

#include <gtest/gtest.h>

TEST(UpsMode, EachStateHasItsPicture)
{
    const struct {
        int state;
        UpsMode mode;
    } cases[] = {
        {-1, UpsMode::None},     {1, UpsMode::Standby},  {2, UpsMode::Standby},  {3, UpsMode::Bypass},
        {4, UpsMode::Online},    {5, UpsMode::Battery},  {6, UpsMode::Test},     {7, UpsMode::Standby},
        {8, UpsMode::Economy},   {9, UpsMode::Standby},  {10, UpsMode::Standby}, {11, UpsMode::Fault},
        {18, UpsMode::Standby},  {0, UpsMode::Standby},  {-2, UpsMode::Standby},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ModeForState(c.state), c.mode) << c.state;
}
