#include "gui/model/TFrmEquipSearch.h"

#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"
#include "protocol/TEngineState.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include <memory>

namespace {

struct EquipSearchWindow : ::testing::Test {
    TDeviceList List;
    TEngineState Engine;
    int ListChanges = 0;
    QStringList Messages;
    std::unique_ptr<TFrmEquipSearch> Window;

    void Open(std::initializer_list<quint8> monitored, quint8 language = 0)
    {
        for (quint8 addr : monitored)
            List.AddDevice(TDeviceNode::Make(addr, QStringLiteral("UPS%1").arg(addr)));
        Window = std::make_unique<TFrmEquipSearch>(List, Engine, nullptr, language, [this] { ++ListChanges; });
        Window->ShowMessage = [this](const QString &text) { Messages << text; };
        Window->show();
    }
    template <typename W = QWidget>
    W *Find(const char *name) const
    {
        W *widget = Window->findChild<W *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char *button) const { Find<QPushButton>(button)->click(); }
    QStringList Items(const char *list) const
    {
        QStringList items;
        for (int i = 0; i < Find<QListWidget>(list)->count(); ++i)
            items << Find<QListWidget>(list)->item(i)->text();
        return items;
    }
    // Found addresses as the engine reports them during a search.
    void Found(std::initializer_list<std::uint8_t> addrs)
    {
        if (!Window->Search().Searching())
            Click("btnSearch");
        for (std::uint8_t addr : addrs)
            Window->Search().AddressFound(addr);
    }
    void SelectFound(const char *addr) const
    {
        auto *list = Find<QListWidget>("lstSearched");
        list->setCurrentItem(list->findItems(QLatin1String(addr), Qt::MatchExactly).value(0));
    }
    QString Cell(int row, int column) const
    {
        QAbstractItemModel *model = Find<QTableView>("grdAppend")->model();
        return model->data(model->index(row, column)).toString();
    }
};

TEST_F(EquipSearchWindow, OpensIdleOnOneToSixteenWithCoupledLimits)
{
    Open({4, 2});
    auto *start = Find<QSpinBox>("seAddrS");
    auto *end = Find<QSpinBox>("seAddrE");
    EXPECT_EQ(start->value(), 1);
    EXPECT_EQ(end->value(), 16);
    EXPECT_EQ(end->maximum(), 252);
    EXPECT_EQ(Items("lstExist"), (QStringList{"4", "2"}));
    EXPECT_EQ(Find<QPushButton>("btnSearch")->text(), "Search");
    EXPECT_FALSE(Find<QProgressBar>("PrgBarSearch")->isVisible());
    EXPECT_TRUE(Find<QLabel>("txtFinished")->isVisible());
    EXPECT_TRUE(Find<QLabel>("txtFinished")->text().isEmpty());
    EXPECT_EQ(Cell(0, 0), "");
    EXPECT_EQ(Find<QTableView>("grdAppend")->model()->rowCount(), 1);

    end->setValue(10);
    EXPECT_EQ(start->maximum(), 10);
    start->setValue(6);
    EXPECT_EQ(end->minimum(), 6);
    EXPECT_EQ(Window->Search().StartAddr(), 6);
    EXPECT_EQ(Window->Search().EndAddr(), 10);
}

TEST_F(EquipSearchWindow, ASearchShowsItsProgressAndTheFoundAddressesInOrder)
{
    Open({});
    Find<QSpinBox>("seAddrS")->setValue(3);
    Click("btnSearch");
    EXPECT_EQ(Engine.SearchMode, 255);
    auto *progress = Find<QProgressBar>("PrgBarSearch");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->minimum(), 3);
    EXPECT_EQ(progress->maximum(), 16);
    EXPECT_FALSE(Find<QLabel>("txtFinished")->isVisible());
    EXPECT_EQ(Find<QPushButton>("btnSearch")->text(), "Stop");

    EXPECT_EQ(Window->Search().NextSearchAddr(), 3);
    Window->Search().NextSearchAddr();
    EXPECT_EQ(progress->value(), 4);
    for (std::uint8_t addr : {12, 3, 7, 12})
        Window->Search().AddressFound(addr);
    EXPECT_EQ(Items("lstSearched"), (QStringList{"3", "7", "12"}));
    EXPECT_EQ(Find<QListWidget>("lstSearched")->currentRow(), 0);

    // A new search starts with an empty list.
    Click("btnSearch");
    EXPECT_EQ(Engine.SearchMode, 0);
    EXPECT_EQ(Items("lstSearched").size(), 3);
    Click("btnSearch");
    EXPECT_TRUE(Items("lstSearched").isEmpty());
}

TEST_F(EquipSearchWindow, TheCompletionTextShowsOnlyAfterASearchRanToItsEnd)
{
    Open({});
    Find<QSpinBox>("seAddrE")->setValue(5);
    Find<QSpinBox>("seAddrS")->setValue(5);
    Click("btnSearch");
    EXPECT_EQ(Window->Search().NextSearchAddr(), 5);
    EXPECT_EQ(Window->Search().NextSearchAddr(), 6);
    EXPECT_EQ(Engine.SearchMode, 0);
    EXPECT_TRUE(Find<QLabel>("txtFinished")->isVisible());
    EXPECT_EQ(Find<QLabel>("txtFinished")->text(), "Search Completed !");
    EXPECT_EQ(Find<QPushButton>("btnSearch")->text(), "Search");

    Click("btnSearch"); // started again, then stopped by hand
    Click("btnSearch");
    EXPECT_TRUE(Find<QLabel>("txtFinished")->text().isEmpty());
}

TEST_F(EquipSearchWindow, TheWindowStaysOpenWhileASearchRuns)
{
    Open({});
    Click("btnSearch");
    EXPECT_FALSE(Window->close());
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Messages, QStringList{"Please stop search before close this forms !"});
    EXPECT_EQ(Engine.SearchMode, 255);

    Click("btnSearch");
    EXPECT_TRUE(Window->close());
    EXPECT_FALSE(Window->isVisible());
}

TEST_F(EquipSearchWindow, ClosingTheWindowEndsASearchLeftRunning)
{
    Open({});
    Click("btnSearch");
    Window.reset();
    EXPECT_EQ(Engine.SearchMode, 0);
}

TEST_F(EquipSearchWindow, MovingAddressesIntoTheTable)
{
    Open({2});
    Found({2, 5, 9});
    Click("btnSelOne"); // the first entry is selected
    EXPECT_EQ(Messages, QStringList{"This address is already exists !"});
    SelectFound("5");
    Click("btnSelOne");
    Click("btnSelOne");
    EXPECT_EQ(Messages.last(), "You had appended this address to the list,not to append again");
    EXPECT_EQ(Cell(0, 0), "5");
    EXPECT_EQ(Cell(0, 1), "5");
    EXPECT_EQ(Cell(1, 0), "");

    Click("btnSelAll"); // replaces the table; 2 is monitored and skipped silently
    EXPECT_EQ(Messages.size(), 2);
    EXPECT_EQ(Cell(0, 0), "5");
    EXPECT_EQ(Cell(1, 0), "9");
    EXPECT_EQ(Find<QTableView>("grdAppend")->model()->rowCount(), 3);

    Click("btnClear");
    EXPECT_EQ(Find<QTableView>("grdAppend")->model()->rowCount(), 1);
}

TEST_F(EquipSearchWindow, NothingToMoveNothingToAppend)
{
    Open({3, 7});
    Click("btnSelOne");
    Click("btnSelAll");
    EXPECT_TRUE(Messages.isEmpty());

    Found({7, 3});
    Click("btnSelAll");
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(Find<QTableView>("grdAppend")->model()->rowCount(), 1);
    Click("btnAppend");
    EXPECT_EQ(Messages, QStringList{"There are no equipment that can be appended"});
    EXPECT_EQ(ListChanges, 0);
}

TEST_F(EquipSearchWindow, AppendingAddsTheNamedDevicesAndListsThemAsExisting)
{
    Open({8, 2});
    Found({5, 3});
    Click("btnSelAll");
    Window->Table().setData(Window->Table().index(0, 1), QString(), Qt::EditRole);
    Click("btnAppend");
    EXPECT_EQ(Messages, QStringList{"Please set Equipment name for every Equipment in the list before append !"});
    EXPECT_EQ(List.Count(), 2);

    Window->Table().setData(Window->Table().index(0, 1), QStringLiteral("East"), Qt::EditRole);
    Click("btnAppend");
    ASSERT_EQ(List.Count(), 4);
    EXPECT_EQ(List.At(3)->Addr, 3);
    EXPECT_EQ(List.At(3)->NameText(), "East");
    EXPECT_EQ(List.At(4)->NameText(), "5");
    EXPECT_EQ(ListChanges, 1);
    EXPECT_EQ(Items("lstExist"), (QStringList{"2", "3", "5", "8"}));
    EXPECT_EQ(Find<QTableView>("grdAppend")->model()->rowCount(), 1);
}

TEST_F(EquipSearchWindow, ChineseTexts)
{
    Open({}, 1);
    EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("设备搜索"));
    EXPECT_EQ(Find<QGroupBox>("grpRange")->title(), QString::fromUtf8("搜索地址范围"));
    EXPECT_EQ(Find<QPushButton>("btnAppend")->text(), QString::fromUtf8("添加"));
    EXPECT_EQ(Find<QPushButton>("btnSelOne")->toolTip(), QString::fromUtf8("只选择被选中项"));
    EXPECT_EQ(Find<QTableView>("grdAppend")->model()->headerData(0, Qt::Horizontal).toString(),
              QString::fromUtf8("地址"));
    Click("btnSearch");
    EXPECT_EQ(Find<QPushButton>("btnSearch")->text(), QString::fromUtf8("停止"));
    Window->close();
    EXPECT_EQ(Messages, QStringList{QString::fromUtf8("请先停止搜索再关闭窗口!")});
}

TEST_F(EquipSearchWindow, EnglishCaptionsKeepTheirBlanks)
{
    Open({});
    EXPECT_EQ(Window->windowTitle(), "Search Equipment");
    EXPECT_EQ(Find<QGroupBox>("grpRange")->title(), "Range of Searched Address ");
    EXPECT_EQ(Find<QGroupBox>("grpSearched")->title(), "Searched:");
    EXPECT_EQ(Find<QLabel>("lblNameEdit")->text(), "Name Edit");
}

} // namespace
