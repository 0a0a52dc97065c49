#include "serial/GbkText.h"
#include "support/LogFileFixtures.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ToolRun {
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
};

ToolRun OrvanLog(const QStringList &args, const QString &locale = QStringLiteral("C.UTF-8"))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("LC_CTYPE"), locale);
    process.setProcessEnvironment(env);
    process.start(ToolPath(QStringLiteral("orvan-log")), args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

struct OrvanLogTest : ::testing::Test {
    QTemporaryDir Dir;
    QString Path(const char *name) const { return Dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(OrvanLogTest, EventsNewestFirstWithTheViewersTexts)
{
    WriteRecordFile(Path("EventLog.dat"),
                    std::vector<TEventRec>{Event(At(2009, 3, 1, 8), 0, kEventKindEvent, kEventSoftwareOpen),
                                           Event(At(2009, 3, 1, 9), 4, kEventKindAlarm, 122, kAlarmCleared),
                                           Event(At(2009, 3, 1, 9, 5), 4, kEventKindAlarm, 9999, kAlarmCleared)});
    const ToolRun en = OrvanLog({QStringLiteral("events"), Path("EventLog.dat")});
    EXPECT_EQ(en.ExitCode, 0) << en.Err.toStdString();
    EXPECT_EQ(en.Out, QByteArray("Index,Time,Address,Event,\r\n"
                                 "2,2009-03-01 09:00:00,4,\"Recover from: Bypass abnormal,shutdown\",\r\n"
                                 "3,2009-03-01 08:00:00,,Monitor software is open,\r\n"));

    // The locale's encoding (UTF-8 here, and under the plain C locale),
    // unless GBK is asked for: the bytes of an exported file.
    const QStringList zhEvents{QStringLiteral("--lang"), QStringLiteral("zh"), QStringLiteral("events"), Path("EventLog.dat")};
    const ToolRun utf8 = OrvanLog(zhEvents);
    const ToolRun plain = OrvanLog(zhEvents, QStringLiteral("C"));
    const ToolRun gbk = OrvanLog(QStringList{QStringLiteral("--encoding"), QStringLiteral("gbk")} + zhEvents);
    const QString zh = QStringLiteral("序号,时间,设备地址,事件,\r\n2,2009-03-01 09:00:00,4,恢复于: 旁路异常关机,\r\n"
                                      "3,2009-03-01 08:00:00,,监控软件开启,\r\n");
    EXPECT_EQ(utf8.Out, zh.toUtf8());
    EXPECT_EQ(plain.Out, zh.toUtf8());
    EXPECT_EQ(gbk.Out, GbkFromString(zh));
}

TEST_F(OrvanLogTest, DataInFileOrderWithTheViewersNumberFormats)
{
    TDataRec second = Sample(At(2009, 3, 1, 10, 0, 5), 2, 219.96);
    second.BattCapacity = 0;
    second.BattBackupTime = 0;
    WriteRecordFile(Path("DataLog2009_03.dat"), std::vector<TDataRec>{Sample(At(2009, 3, 1, 10), 5, 230.46), second});
    const ToolRun run = OrvanLog({QStringLiteral("data"), Path("DataLog2009_03.dat")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QByteArray("Time,Address,InV-A (V),InV-B (V),InV-C (V),OutV-A (V),OutV-B (V),OutV-C (V),"
                                  "Load-A (%),Load-B (%),Load-C (%),OutFreq (Hz),DC V(V),BattCapa (%),BattSuppTime(min),\r\n"
                                  "2009-03-01 10:00:00,5,230.5,221.0,220.0,230.5,50.0,12346.0,88,0,1.235E+04,50.0,"
                                  "1.0000E+05,95,40,\r\n"
                                  "2009-03-01 10:00:05,2,220.0,221.0,220.0,230.5,50.0,12346.0,88,0,1.235E+04,50.0,"
                                  "1.0000E+05,,,\r\n"));
}

TEST_F(OrvanLogTest, ClearErrorsAndNonZeroExits)
{
    struct Case {
        QStringList Args;
        int ExitCode;
        const char *ErrorHolds;
    } const cases[] = {
        {{QStringLiteral("events"), Path("missing.dat")}, 1, "missing.dat"},
        {{QStringLiteral("events"), Dir.path()}, 1, "not a file"},
        {{QStringLiteral("data"), Path("none")}, 1, "No such file"},
        {{QStringLiteral("--from"), QStringLiteral("2009-02-30"), QStringLiteral("data"), Dir.path()}, 2, "Usage"},
        {{QStringLiteral("--to"), QStringLiteral("yesterday"), QStringLiteral("data"), Dir.path()}, 2, "Usage"},
        {{QStringLiteral("--address"), QStringLiteral("0"), QStringLiteral("data"), Dir.path()}, 2, "Usage"},
        {{QStringLiteral("everything"), Path("x")}, 2, "Usage"},
        {{QStringLiteral("events")}, 2, "Usage"},
        {{QStringLiteral("--lang"), QStringLiteral("fr"), QStringLiteral("events"), Path("x")}, 2, "Usage"},
    };
    for (const Case &c : cases) {
        const ToolRun run = OrvanLog(c.Args);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(run.Err.contains(c.ErrorHolds)) << run.Err.toStdString();
        EXPECT_TRUE(run.Out.isEmpty());
    }
}

TEST_F(OrvanLogTest, PeriodAndAddressAcrossTheMonthFilesOfADirectory)
{
    // Devices 1 and 2 at noon on the last two days of February and the
    // first two of March; input voltage A holds the day of the month.
    for (int month : {2, 3}) {
        std::vector<TDataRec> records;
        for (int day : month == 2 ? std::vector<int>{27, 28} : std::vector<int>{1, 2})
            for (std::uint8_t addr : {1, 2})
                records.push_back(Sample(At(2009, month, day, 12), addr, day));
        WriteRecordFile(Path(month == 2 ? "DataLog2009_02.dat" : "DataLog2009_03.dat"), records);
    }
    WriteRecordFile(Path("EventLog.dat"), std::vector<TEventRec>{Event(At(2009, 3, 1, 8), 0, kEventKindEvent, kEventSoftwareOpen),
                                                                 Event(At(2009, 3, 1, 9), 2, kEventKindState, 4)});
    auto firstColumns = [](const QByteArray &out) {
        QStringList lines;
        for (const QByteArray &line : out.split('\n').mid(1))
            if (!line.isEmpty())
                lines << QString::fromLatin1(line.left(line.indexOf(",", line.indexOf(",", line.indexOf(",") + 1) + 1)));
        return lines;
    };
    struct Case {
        QStringList Args;
        QStringList Lines;
    } const cases[] = {
        {{QStringLiteral("--from"), QStringLiteral("2009-02-28 12:00"), QStringLiteral("--to"), QStringLiteral("2009-03-01"),
          QStringLiteral("data"), Dir.path()},
         {"2009-02-28 12:00:00,1,28.0", "2009-02-28 12:00:00,2,28.0", "2009-03-01 12:00:00,1,1.0",
          "2009-03-01 12:00:00,2,1.0"}},
        {{QStringLiteral("--address"), QStringLiteral("2"), QStringLiteral("--to"), QStringLiteral("2009-03-01T12:00:00"),
          QStringLiteral("data"), Dir.path()},
         {"2009-02-27 12:00:00,2,27.0", "2009-02-28 12:00:00,2,28.0"}},
        {{QStringLiteral("--from"), QStringLiteral("2009-03-02"), QStringLiteral("--address"), QStringLiteral("1"),
          QStringLiteral("data"), Path("DataLog2009_03.dat")},
         {"2009-03-02 12:00:00,1,2.0"}},
        {{QStringLiteral("--address"), QStringLiteral("2"), QStringLiteral("events"), Path("EventLog.dat")},
         {"1,2009-03-01 09:00:00,2"}},
    };
    for (const Case &c : cases) {
        const ToolRun run = OrvanLog(c.Args);
        EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        EXPECT_EQ(firstColumns(run.Out), c.Lines) << c.Args.join(' ').toStdString();
    }
}
