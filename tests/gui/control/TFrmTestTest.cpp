#include "gui/control/TFrmTest.h"

#include "app/TMonitorState.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct BatteryTestWindow : ::testing::Test {
    TMonitorState State;
    QStringList Messages;
    std::unique_ptr<TFrmTest> Window;

    BatteryTestWindow()
    {
        State.Settings.PortInfo.Protocol = 2;
        State.Selection.FSelDevAddr = 4;
    }
    TFrmTest &Open()
    {
        Window = std::make_unique<TFrmTest>(State);
        Window->ShowMessage = [this](const QString &text) { Messages << text; };
        return *Window;
    }
    QLineEdit *Time() { return Window->findChild<QLineEdit *>("Edit1"); }
    void Click(const char *name) { Window->findChild<QPushButton *>(name)->click(); }
    const TUpsCommand &Slot() { return State.CmdQueue.Slots[1]; }
};

TEST_F(BatteryTestWindow, StartAndCancelQueueTheTestTimeForTheSelectedDevice)
{
    Open();
    EXPECT_EQ(Time()->text(), "60");
    Click("Button1");
    EXPECT_EQ(Slot().Pending, 255);
    EXPECT_EQ(Slot().Addr, 4);
    EXPECT_EQ(Slot().StartReg, 20003u);
    EXPECT_EQ(State.CmdQueue.ControlValue, 60);

    // Cancelling before the engine took the slot leaves only the cancel.
    Click("Button2");
    EXPECT_EQ(Slot().Pending, 255);
    EXPECT_EQ(Slot().StartReg, 20003u);
    EXPECT_EQ(State.CmdQueue.ControlValue, 0);
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(BatteryTestWindow, TheBoxTakesDigitsOnlyAndMustNotBeEmpty)
{
    Open();
    Window->show();
    Time()->clear();
    QTest::keyClicks(Time(), "7a0-0.0 0x");
    EXPECT_EQ(Time()->text(), "70000");
    Click("Button1");
    EXPECT_EQ(State.CmdQueue.ControlValue, 4464);

    State.CmdQueue.Slots[1].Pending = 0;
    Time()->clear();
    Click("Button1");
    EXPECT_EQ(Messages, QStringList{"[Battery Test Time] value is invalid"});
    EXPECT_EQ(Slot().Pending, 0);
    EXPECT_TRUE(Window->isVisible()); // stays open after either button
}

TEST_F(BatteryTestWindow, TextThatArrivesWithoutKeyPressesIsFilteredToo)
{
    Open();
    Window->show();
    Time()->clear();
    // An input method commits whole strings, a paste or a drop inserts them.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("1\uFF12x")); // a full-width digit among them
    QCoreApplication::sendEvent(Time(), &commit);
    EXPECT_EQ(Time()->text(), "");
    Time()->insert(QStringLiteral("30 s"));
    EXPECT_EQ(Time()->text(), "");
    Time()->insert(QStringLiteral("30"));
    commit.setCommitString(QStringLiteral("5"));
    QCoreApplication::sendEvent(Time(), &commit);
    EXPECT_EQ(Time()->text(), "305");
}

TEST_F(BatteryTestWindow, NothingIsQueuedOutsideModbus)
{
    State.Settings.PortInfo.Protocol = 1;
    Open();
    Click("Button1");
    Click("Button2");
    EXPECT_FALSE(State.CmdQueue.AnyPending());
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(BatteryTestWindow, TextsFollowTheLanguageWhenShown)
{
    Open();
    State.Settings.Language = 1;
    Window->show();
    EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("电池自检"));
    EXPECT_EQ(Window->findChild<QLabel *>("Label1")->text(), QString::fromUtf8("自检时间（秒）"));
    EXPECT_EQ(Window->findChild<QPushButton *>("Button2")->text(), QString::fromUtf8("取消自检"));
    Window->hide();
    State.Settings.Language = 0;
    Window->show();
    EXPECT_EQ(Window->findChild<QPushButton *>("Button1")->text(), "Battery Test");
    EXPECT_EQ(Window->findChild<QPushButton *>("Button2")->text(), "Cancel Test");
}

} // namespace
