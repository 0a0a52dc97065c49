#include "log/TDataSummary.h"

#include "log/MonthFiles.h"
#include "log/TDataLog.h"
#include "log/TRecFilter.h"
#include "support/FileBytes.h"
#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace {

using TState = TDataSummary::TState;

struct DataSummaryTest : ::testing::Test {
    QTemporaryDir Dir;
    TDataLog Log{Dir.path()};
    QString March = TRecFilter::MonthFilePath(Dir.path(), 2009, 3);
    TDataSummary Summary{March};

    // Three devices every 20 minutes over two days; device 3 is offline on
    // the second day and device 2 reports no capacity and a NaN frequency.
    void AppendDays()
    {
        for (int run = 0; run < 2 * 72; ++run) {
            const TDateTime time = At(2009, 3, 1) + run * 20.0 / 1440;
            for (std::uint8_t addr : {5, 2, 3}) {
                if (addr == 3 && run >= 72)
                    continue;
                TDataRec rec = Sample(time, addr, 200 + run % 7 + addr);
                if (addr == 2) {
                    rec.BattCapacity = 0;
                    rec.OutputFreq = std::numeric_limits<double>::quiet_NaN();
                }
                ASSERT_TRUE(Log.AppendRecord(rec));
            }
        }
    }
    void AppendToMonthFileOnly(const TDataRec &rec) const
    {
        QFile file(March);
        ASSERT_TRUE(file.open(QIODevice::Append));
        std::uint8_t bytes[TDataRec::kSize];
        rec.WriteTo(bytes);
        file.write(reinterpret_cast<const char *>(bytes), TDataRec::kSize);
    }
};

} // namespace

TEST_F(DataSummaryTest, AppendsKeepTheSummaryCurrentAndAsARebuildWouldWriteIt)
{
    EXPECT_EQ(Summary.State(), TState::NoMonth);
    AppendDays();
    EXPECT_EQ(QFileInfo(Summary.SummaryPath()).fileName().toStdString(), "DataLog2009_03.sum");
    ASSERT_EQ(Summary.State(), TState::Current);
    const QByteArray appended = ReadFileBytes(Summary.SummaryPath());
    ASSERT_TRUE(Summary.Rebuild());
    EXPECT_EQ(ReadFileBytes(Summary.SummaryPath()), appended);
    EXPECT_EQ(appended.size(), TDataSummary::kHeaderSize + 3 * TDataSummary::kBlockSize);

    const auto five = Summary.DeviceBuckets(5);
    ASSERT_TRUE(five.has_value());
    const TSummaryBucket &hour1 = (*five)[1]; // 01:00 to 01:59 of the 1st: runs 3, 4 and 5
    EXPECT_EQ(hour1.Records, 3u);
    EXPECT_EQ(hour1.FirstRecord, 9u);
    EXPECT_EQ(hour1.LastRecord, 15u);
    const TSummaryBucket::TStats &volts = hour1.Values[kTrendInputVoltA];
    EXPECT_EQ(volts.Count, 3u);
    EXPECT_FLOAT_EQ(volts.Min, 208);
    EXPECT_FLOAT_EQ(volts.Max, 210);
    EXPECT_FLOAT_EQ(volts.Mean(), 209);

    const auto two = Summary.DeviceBuckets(2);
    EXPECT_EQ((*two)[0].Values[kTrendBattCapacity].Count, 0u); // none shown, none summarised
    EXPECT_EQ((*two)[0].Values[kTrendOutputFreq].Count, 0u);
    EXPECT_EQ((*Summary.DeviceBuckets(3))[24].Records, 0u); // offline on the 2nd
    EXPECT_EQ((*Summary.DeviceBuckets(3))[23].Records, 3u);
    EXPECT_EQ((*Summary.DeviceBuckets(200))[0].Records, 0u); // never seen
}

TEST_F(DataSummaryTest, ASummaryThatDoesNotMatchItsMonthIsNeverReadAndIsRebuilt)
{
    AppendDays();
    auto good = [&] { return ReadFileBytes(Summary.SummaryPath()); };
    const qint64 bucketOfDevice5Hour1 = TDataSummary::kHeaderSize + TSummaryBucket::kSize;
    struct Case {
        const char *What;
        TState State;
        std::function<void()> Spoil;
    } const cases[] = {
        {"missing", TState::Missing, [&] { QFile::remove(Summary.SummaryPath()); }},
        {"cut short", TState::Damaged, [&] { WriteFileBytes(Summary.SummaryPath(), good().chopped(1)); }},
        {"another format", TState::Damaged, [&] { WriteFileBytes(Summary.SummaryPath(), good().replace(0, 5, "Other")); }},
        {"a later version", TState::Damaged, [&] { WriteFileBytes(Summary.SummaryPath(), good().replace(8, 1, "\x02")); }},
        {"another month", TState::Damaged, [&] { WriteFileBytes(Summary.SummaryPath(), good().replace(22, 1, "\x04")); }},
        {"behind the month file", TState::Behind, [&] { AppendToMonthFileOnly(Sample(At(2009, 3, 3), 5, 999)); }},
        {"older than the month file", TState::Behind, [&] {
             QFile month(March);
             ASSERT_TRUE(month.open(QIODevice::ReadWrite));
             month.setFileTime(QFileInfo(Summary.SummaryPath()).lastModified().addSecs(5), QFileDevice::FileModificationTime);
         }},
        {"a bucket whose highest input voltage changed on disk", TState::Current, [&] {
             QByteArray spoilt = good();
             spoilt[bucketOfDevice5Hour1 + 16 + 4 + 2] ^= 1; // a plausible figure, but not the one written
             WriteFileBytes(Summary.SummaryPath(), spoilt);
             QFile month(March);
             ASSERT_TRUE(month.open(QIODevice::ReadWrite));
             month.setFileTime(QFileInfo(Summary.SummaryPath()).lastModified().addSecs(-5), QFileDevice::FileModificationTime);
         }},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(Summary.Rebuild());
        c.Spoil();
        EXPECT_EQ(Summary.State(), c.State) << c.What;
        EXPECT_FALSE(Summary.DeviceBuckets(5).has_value()) << c.What;
        ASSERT_TRUE(Summary.Rebuild() && Summary.State() == TState::Current) << c.What;
        EXPECT_EQ((*Summary.DeviceBuckets(5))[1].Values[kTrendInputVoltA].Count, 3u) << c.What;
    }
}

TEST_F(DataSummaryTest, AnAppendDoesNotPatchASummaryThatIsBehind)
{
    AppendDays();
    AppendToMonthFileOnly(Sample(At(2009, 3, 3), 5, 999)); // written by something else
    ASSERT_TRUE(Log.AppendRecord(Sample(At(2009, 3, 3, 1), 5, 998)));
    EXPECT_EQ(Summary.State(), TState::Behind);
    ASSERT_TRUE(Summary.MakeCurrent());
    const auto buckets = Summary.DeviceBuckets(5);
    ASSERT_TRUE(buckets);
    const TSummaryBucket &day3 = (*buckets)[48];
    EXPECT_EQ(day3.Records, 1u);
    EXPECT_FLOAT_EQ(day3.Values[kTrendInputVoltA].Max, 999);
    ASSERT_TRUE(Log.AppendRecord(Sample(At(2009, 3, 3, 0, 30), 5, 1000))); // up to date again: followed
    EXPECT_EQ(Summary.State(), TState::Current);
    EXPECT_EQ((*Summary.DeviceBuckets(5))[48].Records, 2u);
}

TEST_F(DataSummaryTest, ARebuildTakesInWhatIsAppendedMeanwhileAndACancelKeepsTheOldSummary)
{
    AppendDays();
    const QByteArray before = ReadFileBytes(Summary.SummaryPath());
    EXPECT_FALSE(Summary.Rebuild([](qint64, qint64) { return false; }));
    EXPECT_EQ(ReadFileBytes(Summary.SummaryPath()), before);

    bool appended = false;
    ASSERT_TRUE(Summary.Rebuild([&](qint64, qint64) {
        if (!appended) // the engine's timer runs while the progress is shown
            appended = Log.AppendRecord(Sample(At(2009, 3, 4), 2, 250));
        return true;
    }));
    EXPECT_EQ(Summary.State(), TState::Current);
    EXPECT_EQ((*Summary.DeviceBuckets(2))[72].Records, 1u);
}

TEST(TDataSummary, HourOfMonthFromTheStampsOwnCalendar)
{
    struct Case {
        TDateTime Time;
        int Hour;
    } const cases[] = {
        {At(2009, 3, 1), 0},
        {At(2009, 3, 1, 0, 59, 59), 0},
        {At(2009, 3, 1, 1), 1},
        {At(2009, 3, 31, 23, 59, 59), 743},
        {At(2009, 2, 28, 23, 59, 59), -1},
        {At(2009, 4, 1), -1},
        {std::numeric_limits<double>::quiet_NaN(), -1},
        {1e300, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TDataSummary::HourOfMonth(c.Time, 2009, 3), c.Hour) << FormatDateTime(c.Time).toStdString();
    EXPECT_EQ(TDataSummary::HourOfMonth(At(2009, 2, 28, 23), 2009, 2), 27 * 24 + 23);
}

TEST_F(DataSummaryTest, DeletingAMonthDeletesItsSummary)
{
    AppendDays();
    ASSERT_TRUE(QFile::exists(Summary.SummaryPath()));
    ASSERT_TRUE(DeleteMonthEntry(Dir.path(), QStringLiteral("DataLog2009_03")));
    EXPECT_FALSE(QFile::exists(Summary.SummaryPath()));
    EXPECT_EQ(ListMonthEntries(Dir.path()), QStringList{}); // and a summary is never listed as a month
}
