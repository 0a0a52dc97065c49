#include "log/GridCsvExport.h"

#include "log/ELogFileError.h"
#include "log/TCsvWriter.h"
#include "log/TDataLogModel.h"
#include "log/TEventLogModel.h"
#include "serial/GbkText.h"
#include "support/FileBytes.h"
#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

TEST(GridCsvExport, FileNameGetsCsvUnlessItHoldsItCaseSensitively)
{
    struct Case {
        const char *Chosen;
        const char *Written;
    } const cases[] = {
        {"report", "report.csv"},
        {"report.CSV", "report.CSV.csv"},
        {"a.csv.txt", "a.csv.txt"},
        {"/tmp/x.csv", "/tmp/x.csv"},
        {"", ".csv"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CsvFileName(QString::fromUtf8(c.Chosen)).toStdString(), c.Written) << c.Chosen;
}

TEST(TCsvWriter, CellsAreQuotedOnlyWhenTheyWouldBreakTheColumns)
{
    struct Case {
        const char *Text;
        const char *Field;
    } const cases[] = {
        {"", ","},
        {"220.0", "220.0,"},
        {"Recover from: Inverter fault", "Recover from: Inverter fault,"},
        {"Bypass abnormal,shutdown", "\"Bypass abnormal,shutdown\","},
        {"say \"hi\"", "\"say \"\"hi\"\"\","},
        {"two\r\nlines", "\"two\r\nlines\","},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TCsvWriter::CellField(QString::fromUtf8(c.Text)).toStdString(), c.Field) << c.Text;
}

TEST(TCsvWriter, WritesGbkOrUtf8WithCrLf)
{
    for (auto encoding : {TCsvWriter::TEncoding::Gbk, TCsvWriter::TEncoding::Utf8}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        TCsvWriter csv(buffer, encoding);
        csv.AddCell(QStringLiteral("时间"));
        csv.AddCell(QStringLiteral("a"));
        csv.EndLine();
        csv.EndLine();
        csv.Flush();
        const QByteArray expected = encoding == TCsvWriter::TEncoding::Gbk ? QByteArray("\xCA\xB1\xBC\xE4,a,\r\n\r\n")
                                                                          : QByteArray("时间,a,\r\n\r\n");
        EXPECT_EQ(buffer.data().toHex(' '), expected.toHex(' '));
    }
}

namespace {

struct ExportTest : ::testing::Test {
    QTemporaryDir Dir;
    QString Path(const char *name) const { return Dir.filePath(QString::fromUtf8(name)); }
};

} // namespace

TEST_F(ExportTest, EventGridWithOneEventGivesHeaderEventAndOneEmptyLine)
{
    TEventLogModel model(0);
    model.Load({Event(At(2009, 3, 1, 12, 0, 5), 3, kEventKindAlarm, 122, kAlarmOccurred)}, {});
    WriteGridCsv(model, {0, 1, 2, 3}, Path("events.csv"));
    EXPECT_EQ(ReadFileBytes(Path("events.csv")), QByteArray("Index,Time,Address,Event,\r\n"
                                                             "1,2009-03-01 12:00:05,3,\"Bypass abnormal,shutdown\",\r\n"
                                                             ",,,,\r\n"));
}

TEST_F(ExportTest, ColumnsLeftOutAreLeftOutOfEveryLineAndChineseIsGbk)
{
    TEventLogModel model(1);
    model.Load({Event(At(2009, 3, 1), 0, kEventKindEvent, kEventSoftwareOpen)}, {});
    int lastDone = -1, lastTotal = -1;
    WriteGridCsv(model, {0, 3}, Path("zh.csv"), [&](int done, int total) {
        lastDone = done;
        lastTotal = total;
        return true;
    });
    EXPECT_EQ(ReadFileBytes(Path("zh.csv")),
              GbkFromString(QStringLiteral("序号,事件,\r\n1,监控软件开启,\r\n,,\r\n")));
    EXPECT_EQ(lastDone, 3);
    EXPECT_EQ(lastTotal, 3);
}

TEST_F(ExportTest, AFileThatCannotBeCreatedEndsTheExportWithAnError)
{
    TEventLogModel model(0);
    EXPECT_THROW(WriteGridCsv(model, {0}, Path("missing-dir/x.csv")), ELogFileError);
    QDir(Dir.path()).mkdir(QStringLiteral("taken.csv"));
    EXPECT_THROW(WriteGridCsv(model, {0}, Path("taken.csv")), ELogFileError);
}

TEST_F(ExportTest, AnExistingFileIsReplaced)
{
    WriteFileBytes(Path("old.csv"), QByteArray(1000, 'x'));
    TEventLogModel model(0);
    WriteGridCsv(model, {2}, Path("old.csv"));
    EXPECT_EQ(ReadFileBytes(Path("old.csv")), QByteArray("Address,\r\n,\r\n,\r\n"));
}

TEST_F(ExportTest, ALargeGridKeepsItsRowOrderAcrossTheBlocksItIsWrittenIn)
{
    std::vector<TDataRec> records;
    for (int i = 0; i < 40000; ++i)
        records.push_back(Sample(At(2009, 3, 1), 1, i));
    WriteRecordFile(Path("DataLog2009_03.dat"), records);
    TDataLogModel model(0);
    ASSERT_TRUE(model.Load({2009, 3, 0, 0, Path("DataLog2009_03.dat")}));
    model.Sort(2, 1);
    WriteGridCsv(model, {2}, Path("large.csv"));
    const QList<QByteArray> lines = ReadFileBytes(Path("large.csv")).split('\n');
    ASSERT_EQ(lines.size(), 40002); // header, rows, and the empty piece after the last line end
    for (int row = 0; row < 40000; ++row)
        ASSERT_EQ(lines[row + 1], QByteArray::number(39999 - row) + ".0,\r") << row;
}

TEST_F(ExportTest, ACancelledExportLeavesNoFileAndTheOldOneAsItWas)
{
    std::vector<TDataRec> records(40000, Sample(At(2009, 3, 1), 1));
    WriteRecordFile(Path("DataLog2009_03.dat"), records);
    TDataLogModel model(0);
    ASSERT_TRUE(model.Load({2009, 3, 0, 0, Path("DataLog2009_03.dat")}));
    WriteFileBytes(Path("old.csv"), "an earlier export\r\n");
    for (int cancelAt : {0, 1}) { // before the first block, and after it
        int calls = 0;
        EXPECT_FALSE(WriteGridCsv(model, {0, 1, 2}, Path("old.csv"), [&](int, int) { return calls++ < cancelAt; }));
        EXPECT_FALSE(WriteGridCsv(model, {0, 1, 2}, Path("new.csv"), [&](int, int) { return false; }));
        EXPECT_EQ(ReadFileBytes(Path("old.csv")), QByteArray("an earlier export\r\n"));
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files),
                  (QStringList{QStringLiteral("DataLog2009_03.dat"), QStringLiteral("old.csv")}));
    }
}
