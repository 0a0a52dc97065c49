#include "gui/log/TFrmDataLog.h"

#include "app/TSettings.h"
#include "gui/log/TFrmDataLogSet.h"
#include "gui/log/TFrmDelDataRec.h"
#include "gui/support/NamedChild.h"
#include "gui/widgets/LogGridView.h"
#include "support/FileBytes.h"
#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Strings = std::vector<std::string>;

struct DataLogWindowTest : ::testing::Test {
    QTemporaryDir Dir;
    TSettings Settings;
    quint8 DebugShow = 0;
    std::unique_ptr<TFrmDataLog> Window;

    void WriteMonth(int year, int month, const std::vector<TDataRec> &records) const
    {
        WriteRecordFile(TRecFilter::MonthFilePath(Dir.path(), year, month), records);
    }
    void Open()
    {
        Window = std::make_unique<TFrmDataLog>(Dir.path(), Settings, DebugShow, nullptr,
                                               [] { return At(2009, 3, 20, 10); });
        Window->Prompts.ShowError = [](QWidget *, const QString &m) { ADD_FAILURE() << m.toStdString(); };
        Window->show();
    }
    template <typename W>
    W *Find(const char *name) const
    {
        return NamedChild<W>(*Window, name);
    }
    LogGridView *Grid() const { return Find<LogGridView>("grdRecData"); }
    Strings Column(int column) const
    {
        Strings cells;
        for (int row = 0; row < Window->Model().RowNo(); ++row)
            cells.push_back(Window->Model().GridCellText(row, column).toStdString());
        return cells;
    }
    void Press(bool header, int column) const
    {
        if (header) {
            QHeaderView *h = Grid()->horizontalHeader();
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(column) + 5, h->height() / 2));
        } else {
            QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                              Grid()->visualRect(Grid()->model()->index(0, column)).center());
        }
    }
};

} // namespace

TEST_F(DataLogWindowTest, MonthAndDayModesWithTheAddressFilter)
{
    WriteMonth(2009, 3, {Sample(At(2009, 3, 1, 10), 5, 1), Sample(At(2009, 3, 1, 10), 2, 2),
                         Sample(At(2009, 3, 20, 10), 5, 3)});
    Open();
    EXPECT_EQ(Column(2), (Strings{"1.0", "2.0", "3.0"}));
    EXPECT_EQ(Column(1), (Strings{"5", "2", "5"}));
    EXPECT_EQ(Window->Model().rowCount(), 19);
    EXPECT_FALSE(Grid()->horizontalHeader()->isSortIndicatorShown());

    Window->findChild<QGroupBox *>(QStringLiteral("rdDataViewMode"))->findChildren<QRadioButton *>()[1]->click();
    EXPECT_TRUE(Find<QSpinBox>("spedtDateD")->isEnabled());
    Find<QPushButton>("btnSearch")->click();
    EXPECT_EQ(Column(2), (Strings{"3.0"}));

    Find<QSpinBox>("spedtDateD")->setValue(1);
    Find<QCheckBox>("CheckBox1")->setChecked(true);
    Find<QSpinBox>("SpinAddr")->setValue(2);
    Find<QPushButton>("btnRefresh")->click();
    EXPECT_EQ(Column(2), (Strings{"2.0"}));

    Find<QSpinBox>("spedtMonthD")->setValue(4); // no file for April: empty, and none made
    Find<QPushButton>("btnSearch")->click();
    EXPECT_EQ(Window->Model().RowNo(), 0);
    EXPECT_FALSE(QFile::exists(TRecFilter::MonthFilePath(Dir.path(), 2009, 4)));
}

TEST_F(DataLogWindowTest, DataAndHeaderClicksSortAsUsersKnowThem)
{
    WriteMonth(2009, 3, {Sample(At(2009, 3, 1), 1, 2), Sample(At(2009, 3, 1), 1, 1), Sample(At(2009, 3, 1), 1, 3)});
    Open();
    Press(false, 2);
    EXPECT_EQ(Column(2), (Strings{"1.0", "2.0", "3.0"}));
    Press(false, 2);
    EXPECT_EQ(Column(2), (Strings{"3.0", "2.0", "1.0"}));
    EXPECT_EQ(Window->SortState().SortDir(), 1);
    Press(true, 5);
    EXPECT_EQ(Window->SortState().SortCol(), 5);
    EXPECT_EQ(Window->SortState().SortDir(), 1);
    EXPECT_EQ(Grid()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(DataLogWindowTest, ExportWritesNineteenRowsAndSkipsColumnsOfWidthZero)
{
    Open(); // no file for March 2009
    Grid()->setColumnWidth(3, 0);
    QTemporaryDir out;
    Window->Prompts.AskSaveFileName = [&out](QWidget *) { return out.filePath(QStringLiteral("data.CSV")); };
    Find<QPushButton>("bsSkinButton1")->click();
    QByteArray expected = "Time,Address,InV-A (V),InV-C (V),OutV-A (V),OutV-B (V),OutV-C (V),Load-A (%),Load-B (%),"
                          "Load-C (%),OutFreq (Hz),DC V(V),BattCapa (%),BattSuppTime(min),\r\n";
    for (int row = 0; row < 19; ++row)
        expected += QByteArray(14, ',') + "\r\n";
    EXPECT_EQ(ReadFileBytes(out.filePath(QStringLiteral("data.CSV.csv"))), expected);
}

TEST_F(DataLogWindowTest, MonthDeletionReloadsTheViewer)
{
    WriteMonth(2009, 3, {Sample(At(2009, 3, 1), 1)});
    WriteMonth(2009, 2, {Sample(At(2009, 2, 1), 1)});
    WriteFileBytes(Dir.filePath(QStringLiteral("EventLog.dat")), "");
    Open();
    ASSERT_EQ(Window->Model().RowNo(), 1);
    Window->Prompts.Confirm = [](QWidget *, const QString &, const QString &) { return true; };
    Window->RunModal = [](QDialog &dialog) {
        dialog.show();
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("ListBox1"));
        ASSERT_EQ(list->count(), 2);
        list->setCurrentItem(list->findItems(QStringLiteral("DataLog2009_03"), Qt::MatchExactly).value(0));
        dialog.findChild<QPushButton *>(QStringLiteral("btnDelete"))->click();
        EXPECT_EQ(list->count(), 1);
    };
    Find<QPushButton>("btnClearMonthData")->click();
    EXPECT_FALSE(QFile::exists(TRecFilter::MonthFilePath(Dir.path(), 2009, 3)));
    EXPECT_EQ(Window->Model().RowNo(), 0);
}

TEST(TFrmDelDataRec, AsksEvenWithoutASelectionAndKeepsAnEntryItCouldNotDelete)
{
    QTemporaryDir dir;
    WriteFileBytes(dir.filePath(QStringLiteral("DataLog2009_03.dat")), "x");
    int reloads = 0, asked = 0;
    QString error;
    TFrmDelDataRec window(dir.path(), 0, [&reloads] { ++reloads; });
    window.Prompts.Confirm = [&asked](QWidget *, const QString &text, const QString &caption) {
        ++asked;
        EXPECT_EQ(text.toStdString(), "Are you sure delete data log of this month ?");
        EXPECT_EQ(caption.toStdString(), "Confirm");
        return true;
    };
    window.Prompts.ShowError = [&error](QWidget *, const QString &message) { error = message; };
    window.show();
    auto *list = window.findChild<QListWidget *>(QStringLiteral("ListBox1"));
    window.btnDeleteClick();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(reloads, 0);

    list->setCurrentRow(0);
    QFile::remove(dir.filePath(QStringLiteral("DataLog2009_03.dat"))); // gone behind the window's back
    QDir(dir.path()).mkpath(QStringLiteral("DataLog2009_03.dat/sub")); // in its place a directory with content
    window.btnDeleteClick();
    EXPECT_EQ(list->count(), 1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(reloads, 0);
}

TEST(TFrmDataLogSet, CheckBoxAndFieldWriteRecInterval)
{
    struct Case {
        qint32 Before;
        bool Check;
        int Seconds; // 0: leave the field as it shows
        int Shown;
        qint32 After;
    } const cases[] = {
        {0, true, 0, 300, 3000},
        {600, true, 15, 60, 150},
        {600, false, 0, 60, 0},
        {50, true, 0, 10, 100},
    };
    for (const Case &c : cases) {
        TSettings settings;
        settings.RecInterval = c.Before;
        TFrmDataLogSet window(settings);
        auto *box = window.findChild<QCheckBox *>(QStringLiteral("ckbRecord"));
        auto *field = window.findChild<QSpinBox *>(QStringLiteral("spedtSpace"));
        EXPECT_EQ(field->value(), c.Shown) << c.Before;
        EXPECT_EQ(box->isChecked(), c.Before > 0);
        box->setChecked(c.Check);
        EXPECT_EQ(window.findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->isEnabled(), c.Check);
        if (c.Seconds)
            field->setValue(c.Seconds);
        window.findChild<QPushButton *>(QStringLiteral("bsSkinButton1"))->click();
        EXPECT_EQ(settings.RecInterval, c.After) << c.Before;
    }
    TSettings settings;
    settings.RecInterval = 600;
    TFrmDataLogSet window(settings);
    window.findChild<QCheckBox *>(QStringLiteral("ckbRecord"))->setChecked(false);
    window.findChild<QPushButton *>(QStringLiteral("bsSkinButton2"))->click();
    EXPECT_EQ(settings.RecInterval, 600);
}

TEST_F(DataLogWindowTest, CancelInTheProgressWindowLeavesTheOldExportAsItWas)
{
    WriteMonth(2009, 3, {Sample(At(2009, 3, 1), 1, 2), Sample(At(2009, 3, 2), 1, 1)});
    Open();
    QTemporaryDir out;
    WriteFileBytes(out.filePath(QStringLiteral("data.csv")), "an earlier export\r\n");
    Window->Prompts.AskSaveFileName = [&out](QWidget *) { return out.filePath(QStringLiteral("data.csv")); };
    Window->Prompts.Confirm = [](QWidget *, const QString &, const QString &) { return true; };
    bool cancelled = false;
    QTimer::singleShot(0, Window.get(), [&] { // the user presses Cancel as soon as the window shows
        auto *progress = Window->findChild<QDialog *>(QStringLiteral("frmProgress"));
        ASSERT_NE(progress, nullptr);
        EXPECT_TRUE(progress->isVisible());
        progress->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
        cancelled = true;
    });
    Find<QPushButton>("bsSkinButton1")->click();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(ReadFileBytes(out.filePath(QStringLiteral("data.csv"))), QByteArray("an earlier export\r\n"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.csv")});
}
