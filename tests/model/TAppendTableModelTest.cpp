#include "model/TAppendTableModel.h"

#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include <vector>

namespace {

using Addrs = std::vector<std::uint8_t>;
using Result = TAppendTableModel::TMoveResult;
using AppendResult = TAppendTableModel::TAppendResult;

TDeviceList ListOf(const Addrs &addrs)
{
    TDeviceList list;
    for (std::uint8_t addr : addrs)
        list.AddDevice(TDeviceNode::Make(addr, QStringLiteral("UPS%1").arg(addr)));
    return list;
}

QByteArray NameBytes(const TDeviceNode &node)
{
    return QByteArray(node.Name, TDeviceNode::kNameSize);
}

struct AppendTable : ::testing::Test {
    TAppendTableModel Table;
    QAbstractItemModelTester Tester{&Table, QAbstractItemModelTester::FailureReportingMode::Fatal};

    QString Cell(int row, int column) const { return Table.data(Table.index(row, column), Qt::DisplayRole).toString(); }
    void SetName(int row, const QString &name)
    {
        ASSERT_TRUE(Table.setData(Table.index(row, TAppendTableModel::NameColumn), name, Qt::EditRole));
    }
    Addrs EntryAddrs() const
    {
        Addrs addrs;
        for (const TAppendRow &row : Table.Entries())
            addrs.push_back(TAppendTableModel::AddrOfCell(row.Addr));
        return addrs;
    }
};

TEST_F(AppendTable, AnEmptyTableIsOneEmptyRowThatCannotBeEdited)
{
    EXPECT_EQ(Table.rowCount(), 1);
    EXPECT_EQ(Table.columnCount(), 2);
    EXPECT_FALSE(Table.flags(Table.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(Table.setData(Table.index(0, 1), QStringLiteral("x"), Qt::EditRole));
    Table.SetHeaders(QStringLiteral("Addr"), QStringLiteral("Name"));
    EXPECT_EQ(Table.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Name");
}

TEST_F(AppendTable, AnAddressCellCountsAsOneUnlessItHoldsABusAddress)
{
    const struct { const char *cell; int addr; } cases[] = {
        {"7", 7}, {" 12 ", 12}, {"252", 252}, {"1", 1},
        {"", 1}, {"abc", 1}, {"0", 1}, {"253", 1}, {"300", 1}, {"-5", 1}, {"7x", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TAppendTableModel::AddrOfCell(QString::fromUtf8(c.cell)), c.addr) << c.cell;
}

TEST_F(AppendTable, MovingOneAddressChecksTheListAndTheTable)
{
    const TDeviceList list = ListOf({4});
    EXPECT_EQ(Table.MoveOne(4, list), Result::AddrUsed);
    EXPECT_EQ(Table.MoveOne(9, list), Result::Moved);
    EXPECT_EQ(Table.MoveOne(9, list), Result::AlreadyInTable);
    EXPECT_EQ(Table.rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "9");
    EXPECT_EQ(Cell(0, 1), "9"); // the name defaults to the address
    EXPECT_TRUE(Table.flags(Table.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(Cell(1, 0), "");

    // An edited address cell is what the table holds.
    ASSERT_TRUE(Table.setData(Table.index(0, 0), QStringLiteral("11"), Qt::EditRole));
    EXPECT_EQ(Table.MoveOne(9, list), Result::Moved);
    EXPECT_EQ(Table.MoveOne(11, list), Result::AlreadyInTable);
    // A cell that is no address counts as 1.
    ASSERT_TRUE(Table.setData(Table.index(0, 0), QStringLiteral("?"), Qt::EditRole));
    EXPECT_EQ(Table.MoveOne(1, list), Result::AlreadyInTable);
}

TEST_F(AppendTable, MovingAllReplacesTheEntriesWithTheFoundAddressesNotMonitored)
{
    Table.MoveOne(30, ListOf({}));
    Table.MoveAll({3, 5, 7, 12}, ListOf({5, 12}));
    EXPECT_EQ(EntryAddrs(), (Addrs{3, 7}));

    Table.MoveAll({}, ListOf({}));
    EXPECT_EQ(EntryAddrs(), (Addrs{3, 7})) << "nothing found: the table stays";

    Table.MoveAll({5, 12}, ListOf({5, 12}));
    EXPECT_TRUE(Table.Entries().empty());
    EXPECT_EQ(Table.rowCount(), 1);
}

TEST_F(AppendTable, AppendingNeedsEntriesAndEveryName)
{
    TDeviceList list = ListOf({1});
    EXPECT_EQ(Table.AppendTo(list), AppendResult::NothingToAppend);

    Table.MoveAll({3, 7}, list);
    SetName(1, QString());
    EXPECT_EQ(Table.AppendTo(list), AppendResult::NameMissing);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(Table.Entries().size(), 2u);
}

TEST_F(AppendTable, AppendedNamesFillFortyBytesWithoutSplittingACharacter)
{
    const QString chinese20 = QString(20, QChar(0x8BBE)); // 设, two bytes each
    const struct { QString name; QByteArray stored; } cases[] = {
        {QString(50, 'a'), QByteArray(40, 'a')},
        {QStringLiteral("abc"), QByteArray("abc") + QByteArray(37, '\r')},
        {chinese20 + QString(QChar(0x5907)), QByteArray::fromHex(QByteArray("c9e8").repeated(20))},
        {QStringLiteral("A") + chinese20, "A" + QByteArray::fromHex(QByteArray("c9e8").repeated(19)) + '\r'},
    };
    TDeviceList list;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(Table.MoveOne(static_cast<std::uint8_t>(i + 1), list), Result::Moved);
        SetName(i, cases[i].name);
    }
    ASSERT_EQ(Table.AppendTo(list), AppendResult::Appended);
    EXPECT_TRUE(Table.Entries().empty());
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.At(i + 1)->Addr, i + 1);
        EXPECT_EQ(NameBytes(*list.At(i + 1)), cases[i].stored) << cases[i].name.toStdString();
    }
}

TEST_F(AppendTable, AppendingTakesEditedAddressesAndStopsAtAFullList)
{
    Addrs monitored;
    for (int addr = 1; addr <= 250; ++addr)
        monitored.push_back(static_cast<std::uint8_t>(addr));
    TDeviceList list = ListOf(monitored);
    Table.MoveAll({1, 251, 252}, ListOf({}));
    ASSERT_TRUE(Table.setData(Table.index(1, 0), QStringLiteral("200"), Qt::EditRole));

    ASSERT_EQ(Table.AppendTo(list), AppendResult::Appended);
    ASSERT_EQ(list.Count(), 252);
    // Appending checks no address; the row beyond the list's room is dropped.
    EXPECT_EQ(list.At(251)->Addr, 1);
    EXPECT_EQ(list.At(252)->Addr, 200);
    EXPECT_TRUE(Table.Entries().empty());
}

} // namespace
