#include "gui/control/TFrmUserSet.h"

#include "app/TMonitorState.h"
#include "gui/control/TFrmDataSet.h"
#include "gui/control/TfrmPSW.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

struct UserSetWindow : ::testing::Test {
    TMonitorState State;
    bool PortOpen = true;
    std::unique_ptr<TFrmUserSet> Window;

    UserSetWindow()
    {
        State.Selection.FSelDevAddr = 2;
        State.UpsInfo[2].LinkState = kLinkOnline;
        State.UpsInfo[2].Para.VoltLevel = 220;
        State.UpsInfo[2].Para.BoostVolt = 235;
        State.UpsInfo[5].LinkState = kLinkOnline;
        State.UpsInfo[5].Para.VoltLevel = 120;
        Window = std::make_unique<TFrmUserSet>(State, [this] { return PortOpen; });
    }
    QString Box(const char *name) { return Window->findChild<QLineEdit *>(name)->text(); }
    QWidget *Control(const char *name) { return Window->findChild<QWidget *>(name); }
};

TEST_F(UserSetWindow, CreatedHiddenAndEmptyWithItsHiddenControls)
{
    EXPECT_FALSE(Window->isVisible());
    EXPECT_FALSE(Window->Timer1().isActive());
    EXPECT_TRUE(Box("edtVoltLevel").isEmpty());
    for (const char *name : {"btnSet", "lbPreAlarm", "edtPreAlarm"})
        EXPECT_TRUE(Control(name)->isHidden()) << name;
    EXPECT_FALSE(Control("GroupBox1")->isEnabled());
    EXPECT_FALSE(Control("GroupBox2")->isEnabled());
}

TEST_F(UserSetWindow, TicksFollowTheSelectedDeviceAndClearWhenItCannotBeRead)
{
    Window->show();
    EXPECT_TRUE(Window->Timer1().isActive());
    EXPECT_EQ(Window->Timer1().interval(), 1000);
    Window->Timer1Timer();
    EXPECT_EQ(Box("edtVoltLevel"), "220");
    EXPECT_EQ(Box("edtBattBoostV"), "2.35");
    EXPECT_EQ(Box("edtSetMode"), "Normal");
    EXPECT_EQ(State.DiagCounters[3], 1000);
    EXPECT_EQ(State.DiagCounters[13], 1);

    State.Selection.FSelDevAddr = 5;
    Window->Timer1Timer();
    EXPECT_EQ(Box("edtVoltLevel"), "120");

    State.UpsInfo[5].LinkState = kLinkError;
    Window->Timer1Timer();
    EXPECT_TRUE(Box("edtVoltLevel").isEmpty());
    EXPECT_TRUE(Box("edtSetMode").isEmpty());
    EXPECT_FALSE(Control("btnSet")->isEnabled());

    State.UpsInfo[5].LinkState = kLinkOnline;
    PortOpen = false;
    Window->Timer1Timer();
    EXPECT_TRUE(Box("edtBuzzer").isEmpty());
}

TEST_F(UserSetWindow, OperationModeGroupOnlyForItsModel)
{
    Window->show();
    State.UpsInfo[2].Para.OperationMode = 1;
    Window->Timer1Timer();
    EXPECT_TRUE(Control("grpOutput")->isHidden());
    State.ModelName = "QMX960LD";
    State.Settings.Language = 1;
    Window->Timer1Timer();
    EXPECT_FALSE(Control("grpOutput")->isHidden());
    EXPECT_EQ(Box("edtOptVolt"), QString::fromUtf8("休眠模式"));
}

TEST_F(UserSetWindow, ClosingHidesAndStopsTheTimerAndCaptionsChangeWhenShownAgain)
{
    Window->show();
    EXPECT_EQ(Window->windowTitle(), "User Set");
    EXPECT_EQ(Window->findChild<QLabel *>("Label17")->text(), "Boost upper limit Volt.(V/Cell)");
    State.Settings.Language = 1;
    EXPECT_EQ(Window->windowTitle(), "User Set"); // not at once
    EXPECT_TRUE(Window->close());
    EXPECT_FALSE(Window->isVisible());
    EXPECT_FALSE(Window->Timer1().isActive());
    Window->show();
    EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("用户设置量"));
    EXPECT_EQ(Window->findChild<QGroupBox *>("GroupBox2")->title(), QString::fromUtf8("电池设置"));
    EXPECT_EQ(Window->findChild<QLabel *>("lblOptMode")->text(), QString::fromUtf8("操作模式"));
}

TEST_F(UserSetWindow, SetLeadsThroughThePasswordToTheParameterWindow)
{
    QStringList opened;
    bool right = false;
    Window->RunModal = [&](QDialog &window) {
        opened << window.objectName();
        if (auto *prompt = qobject_cast<TfrmPSW *>(&window)) {
            prompt->findChild<QLineEdit *>("edtPSW")->setText("LQW4817");
            prompt->findChild<QPushButton *>(right ? "btnOK" : "btnCancle")->click();
        }
    };
    Window->btnSetClick();
    EXPECT_EQ(opened, QStringList{"frmPSW"});
    right = true;
    opened.clear();
    Window->btnSetClick();
    EXPECT_EQ(opened, (QStringList{"frmPSW", "FrmDataSet"}));
}

} // namespace
