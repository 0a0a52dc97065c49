#include "gui/log/TFrmEventLog.h"

#include "app/TSettings.h"
#include "gui/support/NamedChild.h"
#include "gui/widgets/LogGridView.h"
#include "serial/GbkText.h"
#include "support/FileBytes.h"
#include "support/LogFileFixtures.h"
#include "support/TempEventLog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Strings = std::vector<std::string>;

struct EventLogWindowTest : ::testing::Test {
    TempEventLog Store; // its clock reads 2009-03-01 12:00:00
    TSettings Settings;
    quint8 DebugShow = 0;
    std::unique_ptr<TFrmEventLog> Window;
    QString ConfirmText;
    bool ConfirmAnswer = false;

    void Write(const std::vector<TEventRec> &records)
    {
        Store.Log.RecordCount();
        WriteRecordFile(Store.Log.LogPath(), records);
    }
    void Open()
    {
        Window = std::make_unique<TFrmEventLog>(Store.Log, Settings, DebugShow, nullptr, [this] { return Store.Now; });
        Window->Prompts.Confirm = [this](QWidget *, const QString &text, const QString &) {
            ConfirmText = text;
            return ConfirmAnswer;
        };
        Window->Prompts.ShowError = [](QWidget *, const QString &message) { ADD_FAILURE() << message.toStdString(); };
        Window->show();
    }
    template <typename W>
    W *Find(const char *name) const
    {
        return NamedChild<W>(*Window, name);
    }
    LogGridView *Grid() const { return Find<LogGridView>("grdEvntRec"); }
    Strings Column(int column) const
    {
        Strings cells;
        for (int row = 0; row < Window->Model().GridRowCount(); ++row)
            cells.push_back(Window->Model().GridCellText(row, column).toStdString());
        return cells;
    }
    void ClickHeader(int column) const
    {
        QHeaderView *header = Grid()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void ClickCell(int row, int column) const
    {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->visualRect(Grid()->model()->index(row, column)).center());
    }
};

const std::vector<TEventRec> kMarch = {
    Event(At(2009, 3, 1, 8), 0, kEventKindEvent, kEventSoftwareOpen),
    Event(At(2009, 3, 1, 9), 4, kEventKindAlarm, 122, kAlarmOccurred),
    Event(At(2009, 2, 27), 4, kEventKindEvent, kEventCommLost), // outside the month filter
    Event(At(2009, 3, 1, 7), 4, kEventKindAlarm, 122, kAlarmCleared),
};

} // namespace

TEST_F(EventLogWindowTest, OpensOnTodaysMonthNewestFirst)
{
    Write(kMarch);
    Open();
    EXPECT_EQ(Find<QSpinBox>("spedtYear")->value(), 2009);
    EXPECT_EQ(Find<QSpinBox>("spedtMonth")->value(), 3);
    EXPECT_FALSE(Find<QSpinBox>("spedtDate")->isEnabled());
    EXPECT_FALSE(Find<QSpinBox>("SpinAddr")->isEnabled());
    EXPECT_EQ(Column(0), (Strings{"1", "3", "4"}));
    EXPECT_EQ(Column(3), (Strings{"Recover from: Bypass abnormal,shutdown", "Bypass abnormal,shutdown",
                                  "Monitor software is open"}));
    EXPECT_EQ(Column(2), (Strings{"4", "4", ""}));
    EXPECT_TRUE(Find<QLineEdit>("edt1")->isHidden());
}

TEST_F(EventLogWindowTest, NoMatchLeavesTwoEmptyRowsAndTheAddressFilterSkipsTheMonitor)
{
    Write(kMarch);
    Open();
    Find<QCheckBox>("CheckBox1")->setChecked(true);
    EXPECT_TRUE(Find<QSpinBox>("SpinAddr")->isEnabled());
    Find<QSpinBox>("SpinAddr")->setValue(4);
    Find<QPushButton>("btnSearch")->click();
    EXPECT_EQ(Column(0), (Strings{"1", "3"}));

    Find<QSpinBox>("SpinAddr")->setValue(9);
    Find<QPushButton>("btnSearch")->click();
    EXPECT_EQ(Window->Model().rowCount(), 2);
    EXPECT_EQ(Column(3), (Strings{"", ""}));
}

TEST_F(EventLogWindowTest, HeaderAndRowClicksSortAsUsersKnowThem)
{
    Write(kMarch);
    DebugShow = 255;
    Open();
    ClickHeader(1);
    EXPECT_EQ(Window->SortState().SortCol(), 1);
    EXPECT_EQ(Window->SortState().SortDir(), 0);
    EXPECT_EQ(Column(1), (Strings{"2009-03-01 09:00:00", "2009-03-01 08:00:00", "2009-03-01 07:00:00"}));
    EXPECT_EQ(Grid()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    ClickCell(0, 3);
    EXPECT_EQ(Column(1), (Strings{"2009-03-01 07:00:00", "2009-03-01 08:00:00", "2009-03-01 09:00:00"}));
    EXPECT_EQ(Window->SelRow(), 1);
    EXPECT_FALSE(Find<QLineEdit>("edt1")->isHidden());
    EXPECT_EQ(Find<QLineEdit>("edt1")->text().toStdString(), "FSortCol:1    FSortDir: ASC");

    QTest::mouseClick(Grid()->horizontalHeader()->viewport(), Qt::RightButton, {},
                      QPoint(Grid()->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
    EXPECT_EQ(Window->SortState().SortCol(), 1);
}

TEST_F(EventLogWindowTest, RefreshOnlySortsWhileSearchAndTheTimerReadTheFile)
{
    Write(kMarch);
    Open();
    ClickHeader(0); // FSortDir 1: oldest first on the next sort
    Store.Log.AppendEvent(Event(At(2009, 3, 1, 10), 2, kEventKindEvent, kEventCommUpbuilt));
    Find<QPushButton>("bsSkinButton1")->click();
    EXPECT_EQ(Column(0), (Strings{"4", "3", "1"})); // re-sorted, not re-read

    Window->tmr1Timer();
    EXPECT_EQ(Store.Log.NewRecord(), 0);
    EXPECT_EQ(Window->SortState().SortDir(), 0);
    EXPECT_EQ(Column(0), (Strings{"1", "2", "4", "5"}));
    EXPECT_EQ(Window->SelRow(), 1);
    EXPECT_EQ(Grid()->selectionModel()->selectedRows().value(0).row(), 0);

    Window->tmr1Timer(); // no new record: nothing happens
    EXPECT_EQ(Column(0), (Strings{"1", "2", "4", "5"}));
}

TEST_F(EventLogWindowTest, ClearAsksThenBacksUpAndEmpties)
{
    Write(kMarch);
    Open();
    ConfirmAnswer = false;
    Find<QPushButton>("btnClear")->click();
    EXPECT_EQ(ConfirmText.toStdString(), "Are you sure Delete all records ? ");
    EXPECT_EQ(Store.Events().size(), 4u);

    ConfirmAnswer = true;
    Find<QPushButton>("btnClear")->click();
    EXPECT_EQ(Store.Events().size(), 0u);
    EXPECT_EQ(TEventLog::ReadEventFile(Store.BackupDir() + QStringLiteral("/EventLog1.dat")).size(), 4u);
    EXPECT_EQ(Window->Model().RowNo(), 0);
}

TEST_F(EventLogWindowTest, ExportWritesTheGridAsShownInGbk)
{
    Settings.Language = 1;
    Write({Event(At(2009, 3, 1, 8), 0, kEventKindEvent, kEventSoftwareOpen)});
    Open();
    QTemporaryDir out;
    Window->Prompts.AskSaveFileName = [&out](QWidget *) { return out.filePath(QStringLiteral("report")); };
    Find<QPushButton>("bsSkinButton2")->click();
    EXPECT_EQ(ReadFileBytes(out.filePath(QStringLiteral("report.csv"))),
              GbkFromString(QStringLiteral("序号,时间,设备地址,事件,\r\n1,2009-03-01 08:00:00,,监控软件开启,\r\n,,,,\r\n")));

    Window->Prompts.AskSaveFileName = [](QWidget *) { return QString(); }; // cancelled: nothing written
    Find<QPushButton>("bsSkinButton2")->click();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(EventLogWindowTest, ExportWritesWhatWasShownAtThePressAndAsksAboutTheNameItWrites)
{
    Write({Event(At(2009, 3, 1, 8), 0, kEventKindEvent, kEventSoftwareOpen)});
    Open();
    QTemporaryDir out;
    const QString written = out.filePath(QStringLiteral("report.csv"));
    WriteFileBytes(written, "an earlier export\r\n");
    auto *timer = Window->findChild<QTimer *>(QStringLiteral("tmr1"));
    Window->Prompts.AskSaveFileName = [&](QWidget *) {
        // An event arrives while the user picks the name; the list waits.
        Store.Log.LogSoftwareEvent(1);
        EXPECT_FALSE(timer->isActive());
        return out.filePath(QStringLiteral("report"));
    };
    const QByteArray shown = "Index,Time,Address,Event,\r\n1,2009-03-01 08:00:00,,Monitor software is open,\r\n,,,,\r\n";

    ConfirmAnswer = false;
    Find<QPushButton>("bsSkinButton2")->click();
    EXPECT_EQ(ConfirmText.toStdString(), "\"report.csv\" already exists. Do you want to replace it?");
    EXPECT_EQ(ReadFileBytes(written), QByteArray("an earlier export\r\n"));

    ConfirmAnswer = true;
    Find<QPushButton>("bsSkinButton2")->click();
    EXPECT_EQ(ReadFileBytes(written), shown);
    EXPECT_TRUE(timer->isActive());
    Window->tmr1Timer(); // the next tick catches up with the new events
    EXPECT_EQ(Window->Model().RowNo(), 3);
}
