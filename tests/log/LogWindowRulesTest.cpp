#include "log/DataLogInterval.h"
#include "log/MonthFiles.h"
#include "log/ViewerDate.h"

#include "support/FileBytes.h"
#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>

TEST(DataLogInterval, FieldFromTheSettingAndBack)
{
    struct Case {
        qint32 RecInterval;
        bool Recording;
        int Seconds;
    } const cases[] = {
        {0, false, 300},    // the 600 of the off state held to 300
        {600, true, 60},
        {50, true, 10},     // 5 s shows as the field's minimum
        {3000, true, 300},
        {9999, true, 300},
        {-100, false, 300}, // the engine never records at a negative interval
    };
    for (const Case &c : cases) {
        const TIntervalField field = IntervalFieldFor(c.RecInterval);
        EXPECT_EQ(field.Recording, c.Recording) << c.RecInterval;
        EXPECT_EQ(field.Seconds, c.Seconds) << c.RecInterval;
    }
    EXPECT_EQ(RecIntervalFrom({true, 300}), 3000);
    EXPECT_EQ(RecIntervalFrom({true, 15}), 150);
    EXPECT_EQ(RecIntervalFrom({false, 15}), 0);
}

TEST(ViewerDate, TodayCutFromTheStampAndHeldToTheFields)
{
    struct Case {
        TDateTime Now;
        TDateFields Fields;
    } const cases[] = {
        {At(2009, 3, 15, 23, 59, 59), {2009, 3, 15}},
        {At(1999, 12, 31), {2000, 12, 31}},
        {At(2150, 1, 2), {2100, 1, 2}},
        {std::numeric_limits<double>::quiet_NaN(), {2000, 1, 1}}, // no stamp: no numbers
    };
    for (const Case &c : cases) {
        const TDateFields got = TodayFields(c.Now);
        EXPECT_EQ(got.Year, c.Fields.Year);
        EXPECT_EQ(got.Month, c.Fields.Month);
        EXPECT_EQ(got.Day, c.Fields.Day);
    }
}

TEST(MonthFiles, ListsDataLogMonthFilesOnlyAndDeletesThem)
{
    QTemporaryDir dir;
    for (const char *name : {"EventLog.dat", "TreeNode.dat", "DataLog2009_02.dat", "DataLog2009_03.dat",
                             "DataLog2009_04.DAT", "DataLog2009_05.dat.bak", "xDataLog2009_06.dat"})
        WriteFileBytes(dir.filePath(QString::fromUtf8(name)), "x");
    QDir(dir.path()).mkdir(QStringLiteral("DataLog2009_07.dat"));

    QStringList entries = ListMonthEntries(dir.path());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (QStringList{QStringLiteral("DataLog2009_02"), QStringLiteral("DataLog2009_03")}));

    EXPECT_TRUE(DeleteMonthEntry(dir.path(), QStringLiteral("DataLog2009_02")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("DataLog2009_02.dat"))));
    QString error;
    EXPECT_FALSE(DeleteMonthEntry(dir.path(), QStringLiteral("DataLog2009_02"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ListMonthEntries(dir.path()), QStringList{QStringLiteral("DataLog2009_03")});
}
