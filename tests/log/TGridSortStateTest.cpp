#include "log/TGridSortState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TButton = TGridSortState::TButton;

// One click: a press and a release at the same place.
struct Click {
    bool InHeader;
    int Column;
    TButton Button = TButton::Left;
};

struct Shown {
    int SortCol;
    int SortDir;
    int ShownDir;
};

Shown RunClicks(bool dataClickSorts, const std::vector<Click> &clicks)
{
    TGridSortState state(dataClickSorts);
    state.ApplySort();
    for (const Click &c : clicks) {
        state.Pressed(c.InHeader, c.Column, c.Button);
        state.Released(c.InHeader, c.Button);
    }
    return {state.SortCol(), state.SortDir(), state.ShownDir()};
}

} // namespace

TEST(TGridSortState, ClicksOnHeaderAndRowsAsTheViewersAnswerThem)
{
    const bool eventViewer = false, dataViewer = true;
    struct Case {
        const char *Name;
        bool DataClickSorts;
        std::vector<Click> Clicks;
        Shown Expected;
    } const cases[] = {
        {"event: header of column 1 sorts by time descending on screen", eventViewer, {{true, 1}}, {1, 0, 1}},
        {"event: then a data-row click shows ascending", eventViewer, {{true, 1}, {false, 3}}, {1, 0, 0}},
        {"event: second header click on the same column", eventViewer, {{true, 1}, {true, 1}}, {1, 1, 0}},
        {"event: header click on the sort column flips FSortDir", eventViewer, {{true, 0}}, {0, 1, 0}},
        {"event: right button does nothing", eventViewer, {{true, 2, TButton::Right}}, {0, 0, 0}},
        {"event: middle button on header picks without the grid's reversal", eventViewer,
         {{true, 2, TButton::Other}}, {2, 0, 0}},
        {"data: data cell of column 3 sorts ascending", dataViewer, {{false, 3}}, {3, 0, 0}},
        {"data: second data click on column 3 descending", dataViewer, {{false, 3}, {false, 3}}, {3, 1, 1}},
        {"data: then header of column 5 shows ascending with FSortDir 1", dataViewer,
         {{false, 3}, {false, 3}, {true, 5}}, {5, 1, 0}},
    };
    for (const Case &c : cases) {
        const Shown got = RunClicks(c.DataClickSorts, c.Clicks);
        EXPECT_EQ(got.SortCol, c.Expected.SortCol) << c.Name;
        EXPECT_EQ(got.SortDir, c.Expected.SortDir) << c.Name;
        EXPECT_EQ(got.ShownDir, c.Expected.ShownDir) << c.Name;
    }
}

TEST(TGridSortState, ReleaseOutsideTheHeaderOfAHeaderPressDoesNotReverse)
{
    TGridSortState state(false);
    EXPECT_TRUE(state.Pressed(true, 2, TButton::Left));
    EXPECT_FALSE(state.Released(false, TButton::Left));
    EXPECT_EQ(state.ShownDir(), 0);
}

TEST(TGridSortState, DebugText)
{
    TGridSortState state(true);
    EXPECT_EQ(state.DebugText().toStdString(), "FSortCol:0    FSortDir: ASC");
    state.Pressed(false, 12, TButton::Left);
    state.Pressed(false, 12, TButton::Left);
    EXPECT_EQ(state.DebugText().toStdString(), "FSortCol:12    FSortDir: DEC");
}
