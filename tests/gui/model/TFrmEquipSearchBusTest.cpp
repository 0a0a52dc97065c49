// The search window opened from the main window, with the real polling
// engine and the bus simulator on a pseudo-terminal: units are found,
// appended with names and then polled like any other device.
#include "gui/model/TFrmEquipSearch.h"

#include "gui/app/MainWindowFixture.h"
#include "gui/model/TFrmDeviceTree.h"
#include "model/UpsInfoRules.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace {

struct TBusProtocol {
    const char *SimName; // upssim's --protocol
    int Setting;         // the Protocol setting
};

void PrintTo(const TBusProtocol &protocol, std::ostream *out)
{
    *out << protocol.SimName;
}

class SearchOnTheBus : public MainWindowFixture, public ::testing::WithParamInterface<TBusProtocol>
{
protected:
    UpsSimProcess Sim;
};

QStringList Items(const QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

TEST_P(SearchOnTheBus, UnitsOfTheRangeAreFoundAppendedAndPolled)
{
    // 4 and 7 are silent; 9 answers but lies beyond the range.
    ASSERT_TRUE(Sim.Start({"--protocol", GetParam().SimName, "--units", "3,5,6,9", "--steady"}))
        << Sim.ErrorText().toStdString();
    WriteSettings(QStringLiteral("[CommPort]\nComName=%1\nProtocol=%2\nReadIntervalTimeout=30\n[CommMast]\nPollMode=1\n")
                      .arg(Sim.PortPath())
                      .arg(GetParam().Setting)
                      .toUtf8());
    Open();
    Window->StartEngine();
    ASSERT_TRUE(Window->PortOpened());

    QStringList found;
    QString completion;
    Window->RunModal = [&](QDialog &dialog) {
        auto &search = dynamic_cast<TFrmEquipSearch &>(dialog);
        search.findChild<QSpinBox *>(QStringLiteral("seAddrS"))->setValue(3);
        search.findChild<QSpinBox *>(QStringLiteral("seAddrE"))->setValue(7);
        search.findChild<QPushButton *>(QStringLiteral("btnSearch"))->click();
        ASSERT_TRUE(WaitUntil([&] { return !search.Search().Searching(); }, 60000));
        found = Items(search.findChild<QListWidget *>(QStringLiteral("lstSearched")));
        completion = search.findChild<QLabel *>(QStringLiteral("txtFinished"))->text();

        search.findChild<QPushButton *>(QStringLiteral("btnSelAll"))->click();
        TAppendTableModel &table = search.Table();
        for (int row = 0; row < static_cast<int>(table.Entries().size()); ++row)
            table.setData(table.index(row, TAppendTableModel::NameColumn), QStringLiteral("Hall %1").arg(row + 1),
                          Qt::EditRole);
        search.findChild<QPushButton *>(QStringLiteral("btnAppend"))->click();
        search.close();
    };
    Find<QPushButton>("btnSearch")->click();
    EXPECT_EQ(found, (QStringList{"3", "5", "6"}));
    EXPECT_EQ(completion, "Search Completed !");
    EXPECT_EQ(State.Engine.SearchMode, 0);

    ASSERT_EQ(Window->Tree()->topLevelItemCount(), 3);
    EXPECT_EQ(ReadFileBytes(Paths.RecordDir + QStringLiteral("TreeNode.dat")).size(), 3 * 42);
    const quint8 addrs[] = {3, 5, 6};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(State.DeviceList.At(i + 1)->Addr, addrs[i]);
        EXPECT_EQ(State.DeviceList.At(i + 1)->NameText(), QStringLiteral("Hall %1").arg(i + 1));
    }
    // Normal polling has taken over: with what the probes saw forgotten,
    // every appended unit comes online again.
    for (quint8 addr : addrs)
        State.UpsInfo[addr].LinkState = kLinkLost;
    const bool online = WaitUntil(
        [&] {
            Window->RefreshView();
            return std::all_of(std::begin(addrs), std::end(addrs),
                               [&](quint8 addr) { return State.UpsInfo[addr].LinkState == kLinkOnline; });
        },
        60000);
    EXPECT_TRUE(online);
    EXPECT_TRUE(Window->Tree()->topLevelItem(2)->text(0).startsWith("Hall 3"));
    EXPECT_NE(State.UpsInfo[9].LinkState, kLinkOnline);
}

INSTANTIATE_TEST_SUITE_P(Protocols, SearchOnTheBus, ::testing::Values(TBusProtocol{"modbus", 2}, TBusProtocol{"ydt", 0},
                                                           TBusProtocol{"rorizu", 1}),
                         [](const auto &info) { return std::string(info.param.SimName); });

} // namespace
