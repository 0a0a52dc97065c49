#include "log/TDataLogModel.h"

#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QFile>
#include <QPersistentModelIndex>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

using Strings = std::vector<std::string>;

Strings Row(const TDataLogModel &model, int row)
{
    Strings cells;
    for (int column = 0; column < TDataLogModel::kColumnCount; ++column)
        cells.push_back(model.GridCellText(row, column).toStdString());
    return cells;
}

Strings Column(const TDataLogModel &model, int column)
{
    Strings cells;
    for (int row = 0; row < model.RowNo(); ++row)
        cells.push_back(model.GridCellText(row, column).toStdString());
    return cells;
}

struct DataLogModelTest : ::testing::Test {
    QTemporaryDir Dir;
    TDataLogModel Model{0};
    QAbstractItemModelTester Tester{&Model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    TRecFilter Filter(quint16 day, quint16 addr) const
    {
        return {2009, 3, day, addr, TRecFilter::MonthFilePath(Dir.path(), 2009, 3)};
    }
    void WriteMarch(const std::vector<TDataRec> &records) const
    {
        WriteRecordFile(TRecFilter::MonthFilePath(Dir.path(), 2009, 3), records);
    }
};

} // namespace

TEST(TDataLogModel, CellsInTheirNumberFormats)
{
    EXPECT_EQ(Row(TDataLogModel(0), 0), Strings(15, ""));

    TDataLogModel model(0);
    TDataRec rec = Sample(At(2009, 3, 5, 7, 8, 9), 12, 230.44);
    EXPECT_EQ(TDataLogModel::CellText(rec, 0).toStdString(), "2009-03-05 07:08:09");
    const Strings expected = {"2009-03-05 07:08:09", "12", "230.4", "221.0", "220.0", "230.5", "50.0", "12346.0",
                              "88", "0", "1.235E+04", "50.0", "1.0000E+05", "95", "40"};
    for (int column = 0; column < TDataLogModel::kColumnCount; ++column)
        EXPECT_EQ(TDataLogModel::CellText(rec, column).toStdString(), expected[column]) << column;

    struct Case {
        std::int32_t Capacity;
        std::int16_t Backup;
        const char *CapacityText;
        const char *BackupText;
    } const cases[] = {{0, 0, "", ""}, {-5, -1, "", "65535"}, {100, 1, "100", "1"}};
    for (const Case &c : cases) {
        rec.BattCapacity = c.Capacity;
        rec.BattBackupTime = c.Backup;
        EXPECT_EQ(TDataLogModel::CellText(rec, 13).toStdString(), c.CapacityText);
        EXPECT_EQ(TDataLogModel::CellText(rec, 14).toStdString(), c.BackupText);
    }
}

TEST(TDataLogModel, HeadersInBothLanguages)
{
    EXPECT_EQ(TDataLogModel::HeaderText(0, 0).toStdString(), "Time");
    EXPECT_EQ(TDataLogModel::HeaderText(14, 0).toStdString(), "BattSuppTime(min)");
    EXPECT_EQ(TDataLogModel::HeaderText(2, 1).toStdString(), "输入A相电压(V)");
    EXPECT_EQ(TDataLogModel::HeaderText(12, 1).toStdString(), "直流输入电压(V)");
}

TEST_F(DataLogModelTest, MonthModeListsBothDevicesInFileOrder)
{
    WriteMarch({Sample(At(2009, 3, 1, 10), 5, 1), Sample(At(2009, 3, 1, 10), 2, 2), Sample(At(2009, 3, 2, 10), 5, 3),
                Sample(At(2009, 2, 28), 2, 4)}); // a stray February stamp still shows in month mode
    ASSERT_TRUE(Model.Load(Filter(0, 0)));
    EXPECT_EQ(Column(Model, 2), (Strings{"1.0", "2.0", "3.0", "4.0"}));
    EXPECT_EQ(Column(Model, 1), (Strings{"5", "2", "5", "2"}));
    EXPECT_EQ(Model.rowCount(), 19);

    ASSERT_TRUE(Model.Load(Filter(0, 5)));
    EXPECT_EQ(Column(Model, 2), (Strings{"1.0", "3.0"}));
    ASSERT_TRUE(Model.Load(Filter(2, 0)));
    EXPECT_EQ(Column(Model, 2), (Strings{"3.0"}));
    ASSERT_TRUE(Model.Load(Filter(31, 0)));
    EXPECT_EQ(Model.RowNo(), 0);
    EXPECT_EQ(Model.rowCount(), 19);
}

TEST_F(DataLogModelTest, AMissingMonthFileGivesAnEmptyGridAndIsNotCreated)
{
    Model.Load(Filter(0, 0)); // leave nothing over from a previous load
    EXPECT_FALSE(Model.Load(Filter(0, 0)));
    EXPECT_EQ(Model.RowNo(), 0);
    EXPECT_FALSE(QFile::exists(Filter(0, 0).FileName));
}

TEST_F(DataLogModelTest, EveryMatchingRecordIsListedPastTheOld65535Limit)
{
    std::vector<TDataRec> records(70000, Sample(At(2009, 3, 1), 1));
    WriteMarch(records);
    qint64 lastDone = 0, lastTotal = 0;
    ASSERT_TRUE(Model.Load(Filter(0, 0), [&](qint64 done, qint64 total) {
        lastDone = done;
        lastTotal = total;
    }));
    EXPECT_EQ(Model.RowNo(), 70000);
    EXPECT_EQ(lastDone, 70000);
    EXPECT_EQ(lastTotal, 70000);
}

TEST_F(DataLogModelTest, SortsByValueWithEmptyAndNotANumberCellsFirst)
{
    auto withCapacity = [](double voltA, std::int32_t capacity) {
        TDataRec rec = Sample(At(2009, 3, 1), 1, voltA);
        rec.BattCapacity = capacity;
        return rec;
    };
    WriteMarch({withCapacity(230, 90), withCapacity(std::numeric_limits<double>::quiet_NaN(), 0),
                withCapacity(9.5, 100), withCapacity(230, -1), withCapacity(-1, 5)});
    ASSERT_TRUE(Model.Load(Filter(0, 0)));
    Model.Sort(2, 0);
    EXPECT_EQ(Column(Model, 2), (Strings{"nan", "-1.0", "9.5", "230.0", "230.0"}));
    EXPECT_EQ(Column(Model, 13), (Strings{"", "5", "100", "90", ""})); // equal keys keep file order
    Model.Sort(2, 1);
    EXPECT_EQ(Column(Model, 13), (Strings{"90", "", "100", "5", ""}));
    Model.Sort(13, 0);
    EXPECT_EQ(Column(Model, 13), (Strings{"", "", "5", "90", "100"}));
}

TEST_F(DataLogModelTest, OneDeviceOrAllSortByValueWithTiesInFileOrder)
{
    // Device 7 has one record in 200 (read record by record), device 1 the
    // rest (read a block at a time); values repeat, so ties abound.
    constexpr int kRecords = 20000;
    std::vector<TDataRec> records;
    for (int i = 0; i < kRecords; ++i)
        records.push_back(Sample(At(2009, 3, 1 + i / 1000), i % 200 == 0 ? 7 : 1, (i * 37) % 100));
    WriteMarch(records);
    for (quint16 addr : {7, 1}) {
        ASSERT_TRUE(Model.Load(Filter(0, addr)));
        std::vector<std::pair<double, int>> expected; // (value, file position) in the order the rows must take
        for (int i = 0; i < kRecords; ++i)
            if (records[i].Addr == addr)
                expected.emplace_back(records[i].InputVolt[0], i);
        ASSERT_EQ(Model.RowNo(), static_cast<int>(expected.size()));
        const QPersistentModelIndex held = Model.index(3, 0); // the fourth record of the device
        const std::string heldTime = Model.GridCellText(3, 0).toStdString();
        for (std::uint8_t dir : {0, 1}) {
            Model.Sort(2, dir);
            std::sort(expected.begin(), expected.end(), [dir](const auto &a, const auto &b) {
                if (a.first != b.first)
                    return dir == 0 ? a.first < b.first : b.first < a.first;
                return a.second < b.second;
            });
            for (int row = 0; row < Model.RowNo(); ++row)
                ASSERT_EQ(Model.RecordAt(row), static_cast<std::uint32_t>(expected[row].second)) << addr << " " << row;
            EXPECT_EQ(Model.GridCellText(held.row(), 0).toStdString(), heldTime);
        }
    }
}

TEST_F(DataLogModelTest, AFileThatGrowsWhileShownIsReadAsItWasAtTheLoad)
{
    WriteMarch({Sample(At(2009, 3, 1), 1, 3), Sample(At(2009, 3, 1), 1, 1), Sample(At(2009, 3, 1), 1, 2)});
    ASSERT_TRUE(Model.Load(Filter(0, 0)));
    {
        QFile file(Filter(0, 0).FileName);
        ASSERT_TRUE(file.open(QIODevice::Append));
        std::uint8_t bytes[TDataRec::kSize];
        Sample(At(2009, 3, 2), 1, 0.5).WriteTo(bytes); // the engine appends
        file.write(reinterpret_cast<const char *>(bytes), TDataRec::kSize);
    }
    Model.Sort(2, 0);
    EXPECT_EQ(Column(Model, 2), (Strings{"1.0", "2.0", "3.0"}));
}

TEST_F(DataLogModelTest, AnAllocationThatFailsLeavesTheModelEmptyWithAMessage)
{
    std::vector<TDataRec> records;
    for (int i = 0; i < 300; ++i)
        records.push_back(Sample(At(2009, 3, 1 + i % 2), 1 + i % 3, i));
    WriteMarch(records);
    // Each large allocation of a load fails once in turn: the list of
    // matches, then the rows, for a filtered and an unfiltered load.
    for (const TRecFilter &filter : {Filter(2, 0), Filter(0, 0)})
        for (int failing = 1; failing <= 2; ++failing) {
            ASSERT_TRUE(Model.Load(Filter(0, 2)));
            int made = 0;
            Model.BeforeAllocate = [&](std::size_t) {
                if (++made == failing)
                    throw std::bad_alloc();
            };
            EXPECT_FALSE(Model.Load(filter));
            Model.BeforeAllocate = {};
            EXPECT_EQ(Model.RowNo(), 0);
            EXPECT_EQ(Model.rowCount(), 19);
            EXPECT_EQ(Model.GridCellText(0, 0).toStdString(), "");
            EXPECT_EQ(Model.LastError().toStdString(), "Not enough memory for 300 records.");
        }

    ASSERT_TRUE(Model.Load(Filter(0, 3)));
    EXPECT_TRUE(Model.LastError().isEmpty());
    Model.BeforeAllocate = [](std::size_t) { throw std::bad_alloc(); };
    Model.Sort(2, 1); // the rows stay as they were
    EXPECT_EQ(Model.RowNo(), 100);
    EXPECT_EQ(Model.GridCellText(0, 2).toStdString(), "2.0");
    EXPECT_EQ(Model.LastError().toStdString(), "Not enough memory for 100 records.");
}
