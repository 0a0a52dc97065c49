#include "log/TDataLog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s)
{
    return EncodeDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

TDataRec Sample(TDateTime time, std::uint8_t addr, double inputVoltA)
{
    TUpsInfo info;
    info.Addr = addr;
    info.InputVolt[0] = inputVoltA;
    info.BattCapacity = 77;
    info.DischargeCurrent = 1.25;
    return TDataRec::FromUpsInfo(time, info);
}

struct DataLogTest : ::testing::Test {
    QTemporaryDir Dir;
    QString RecordDir = Dir.filePath(QStringLiteral("Record"));
    TDataLog Log{RecordDir};
};

} // namespace

TEST(TDataLog, MonthFileIsNamedFromTheRecordsOwnTime)
{
    struct Case {
        TDateTime Time;
        const char *Name;
    } const cases[] = {
        {At(2009, 3, 15, 8, 0, 0), "DataLog2009_03.dat"},
        {At(2009, 12, 31, 23, 59, 59), "DataLog2009_12.dat"},
        {At(2010, 1, 1, 0, 0, 4), "DataLog2010_01.dat"},
        {At(2026, 11, 30, 12, 0, 0), "DataLog2026_11.dat"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TDataLog::MonthFileName(c.Time).toStdString(), c.Name);
}

TEST(TDataRec, TimeAddressPaddingThenMeasurementBlock)
{
    const TDataRec rec = Sample(39873.5, 5, 220.5);
    std::uint8_t bytes[TDataRec::kSize];
    std::fill(std::begin(bytes), std::end(bytes), std::uint8_t{0xAA});
    rec.WriteTo(bytes);

    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(bytes), 24).toHex(),
              QByteArray("000000003078e340" "05" "00000000000000" "00000000" "00906b40"));
    std::uint8_t block[kMeasurementBlockSize];
    WriteMeasurementBlock(rec, block);
    EXPECT_TRUE(std::equal(std::begin(block), std::end(block), bytes + 16));

    const TDataRec back = TDataRec::ReadFrom(bytes);
    EXPECT_EQ(back.Time, 39873.5);
    EXPECT_EQ(back.Addr, 5);
    EXPECT_EQ(back.InputVolt[0], 220.5);
    EXPECT_EQ(back.BattCapacity, 77);
    EXPECT_EQ(back.DischargeCurrent, 1.25);
}

TEST_F(DataLogTest, AppendsGoToTheMonthOfEachRecord)
{
    const TDataRec december = Sample(At(2009, 12, 31, 23, 59, 59), 5, 220);
    ASSERT_TRUE(Log.AppendRecord(december));
    ASSERT_TRUE(Log.AppendRecord(Sample(december.Time, 2, 221)));
    ASSERT_TRUE(Log.AppendRecord(Sample(At(2010, 1, 1, 0, 0, 4), 5, 222)));

    const auto decRecords = TDataLog::ReadDataFile(Log.MonthFilePath(december.Time));
    ASSERT_EQ(decRecords.size(), 2u);
    EXPECT_EQ(decRecords[0].Addr, 5);
    EXPECT_EQ(decRecords[1].Addr, 2);
    EXPECT_EQ(decRecords[1].Time, december.Time);
    EXPECT_EQ(decRecords[1].InputVolt[0], 221);

    const auto janRecords = TDataLog::ReadDataFile(QDir(RecordDir).filePath(QStringLiteral("DataLog2010_01.dat")));
    ASSERT_EQ(janRecords.size(), 1u);
    EXPECT_EQ(janRecords[0].InputVolt[0], 222);
}

TEST_F(DataLogTest, PartialTrailingRecordIsIgnoredAndOverwritten)
{
    const TDateTime time = At(2026, 5, 1, 10, 0, 0);
    ASSERT_TRUE(Log.AppendRecord(Sample(time, 1, 100)));
    const QString path = Log.MonthFilePath(time);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray(50, '\x7F'));
    }
    EXPECT_EQ(TDataLog::FileRecordCount(path), 1);
    EXPECT_EQ(TDataLog::ReadDataFile(path).size(), 1u);

    ASSERT_TRUE(Log.AppendRecord(Sample(time, 1, 101)));
    EXPECT_EQ(QFileInfo(path).size(), 2 * TDataRec::kSize);
    EXPECT_EQ(TDataLog::ReadDataFile(path).back().InputVolt[0], 101);
}

TEST_F(DataLogTest, DeletedMonthFileIsCreatedAgain)
{
    const TDateTime time = At(2026, 5, 1, 10, 0, 0);
    ASSERT_TRUE(Log.AppendRecord(Sample(time, 1, 100)));
    ASSERT_TRUE(QFile::remove(Log.MonthFilePath(time)));
    ASSERT_TRUE(Log.AppendRecord(Sample(time, 1, 101)));
    EXPECT_EQ(TDataLog::FileRecordCount(Log.MonthFilePath(time)), 1);
}

TEST_F(DataLogTest, MissingFileIsCreatedByCountButNotByRead)
{
    const QString path = QDir(RecordDir).filePath(QStringLiteral("DataLog2001_01.dat"));
    EXPECT_TRUE(TDataLog::ReadDataFile(path).empty());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(TDataLog::FileRecordCount(path), 0);
    EXPECT_TRUE(QFileInfo(path).isFile());
}

TEST_F(DataLogTest, FullDiskMakesAppendFail)
{
    const TDateTime time = At(2026, 5, 1, 10, 0, 0);
    QDir().mkpath(RecordDir);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), Log.MonthFilePath(time)));
    EXPECT_FALSE(Log.AppendRecord(Sample(time, 1, 100)));
}

TEST_F(DataLogTest, ManyRecordsReadInOnePass)
{
    const TDateTime time = At(2026, 6, 1, 0, 0, 0);
    const QString path = Log.MonthFilePath(time);
    QDir().mkpath(RecordDir);
    QByteArray bytes(20000 * TDataRec::kSize, '\0');
    for (int i = 0; i < 20000; ++i)
        Sample(time, static_cast<std::uint8_t>(i % 250 + 1), i)
            .WriteTo(reinterpret_cast<std::uint8_t *>(bytes.data()) + i * TDataRec::kSize);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const auto records = TDataLog::ReadDataFile(path);
    ASSERT_EQ(records.size(), 20000u);
    EXPECT_EQ(records[8191].InputVolt[0], 8191);
    EXPECT_EQ(records[8192].InputVolt[0], 8192);
    EXPECT_EQ(records[19999].InputVolt[0], 19999);
}
