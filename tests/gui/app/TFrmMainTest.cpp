#include "gui/app/TFrmMain.h"

#include "MainWindowFixture.h"
#include "gui/model/TFrmDeviceTree.h"
#include "gui/model/TFrmRealTimeView.h"
#include "gui/widgets/CaptionApplier.h"
#include "log/TEventLog.h"
#include "model/DeviceNodeLook.h"
#include "model/TDeviceList.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST_F(MainWindowFixture, CreationMakesDirectoriesAndShowsTheVersion)
{
    Open(QStringLiteral("1.0.0.4"));
    EXPECT_TRUE(QFileInfo(Paths.RecordDir).isDir());
    EXPECT_TRUE(QFileInfo(Paths.BackupDir).isDir());
    EXPECT_TRUE(QFileInfo::exists(Paths.RecordDir + QStringLiteral("TreeNode.dat")));
    EXPECT_EQ(Find<QLabel>("StatusPanel3")->text(), "Version 1.0.0.4");
    EXPECT_TRUE(Find<QLabel>("StatusPanel2")->text().isEmpty());
    EXPECT_TRUE(Window->Timer1().isActive());
    EXPECT_EQ(Window->Timer1().interval(), 10);
    EXPECT_EQ(State.UpsInfo[7].Addr, 7);
    EXPECT_EQ(State.UpsInfo[7].LinkState, kLinkLost);
}

TEST_F(MainWindowFixture, VersionTextWhenNone)
{
    Open(QString());
    EXPECT_EQ(Find<QLabel>("StatusPanel3")->text(), "Version ");
}

TEST_F(MainWindowFixture, StatusPassShowsTheClosedPortInTheCurrentLanguage)
{
    const struct { const char *language; const char *panel; const char *button; } cases[] = {
        {"0", "COM is closed", "Open COM"},
        {"1", "串口已关闭", "开启串口"},
    };
    for (const auto &c : cases) {
        WriteSettings(QByteArray("[Language]\nLanguage=") + c.language + "\n");
        Open();
        Window->StatusPass();
        EXPECT_EQ(Find<QLabel>("StatusPanel1")->text(), Text(c.panel));
        EXPECT_EQ(Find<QPushButton>("btnCom")->text(), Text(c.button));
    }
}

TEST_F(MainWindowFixture, CaptionsFollowTheLanguageSwitch)
{
    WriteDevices({1});
    Open();
    const struct { const char *name; TCaptionRole role; const char *english; const char *chinese; } cases[] = {
        {"TFrmMain", TCaptionRole::Caption, "VTR5200 Monitor", "VTR5200监控"},
        {"mni100", TCaptionRole::Caption, "System", "系统"},
        {"mniTurnOn", TCaptionRole::Caption, "Turn On/Off", "开关机"},
        {"mni400", TCaptionRole::Caption, "Language", "Language"},
        {"btnNew", TCaptionRole::Caption, "Append", "添加"},
        {"btnNew", TCaptionRole::Hint, "Append inverter of need to be Monitored ", "在设备树中添加要被监控的逆变器"},
        {"bsSkinSpeedButton6", TCaptionRole::Hint, "About", "帮助"},
        {"bsSkinTabSheet4", TCaptionRole::Caption, "Sketch Map", "示意图"},
        {"AdvPanel6", TCaptionRole::Caption, "Capability of Battery", "电池容量率"},
        {"Chart1", TCaptionRole::Caption, "Input Voltage(V)", "输入电压(V)"},
        {"grpSwitch", TCaptionRole::Hint, "ON express switch is closed,OFF express switch is open", "ON为闭合,OFF为断开"},
    };
    auto check = [&](bool chinese) {
        for (const auto &c : cases) {
            QObject *control = Window->findChild<QObject *>(QLatin1String(c.name));
            if (QLatin1String(c.name) == QLatin1String("TFrmMain"))
                control = Window.get();
            ASSERT_NE(control, nullptr) << c.name;
            const QString shown = c.role == TCaptionRole::Hint ? control->property("toolTip").toString()
                                                                : CaptionOf(control);
            EXPECT_EQ(shown, Text(chinese ? c.chinese : c.english)) << c.name;
        }
        QTreeWidgetItem *device = Window->Tree()->topLevelItem(0);
        EXPECT_EQ(device->child(1)->text(0), Text(chinese ? "曲线图" : "Graph"));
    };
    check(false);
    Window->findChild<QAction *>(QStringLiteral("mni401"))->trigger();
    EXPECT_EQ(State.Settings.Language, 1);
    check(true);
    Window->findChild<QAction *>(QStringLiteral("mni402"))->trigger();
    EXPECT_EQ(State.Settings.Language, 0);
    check(false);
}

TEST_F(MainWindowFixture, ControlMenuAppearsWithAModbusProtocol)
{
    WriteSettings("[CommPort]\nProtocol=1\n");
    Open();
    auto visible = [&](const char *name) {
        QMenu *menu = Find<QMenu>(name);
        return menu != nullptr ? menu->menuAction()->isVisible()
                               : Window->findChild<QAction *>(QLatin1String(name))->isVisible();
    };
    Window->StatusPass();
    for (const char *name : {"mni300", "mni101", "mni301", "mniTurnOn"})
        EXPECT_FALSE(visible(name)) << name;
    State.Settings.PortInfo.Protocol = 2;
    Window->StatusPass();
    for (const char *name : {"mni300", "mni101", "mni301", "mniTurnOn"})
        EXPECT_TRUE(visible(name)) << name;
}

TEST_F(MainWindowFixture, UserSetOnADeviceNotOnlineOnlyWarns)
{
    WriteDevices({5});
    Open();
    for (std::uint8_t link : {kLinkError, kLinkLost}) {
        Messages.clear();
        State.UpsInfo[5].LinkState = link;
        Window->findChild<QAction *>(QStringLiteral("mni101"))->trigger();
        EXPECT_EQ(Messages, QStringList{"The device is not communication!"}) << int(link);
    }
    State.UpsInfo[5].LinkState = kLinkOnline;
    Messages.clear();
    Window->UserSetClick();
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(MainWindowFixture, DeleteNeedsASelectionAndSelectsTheNextDevice)
{
    Open();
    EXPECT_FALSE(Find<QPushButton>("btnDelete")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("btnProperty")->isEnabled());
    Window->DeleteSelectedDevice(); // nothing selected: nothing happens
    EXPECT_EQ(State.DeviceList.Count(), 0);

    WriteDevices({10, 20, 30});
    State = TMonitorState{};
    Open();
    Window->Tree()->TreeView1Click(Window->Tree()->topLevelItem(1));
    EXPECT_EQ(Window->GetSelDevAddr(), 20);
    Find<QPushButton>("btnDelete")->click();
    EXPECT_EQ(State.DeviceList.Count(), 2);
    EXPECT_EQ(Window->GetSelDevAddr(), 30);
    EXPECT_EQ(Window->Tree()->currentItem(), Window->Tree()->topLevelItem(1));
    EXPECT_EQ(QFileInfo(Paths.RecordDir + QStringLiteral("TreeNode.dat")).size(), 84);
}

TEST_F(MainWindowFixture, TreeClicksChooseDeviceAndPage)
{
    WriteDevices({3, 9, 12});
    Open();
    EXPECT_EQ(Window->GetSelDevAddr(), 3); // the first device after loading
    QTreeWidgetItem *second = Window->Tree()->topLevelItem(1);
    Window->Tree()->TreeView1Click(second->child(1));
    EXPECT_EQ(Window->GetSelDevAddr(), 9);
    EXPECT_EQ(State.Selection.FidxSelNode, 5);
    EXPECT_TRUE(Window->View()->GraphPageShown());
    Window->Tree()->TreeView1Click(second->child(0));
    EXPECT_FALSE(Window->View()->GraphPageShown());
    Window->Tree()->TreeView1Click(Window->Tree()->topLevelItem(2));
    EXPECT_EQ(Window->GetSelDevAddr(), 12);
    EXPECT_FALSE(Window->View()->GraphPageShown());
}

TEST_F(MainWindowFixture, ClosedPortShowsEveryDeviceAsLost)
{
    WriteDevices({1, 2});
    Open();
    State.UpsInfo[1].LinkState = kLinkOnline;
    State.UpsInfo[1].State = 4;
    State.UpsInfo[1].InputVolt[0] = 220;
    Window->RefreshView();
    for (int i = 0; i < 2; ++i) {
        QTreeWidgetItem *node = Window->Tree()->topLevelItem(i);
        EXPECT_EQ(node->text(0), QStringLiteral("UPS%1  (Communication lost)").arg(i + 1));
        EXPECT_EQ(node->data(0, TFrmDeviceTree::kIconRole).toInt(), kIconOffline);
    }
    EXPECT_EQ(State.UpsInfo[1].InputVolt[0], 0.0); // stale values are not shown
}

TEST_F(MainWindowFixture, DevicesWithoutABusAddressAreListedButNeverLookedUp)
{
    WriteDevices({253, 0, 255, 6}); // a damaged or foreign list file
    State.Debug.DebugShow = 255;
    Open();
    ASSERT_EQ(State.DeviceList.Count(), 4);
    for (int position : {1, 2, 3, 4}) {
        Window->Tree()->TreeView1Click(Window->Tree()->topLevelItem(position - 1));
        Window->RefreshView();
        Window->UpdateDebugLabel();
        Window->UserSetClick();
    }
    EXPECT_EQ(Window->Tree()->topLevelItem(0)->text(0), QStringLiteral("UPS253  (Communication lost)"));
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowFixture, NoOnTheExitQuestionChangesNothing)
{
    const QByteArray ini = "; kept as written\n[Language]\nLanguage=0\n";
    WriteSettings(ini);
    Open();
    Window->show();
    Window->ChineseClick(); // a change in memory that a save would write
    ExitAnswer = false;
    EXPECT_FALSE(Window->close());
    EXPECT_EQ(Questions, QStringList{Text("您确定要退出系统吗?")});
    EXPECT_TRUE(Window->isVisible());
    EXPECT_TRUE(Window->Timer1().isActive());
    EXPECT_EQ(ReadFileBytes(Paths.SettingsFile), ini);
}

TEST_F(MainWindowFixture, YesOnTheExitQuestionSavesAndCloses)
{
    WriteSettings("[Language]\nLanguage=0\n");
    Open();
    Window->show();
    State.Settings.Language = 1;
    ExitAnswer = true;
    EXPECT_TRUE(Window->close());
    EXPECT_EQ(Questions, QStringList{"Exit Program ?"});
    EXPECT_FALSE(Window->Timer1().isActive());
    EXPECT_TRUE(ReadFileBytes(Paths.SettingsFile).contains("Language=1"));
}

TEST_F(MainWindowFixture, FailedSaveAsksWhetherToExitWithoutSaving)
{
    Open();
    Window->show();
    // A directory where the settings file should be cannot be written.
    QFile::remove(Paths.SettingsFile);
    ASSERT_TRUE(QDir().mkpath(Paths.SettingsFile));
    // Yes to the exit, No to leaving unsaved: the window stays and refreshes.
    QStringList answers{"yes", "no"};
    Window->AskYesNo = [&](const QString &text) {
        Questions << text;
        return answers.takeFirst() == "yes";
    };
    EXPECT_FALSE(Window->close());
    EXPECT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors.value(0).startsWith(QStringLiteral("Unable to write to"))) << Errors.value(0).toStdString();
    EXPECT_EQ(Questions, QStringList({"Exit Program ?", "The settings could not be saved. Exit without saving them?"}));
    EXPECT_TRUE(Window->isVisible());
    EXPECT_TRUE(Window->Timer1().isActive());

    // Yes to both: the program ends without its settings.
    answers = {"yes", "yes"};
    EXPECT_TRUE(Window->close());
    EXPECT_FALSE(Window->isVisible());
}

TEST_F(MainWindowFixture, SignalledCloseAsksNothing)
{
    Open();
    Window->show();
    Window->CloseWithoutQuestion();
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_FALSE(Window->isVisible());
    EXPECT_TRUE(QFileInfo::exists(Paths.SettingsFile));
}

TEST_F(MainWindowFixture, LogCommandsOpenTheirWindowsForOneUse)
{
    Open();
    const struct { const char *item; const char *button; const char *window; } cases[] = {
        {"mni201", "bsSkinSpeedButton4", "TFrmEventLog"},
        {"mni202", "bsSkinSpeedButton5", "TFrmDataLog"},
        {"mni203", "bsSkinSpeedButton8", "TFrmDataLogSet"},
    };
    QStringList shown;
    Window->RunModal = [&](QDialog &window) { shown << QString::fromLatin1(window.metaObject()->className()); };
    for (const auto &c : cases) {
        Window->findChild<QAction *>(QLatin1String(c.item))->trigger();
        Find<QToolButton>(c.button)->click();
        EXPECT_EQ(shown, QStringList({c.window, c.window})) << c.item;
        shown.clear();
    }
    // Nothing of them stays behind.
    EXPECT_EQ(Window->findChildren<QDialog *>().size(), 1); // the progress window, kept for the run
}

TEST_F(MainWindowFixture, DebugFieldsFollowDebugShow)
{
    WriteDevices({5, 6});
    Open();
    Window->show(); // the tool bar lays out its widgets when shown
    State.UpsInfo[5].TxCnt = 40;
    State.UpsInfo[5].RxCnt = 31;
    State.UpsInfo[5].OkCnt = 30;
    State.UpsInfo[5].OkRate = 75;
    State.UpsInfo[5].NoReplyCnt = 2;
    const char *controls[] = {"lblDevID", "edtTreeData", "edtArrEq", "edtNode", "lblUpsState"};

    Window->StatusPass();
    for (const char *name : controls)
        EXPECT_TRUE(Find(name)->isHidden()) << name;

    State.Debug.DebugShow = 255;
    Window->StatusPass();
    Window->RefreshView();
    QCoreApplication::processEvents(); // the tool bar lays out again
    for (const char *name : controls)
        EXPECT_FALSE(Find(name)->isHidden()) << name;
    EXPECT_EQ(Find<QLabel>("lblDevID")->text(), "Cur[0]:0  Dev[5]:75%;R:2; 31:30/40");
    EXPECT_EQ(Find<QLineEdit>("edtNode")->text(), "FidxSelNode=0FSelDevAddr=5");
    EXPECT_EQ(Find<QLineEdit>("edtArrEq")->text(), "Select:5 Addr:5 SelNode:0");
    EXPECT_EQ(Find<QLineEdit>("edtTreeData")->text(), "Items:1 Name:UPS5 Addr:5 Node:0");
}

TEST_F(MainWindowFixture, MainTimerCountsItsTicksAndRefreshes)
{
    Open();
    for (int tick = 0; tick < 66; ++tick)
        Window->Timer1Timer();
    EXPECT_EQ(State.DiagCounters[0], 10);
    EXPECT_EQ(State.DiagCounters[10], 66);
    EXPECT_EQ(State.DiagCounters[16], 1);
    EXPECT_FALSE(Find<QLabel>("StatusPanel4")->text().isEmpty());
}
