#include "gui/control/TfrmTrunOn.h"

#include "app/TMonitorState.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

struct RemoteControlWindow : ::testing::Test {
    TMonitorState State;
    std::unique_ptr<TfrmTrunOn> Window;

    TfrmTrunOn &Open()
    {
        State.Selection.FSelDevAddr = 3;
        Window = std::make_unique<TfrmTrunOn>(State);
        return *Window;
    }
    QRadioButton *Item(int i) { return Window->findChild<QRadioButton *>(QStringLiteral("rg1Item%1").arg(i)); }
    void Ok() { Window->findChild<QPushButton *>("btnSure")->click(); }
};

TEST_F(RemoteControlWindow, OkSendsTheChosenCommandAndNothingWithoutAChoice)
{
    Open();
    EXPECT_FALSE(Item(0)->isChecked());
    EXPECT_FALSE(Item(1)->isChecked());
    Ok();
    EXPECT_FALSE(State.CmdQueue.AnyPending());

    const struct { int item; std::uint32_t reg; } cases[] = {{0, 20001}, {1, 20002}};
    for (const auto &c : cases) {
        State.CmdQueue = TCommandQueue{};
        Item(c.item)->setChecked(true);
        Ok();
        const TUpsCommand &slot = State.CmdQueue.Slots[1];
        EXPECT_EQ(slot.Pending, 255);
        EXPECT_EQ(slot.Addr, 3);
        EXPECT_EQ(slot.FuncCode, 6);
        EXPECT_EQ(slot.StartReg, c.reg);
        EXPECT_EQ(State.CmdQueue.ControlValue, 1);
    }
}

TEST_F(RemoteControlWindow, EnglishOnlyForLanguageZero)
{
    const struct { quint8 language; const char *title; const char *panel; const char *off; } cases[] = {
        {0, "Remote Control", "Turn  On/Off  UPS", "Off"},
        {1, "用户控制", "遥控", "关机"},
        {2, "用户控制", "遥控", "关机"},
    };
    for (const auto &c : cases) {
        State.Settings.Language = c.language;
        Open();
        EXPECT_EQ(Window->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(Window->findChild<QLabel *>("pnl1")->text(), QString::fromUtf8(c.panel));
        EXPECT_EQ(Item(1)->text(), QString::fromUtf8(c.off));
    }
}

TEST_F(RemoteControlWindow, ClosesWhenAnotherWindowBecomesActive)
{
    Open();
    Window->show();
    QApplication::setActiveWindow(Window.get());
    ASSERT_TRUE(Window->isActiveWindow());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(Window->isVisible());
    EXPECT_EQ(Window->result(), QDialog::Rejected);
}

} // namespace
