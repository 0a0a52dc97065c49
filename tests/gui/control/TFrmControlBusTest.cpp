// The control windows reached through the main window's menus, with the
// real polling engine and the bus simulator on a pseudo-terminal.
#include "gui/app/MainWindowFixture.h"
#include "gui/control/TFrmDataSet.h"
#include "gui/control/TFrmTest.h"
#include "gui/control/TFrmUserSet.h"
#include "gui/control/TfrmPSW.h"
#include "gui/control/TfrmTrunOn.h"
#include "gui/model/TFrmDeviceTree.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace {

class ControlWindows : public MainWindowFixture
{
protected:
    UpsSimProcess Sim;
    QString Password = QStringLiteral("LQW4817");
    QStringList Opened;
    // What the user does in a control window once it is open.
    std::function<void(QDialog &)> Act = [](QDialog &) {};

    TFrmMain &OpenWithHandler()
    {
        Open();
        Window->RunModal = [this](QDialog &window) {
            Opened << window.objectName();
            if (auto *prompt = qobject_cast<TfrmPSW *>(&window)) {
                prompt->ShowMessage = [this](const QString &text) { Messages << text; };
                prompt->findChild<QLineEdit *>("edtPSW")->setText(Password);
                prompt->btnOKClick();
                return;
            }
            Act(window);
        };
        return *Window;
    }

    void Trigger(const char *action) { Window->findChild<QAction *>(QLatin1String(action))->trigger(); }

    QString DeviceNode() { return Window->Tree()->topLevelItem(0)->text(0); }

    bool RunUntil(const std::function<bool()> &done, int timeoutMs = 30000)
    {
        return WaitUntil(
            [&] {
                Window->RefreshView();
                return done();
            },
            timeoutMs);
    }
};

TEST_F(ControlWindows, AWrongPasswordOpensNothing)
{
    WriteDevices({1});
    OpenWithHandler();
    Password = "LQW4817x";
    for (const char *action : {"mni301", "mniTurnOn"}) {
        Opened.clear();
        Trigger(action);
        EXPECT_EQ(Opened, QStringList{"frmPSW"}) << action;
    }
    EXPECT_EQ(State.ModelName, "LQW4817x");
    EXPECT_FALSE(State.CmdQueue.AnyPending());
}

TEST_F(ControlWindows, TheUserSettingsWindowIsOneWindowForTheRun)
{
    WriteDevices({1});
    OpenWithHandler();
    State.UpsInfo[1].LinkState = kLinkOnline;
    Window->UserSetClick();
    TFrmUserSet *window = Window->UserSet();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    window->close();
    Window->UserSetClick();
    EXPECT_EQ(Window->UserSet(), window);
    EXPECT_TRUE(window->isVisible());

    // It goes with the main window.
    ExitAnswer = true;
    Window->show();
    ASSERT_TRUE(Window->close());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ControlWindows, CommandsReachTheSimulatedUnit)
{
    ASSERT_TRUE(Sim.Start({"--protocol", "modbus", "--units", "1", "--steady", "--set", "softstart=1"}))
        << Sim.ErrorText().toStdString();
    WriteSettings(QStringLiteral("[CommPort]\nComName=%1\nProtocol=2\nReadIntervalTimeout=30\n[CommMast]\nPollMode=1\n")
                      .arg(Sim.PortPath())
                      .toUtf8());
    WriteDevices({1});
    OpenWithHandler();
    Window->StartEngine();
    ASSERT_TRUE(Window->PortOpened());
    ASSERT_TRUE(RunUntil([&] { return DeviceNode() == "UPS1  (Online)"; })) << DeviceNode().toStdString();

    // A battery test of 60 s.
    Act = [](QDialog &window) {
        auto *test = qobject_cast<TFrmTest *>(&window);
        ASSERT_NE(test, nullptr);
        EXPECT_EQ(test->findChild<QLineEdit *>("Edit1")->text(), "60");
        test->Button1Click();
    };
    Trigger("mni301");
    EXPECT_EQ(Opened, (QStringList{"frmPSW", "FrmTest"}));
    EXPECT_TRUE(RunUntil([&] { return DeviceNode() == "UPS1  (Battery Self-Test)"; })) << DeviceNode().toStdString();

    // Off, then on again through the soft start.
    auto turn = [&](int item) {
        Act = [item](QDialog &window) {
            window.findChild<QRadioButton *>(QStringLiteral("rg1Item%1").arg(item))->setChecked(true);
            qobject_cast<TfrmTrunOn *>(&window)->btnSureClick();
        };
        Trigger("mniTurnOn");
    };
    turn(1);
    EXPECT_TRUE(RunUntil([&] { return DeviceNode() == "UPS1  (Standby Status)"; })) << DeviceNode().toStdString();
    turn(0);
    EXPECT_TRUE(RunUntil([&] { return DeviceNode() == "UPS1  (Online)"; })) << DeviceNode().toStdString();

    // A parameter write shows in the user settings window once read back.
    Window->UserSetClick();
    TFrmUserSet *userSet = Window->UserSet();
    auto boostTime = [&] {
        userSet->Timer1Timer();
        return userSet->findChild<QLineEdit *>("edtBoostLast")->text();
    };
    ASSERT_TRUE(RunUntil([&] { return !boostTime().isEmpty(); }));
    ASSERT_NE(boostTime(), "45");
    TFrmDataSet dataSet(State, [this] { return Window->PortOpened(); });
    dataSet.ShowMessage = [this](const QString &text) { Messages << text; };
    dataSet.ListBox1Click(14);
    dataSet.findChild<QLineEdit *>("Edit1")->setText("45");
    dataSet.btnSetToClick();
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(", ").toStdString();
    EXPECT_TRUE(RunUntil([&] { return boostTime() == "45"; })) << boostTime().toStdString();
}

} // namespace
