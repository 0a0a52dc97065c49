#include "gui/control/TFrmDataSet.h"

#include "app/TMonitorState.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct DataSetWindow : ::testing::Test {
    TMonitorState State;
    bool PortOpen = true;
    QStringList Messages;
    std::unique_ptr<TFrmDataSet> Window;

    DataSetWindow()
    {
        State.Settings.PortInfo.Protocol = 2;
        State.Selection.FSelDevAddr = 6;
        TUpsInfo &rec = State.UpsInfo[6];
        rec.LinkState = kLinkOnline;
        rec.Para.VoltLevel = 230;
        rec.Para.BypassVoltMax = 15;
        rec.Para.BattAh = 100;
        rec.Para.BattGroups = 2;
        rec.Para.EodVolt = 175;
        rec.Para.StatusControl = 0x2000;
    }
    TFrmDataSet &Open()
    {
        Window = std::make_unique<TFrmDataSet>(State, [this] { return PortOpen; });
        Window->ShowMessage = [this](const QString &text) { Messages << text; };
        Window->show();
        return *Window;
    }
    template <typename T = QWidget>
    T *Find(const char *name) { return Window->findChild<T *>(name); }
    QComboBox *Combo() { return Find<QComboBox>("ComboBox1"); }
    QLineEdit *Edit() { return Find<QLineEdit>("Edit1"); }
    void Set() { Find<QPushButton>("btnSetTo")->click(); }
};

TEST_F(DataSetWindow, TheListNamesTheParametersOfTheModel)
{
    State.Settings.Language = 1;
    Open();
    QListWidget *list = Find<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 19);
    EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("工作模式"));
    EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("数据设置"));
    EXPECT_TRUE(Find("grpSetting")->isHidden()); // nothing to set before a click

    State.ModelName = "QMX960LD";
    State.Settings.Language = 0;
    Open();
    ASSERT_EQ(Find<QListWidget>("ListBox1")->count(), 20);
    EXPECT_EQ(Find<QListWidget>("ListBox1")->item(19)->text(), "Operation Mode");
}

TEST_F(DataSetWindow, EachEditorKindStartsFromThePresentValue)
{
    Open();
    Window->ListBox1Click(4); // bypass upper limit, a list
    EXPECT_FALSE(Find("grpSetting")->isHidden());
    EXPECT_FALSE(Combo()->isHidden());
    EXPECT_TRUE(Edit()->isHidden());
    EXPECT_EQ(Combo()->count(), 3);
    EXPECT_EQ(Combo()->currentText(), "15%");

    Window->ListBox1Click(11); // EOD voltage, a number
    EXPECT_TRUE(Combo()->isHidden());
    EXPECT_EQ(Edit()->text(), "1.75");

    Window->ListBox1Click(15); // status control, the switches
    EXPECT_TRUE(Edit()->isHidden());
    EXPECT_TRUE(Find("lb_Value")->isHidden());
    EXPECT_TRUE(Find<QRadioButton>("RadioGroup4Item0")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("RadioGroup5Item1")->isChecked());

    Window->ListBox1Click(0);
    EXPECT_FALSE(Find("lb_Value")->isHidden());
    EXPECT_TRUE(Find("RadioGroup4")->isHidden());
}

TEST_F(DataSetWindow, AnOfflineDeviceHidesTheEditor)
{
    Open();
    Window->ListBox1Click(2);
    State.UpsInfo[6].LinkState = kLinkError;
    Window->ListBox1Click(3);
    EXPECT_TRUE(Find("grpSetting")->isHidden());
    Set(); // not there to press
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_FALSE(State.CmdQueue.AnyPending());
}

TEST_F(DataSetWindow, SetChecksQueuesAndStartsTheImageFromTheUnit)
{
    Open();
    State.CmdQueue.ParaSetValue.BattAh = 1; // left from an earlier write
    Window->ListBox1Click(11);
    Edit()->clear();
    QTest::keyClicks(Edit(), "1,.8a5");
    EXPECT_EQ(Edit()->text(), "1.85");
    Set();
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(State.CmdQueue.ParaSetValue.EodVolt, 185);
    EXPECT_EQ(State.CmdQueue.ParaSetValue.BattAh, 100); // copied from the unit
    const TUpsCommand &slot = State.CmdQueue.Slots[0];
    EXPECT_EQ(slot.Pending, 255);
    EXPECT_EQ(slot.Addr, 6);
    EXPECT_EQ(slot.StartReg, 40020u);
    EXPECT_EQ(Edit()->text(), "1.85");
}

TEST_F(DataSetWindow, AnInvalidValueIsReportedResetAndNotQueued)
{
    Open();
    Window->ListBox1Click(13); // limit (100 Ah x 2) / 4 = 50
    Edit()->setText("60");
    Set();
    EXPECT_EQ(Messages, QStringList{"[Max Charge current] value is invalid"});
    EXPECT_EQ(Edit()->text(), "50");
    EXPECT_EQ(Window->focusWidget(), Edit());
    EXPECT_FALSE(State.CmdQueue.AnyPending());
    EXPECT_EQ(State.CmdQueue.ParaSetValue.MaxChargeCurrent, 0);

    Messages.clear();
    Window->ListBox1Click(0);
    Combo()->setCurrentIndex(-1);
    Set();
    EXPECT_EQ(Messages, QStringList{"[Work Mode] value is invalid"});
    EXPECT_EQ(Window->focusWidget(), Combo());
}

TEST_F(DataSetWindow, ClosedPortStopsBeforeTheCheck)
{
    Open();
    PortOpen = false;
    Window->ListBox1Click(13);
    Edit()->setText("60");
    Set();
    EXPECT_EQ(Messages, QStringList{"Serial Port Off"});
    EXPECT_EQ(Edit()->text(), "60");
    EXPECT_FALSE(State.CmdQueue.AnyPending());
}

TEST_F(DataSetWindow, TheModelWithRegister50000GetsTwoWrites)
{
    State.ModelName = "VTR5400";
    Open();
    Window->ListBox1Click(15);
    Find<QRadioButton>("RadioGroup4Item1")->setChecked(true);
    Set();
    EXPECT_EQ(State.CmdQueue.ParaSetValue.StatusControl, 12288);
    EXPECT_EQ(State.CmdQueue.Slots[0].StartReg, 50000u);
    EXPECT_EQ(State.CmdQueue.Slots[1].StartReg, 40027u);
    EXPECT_EQ(State.CmdQueue.Slots[1].Pending, 255);
}

} // namespace
