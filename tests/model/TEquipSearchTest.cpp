#include "model/TEquipSearch.h"

#include "protocol/TEngineState.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Addrs = std::vector<std::uint8_t>;

struct EquipSearch : ::testing::Test {
    TEngineState Engine;
    TEquipSearch Search{Engine};
    int Changes = 0;

    EquipSearch() { Search.Changed = [this] { ++Changes; }; }

    // Addresses handed out until the search ends, the ending call included.
    Addrs RunToEnd()
    {
        Addrs probed;
        while (Search.Searching())
            probed.push_back(Search.NextSearchAddr());
        return probed;
    }
};

TEST_F(EquipSearch, TheStartNeverPassesTheEnd)
{
    EXPECT_EQ(Search.StartAddr(), 1);
    EXPECT_EQ(Search.EndAddr(), 16);
    const struct {
        int start, end;          // set in this order
        int wantStart, wantEnd;
    } cases[] = {
        {5, 9, 5, 9},
        {20, 9, 16, 16}, // the start is held at the end, then the end at the start
        {5, 3, 5, 5},    // and the end at the start
        {0, 300, 1, 252},
        {252, 252, 16, 252}, // the start is limited by the end as it was
    };
    for (const auto &c : cases) {
        TEquipSearch search(Engine);
        search.SetStartAddr(c.start);
        search.SetEndAddr(c.end);
        EXPECT_EQ(search.StartAddr(), c.wantStart) << c.start << ".." << c.end;
        EXPECT_EQ(search.EndAddr(), c.wantEnd) << c.start << ".." << c.end;
        EXPECT_EQ(search.StartMaximum(), search.EndAddr());
        EXPECT_EQ(search.EndMinimum(), search.StartAddr());
    }
}

TEST_F(EquipSearch, ARangeOfOneProbesOnlyThatAddress)
{
    Search.SetStartAddr(5);
    Search.SetEndAddr(5);
    Search.StartSearch();
    EXPECT_EQ(Engine.SearchMode, 255);
    EXPECT_EQ(Search.CurAddr(), 4);
    EXPECT_FALSE(Search.Completed());

    EXPECT_EQ(Search.NextSearchAddr(), 5);
    EXPECT_TRUE(Search.Searching());
    EXPECT_EQ(Search.NextSearchAddr(), 6);
    EXPECT_EQ(Engine.SearchMode, 0);
    EXPECT_TRUE(Search.Completed());
}

TEST_F(EquipSearch, TheWholeBusEndsWithoutWrappingTheAddress)
{
    Search.SetEndAddr(252);
    Search.StartSearch();
    const Addrs probed = RunToEnd();
    ASSERT_EQ(probed.size(), 253u);
    EXPECT_EQ(probed.front(), 1);
    EXPECT_EQ(probed[251], 252);
    EXPECT_EQ(probed.back(), 253);
}

TEST_F(EquipSearch, FoundAddressesAreListedOnceInNumericOrder)
{
    Search.StartSearch();
    for (std::uint8_t addr : {12, 3, 7, 3, 12})
        Search.AddressFound(addr);
    EXPECT_EQ(Search.Found(), (Addrs{3, 7, 12}));
}

TEST_F(EquipSearch, StoppingAndStartingAgainBeginsAfresh)
{
    Search.SetStartAddr(3);
    Search.StartSearch();
    Search.NextSearchAddr();
    Search.NextSearchAddr();
    Search.AddressFound(4);
    Search.ToggleSearch();
    EXPECT_EQ(Engine.SearchMode, 0);
    EXPECT_FALSE(Search.Completed()); // stopped by hand: no completion text
    EXPECT_EQ(Search.Found(), (Addrs{4}));

    Search.ToggleSearch();
    EXPECT_TRUE(Search.Searching());
    EXPECT_TRUE(Search.Found().empty());
    EXPECT_EQ(Search.NextSearchAddr(), 3);
}

TEST_F(EquipSearch, ACompletedSearchStartedAgainIsNoLongerCompleted)
{
    Search.SetEndAddr(2);
    Search.StartSearch();
    RunToEnd();
    ASSERT_TRUE(Search.Completed());
    Search.StartSearch();
    EXPECT_FALSE(Search.Completed());
}

TEST_F(EquipSearch, ANarrowedEndTakesEffectAtOnceAMovedStartDoesNot)
{
    Search.SetStartAddr(1);
    Search.SetEndAddr(10);
    Search.StartSearch();
    Search.NextSearchAddr();
    Search.NextSearchAddr();
    Search.SetStartAddr(6);
    EXPECT_EQ(Search.NextSearchAddr(), 3);
    Search.SetStartAddr(1);
    Search.SetEndAddr(3);
    EXPECT_EQ(Search.NextSearchAddr(), 4);
    EXPECT_FALSE(Search.Searching());
}

TEST_F(EquipSearch, TheViewHearsOfEveryStepAndNewAddressButNotOfARepeat)
{
    Search.StartSearch();
    Search.NextSearchAddr();
    Search.AddressFound(1);
    const int before = Changes;
    Search.AddressFound(1);
    EXPECT_EQ(Changes, before);
    EXPECT_EQ(before, 3);
}

} // namespace
