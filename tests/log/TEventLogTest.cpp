#include "log/TEventLog.h"

#include "model/TUpsInfo.h"
#include "model/UpsInfoRules.h"
#include "support/TempEventLog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

TEventRec Alarm(std::int32_t code, std::uint8_t flag = kAlarmOccurred)
{
    TEventRec rec;
    rec.Time = 39873.25;
    rec.Addr = 3;
    rec.Kind = kEventKindAlarm;
    rec.Code = code;
    rec.Flag = flag;
    return rec;
}

// Writes `count` alarm records coded 0, 1, 2, ... followed by `tail` stray bytes.
void WriteLogFile(const QString &path, int count, int tail = 0)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes(count * TEventRec::kSize + tail, '\x5A');
    for (int i = 0; i < count; ++i)
        Alarm(i).WriteTo(reinterpret_cast<std::uint8_t *>(bytes.data()) + i * TEventRec::kSize);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void Touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

qint64 FileSize(const QString &path)
{
    return QFileInfo(path).size();
}

struct EventLogTest : ::testing::Test {
    TempEventLog Store;
    TEventLog &Log = Store.Log;

    QString Backup(const QString &name) const { return QDir(Store.BackupDir()).filePath(name); }
};

} // namespace

TEST(TEventRec, FortyEightLittleEndianBytes)
{
    TEventRec rec;
    rec.Time = 39873.5;
    rec.Addr = 7;
    rec.Kind = kEventKindState;
    rec.Code = -1;
    rec.Flag = kFlagNone;
    for (std::size_t i = 0; i < rec.StatusWords.size(); ++i)
        rec.StatusWords[i] = static_cast<std::uint8_t>(i + 1);

    std::uint8_t bytes[TEventRec::kSize];
    rec.WriteTo(bytes);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes).toHex(),
              QByteArray("000000003078e340" "0701" "0000" "ffffffff" "ff" "00"
                         "0102030405060708090a0b0c0d0e0f10111213141516171819" "1a" "00000000"));
    EXPECT_EQ(TEventRec::ReadFrom(bytes), rec);
}

TEST_F(EventLogTest, ConstructorTouchesNothingAndRecordCountCreatesTheFile)
{
    EXPECT_EQ(Log.LogPath(), QDir(Store.RecordDir()).filePath(QStringLiteral("EventLog.dat")));
    EXPECT_FALSE(QFileInfo::exists(Store.RecordDir()));
    EXPECT_EQ(Log.RecordCount(), 0);
    EXPECT_TRUE(QFileInfo(Log.LogPath()).isFile());
    EXPECT_EQ(Log.NewRecord(), 0);
}

TEST_F(EventLogTest, AppendedRecordsReadBackInOrderAndSetNewRecord)
{
    ASSERT_TRUE(Log.AppendEvent(Alarm(40)));
    EXPECT_EQ(Log.NewRecord(), 255);
    Log.ResetNewRecord();
    ASSERT_TRUE(Log.AppendEvent(Alarm(40, kAlarmCleared)));
    ASSERT_TRUE(Log.AppendEvent(Alarm(40)));

    const auto records = Log.ReadAllEvents();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], Alarm(40));
    EXPECT_EQ(records[1], Alarm(40, kAlarmCleared));
    EXPECT_EQ(records[2], Alarm(40));
    EXPECT_EQ(Log.NewRecord(), 255);
}

TEST_F(EventLogTest, PartialTrailingRecordIsNotCountedAndIsOverwritten)
{
    WriteLogFile(Log.LogPath(), 5, 20);
    EXPECT_EQ(Log.RecordCount(), 5);
    EXPECT_EQ(Log.ReadAllEvents().size(), 5u);

    ASSERT_TRUE(Log.AppendEvent(Alarm(99)));
    EXPECT_EQ(FileSize(Log.LogPath()), 6 * TEventRec::kSize);
    EXPECT_EQ(Log.ReadAllEvents().back(), Alarm(99));
}

TEST_F(EventLogTest, FullFileRotatesIntoFirstFreeBackupBeforeTheAppend)
{
    WriteLogFile(Log.LogPath(), 5000);
    Touch(Backup("EventLog_000.dat"));
    Touch(Backup("EventLog_002.dat"));

    ASSERT_TRUE(Log.AppendEvent(Alarm(5000)));
    EXPECT_EQ(Log.RecordCount(), 5001);
    EXPECT_FALSE(QFileInfo::exists(Backup("EventLog_001.dat")));

    ASSERT_TRUE(Log.AppendEvent(Alarm(7777)));
    const auto backup = TEventLog::ReadEventFile(Backup("EventLog_001.dat"));
    ASSERT_EQ(backup.size(), 5001u);
    EXPECT_EQ(backup.front().Code, 0);
    EXPECT_EQ(backup.back().Code, 5000);
    const auto live = Log.ReadAllEvents();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].Code, 7777);
}

TEST_F(EventLogTest, WithoutAFreeBackupNameTheFullFileKeepsItsRecordsUntilRotationSucceeds)
{
    WriteLogFile(Log.LogPath(), 5001);
    for (int i = 0; i < TEventLog::kAutoBackupNames; ++i)
        Touch(Backup(TEventLog::AutoBackupName(i)));

    ASSERT_TRUE(Log.AppendEvent(Alarm(5001)));
    ASSERT_TRUE(Log.AppendEvent(Alarm(5002)));
    EXPECT_EQ(Log.RecordCount(), 5003);
    EXPECT_EQ(FileSize(Backup("EventLog_999.dat")), 0);

    QFile::remove(Backup("EventLog_500.dat"));
    ASSERT_TRUE(Log.AppendEvent(Alarm(6000)));
    EXPECT_EQ(TEventLog::ReadEventFile(Backup("EventLog_500.dat")).size(), 5003u);
    EXPECT_EQ(Log.RecordCount(), 1);
}

TEST(EventLogRotation, UnwritableBackupDirectoryKeepsTheLiveFile)
{
    TempEventLog store;
    TEventLog log(store.RecordDir(), QStringLiteral("EventLog.dat"), QStringLiteral("/proc"));
    WriteLogFile(log.LogPath(), 5001);
    ASSERT_TRUE(log.AppendEvent(Alarm(1)));
    EXPECT_EQ(log.RecordCount(), 5002);
}

TEST_F(EventLogTest, RotationCreatesAMissingBackupDirectory)
{
    WriteLogFile(Log.LogPath(), 5001);
    ASSERT_TRUE(Log.AppendEvent(Alarm(1)));
    EXPECT_EQ(FileSize(Backup("EventLog_000.dat")), 5001 * TEventRec::kSize);
    EXPECT_EQ(Log.RecordCount(), 1);
}

TEST_F(EventLogTest, ClearLogBacksUpIntoNextManualNumber)
{
    for (int n = 1; n <= 3; ++n)
        Touch(Backup(TEventLog::ManualBackupName(n)));
    WriteLogFile(Log.LogPath(), 4);
    Log.ResetNewRecord();

    Log.ClearLog();
    EXPECT_EQ(FileSize(Backup("EventLog4.dat")), 4 * TEventRec::kSize);
    EXPECT_EQ(Log.RecordCount(), 0);
    EXPECT_EQ(Log.NewRecord(), 0);

    Log.ClearLog(); // nothing to keep: no backup, no number used up
    EXPECT_FALSE(QFileInfo::exists(Backup("EventLog5.dat")));
    EXPECT_EQ(Log.RecordCount(), 0);
}

TEST(EventLogClear, FailedBackupLeavesTheLiveFileAndReportsIt)
{
    TempEventLog store;
    TEventLog log(store.RecordDir(), QStringLiteral("EventLog.dat"), QStringLiteral("/proc"));
    WriteLogFile(log.LogPath(), 3);
    EXPECT_THROW(log.ClearLog(), ELogFileError);
    EXPECT_EQ(log.RecordCount(), 3);
}

TEST_F(EventLogTest, FailedWriteReturnsFalseAndLeavesNewRecord)
{
    QDir().mkpath(Store.RecordDir());
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), Log.LogPath()));
    EXPECT_FALSE(Log.AppendEvent(Alarm(1)));
    EXPECT_EQ(Log.NewRecord(), 0);
}

TEST_F(EventLogTest, UncreatableDirectoryIsAnError)
{
    Touch(Store.RecordDir()); // a file where the directory should be
    EXPECT_THROW(Log.RecordCount(), ELogFileError);
    EXPECT_THROW(Log.AppendEvent(Alarm(1)), ELogFileError);
}

TEST_F(EventLogTest, SoftwareAndDeviceEventsByType)
{
    TUpsInfo info;
    info.Addr = 17;
    info.State = kStateBattery;
    info.CmmState1 = 0x4000;
    info.SysAlarm = 0x0102;
    info.UpsStateCode = 9;

    for (int which : {-1, 2})
        Log.LogSoftwareEvent(which);
    for (int type : {0, 1, 7})
        Log.LogDeviceEvent(type, info);
    EXPECT_EQ(Log.RecordCount(), 0);
    EXPECT_EQ(Log.NewRecord(), 0);

    Log.LogSoftwareEvent(0);
    for (int type : {2, 3, 4, 5, 6})
        Log.LogDeviceEvent(type, info);
    Log.LogSoftwareEvent(1);

    struct Expected {
        std::uint8_t Addr, Kind;
        std::int32_t Code;
    } const expected[] = {
        {0, kEventKindEvent, kEventSoftwareOpen},   {17, kEventKindEvent, kEventCommUpbuilt},
        {17, kEventKindEvent, kEventCommLost},      {17, kEventKindEvent, kEventCommRecovered},
        {17, kEventKindEvent, kEventCommError},     {17, kEventKindState, kStateBattery},
        {0, kEventKindEvent, kEventSoftwareClosed},
    };
    std::array<std::uint8_t, kStatusBlockSize> statusBlock;
    WriteStatusBlock(info, statusBlock.data());

    const auto records = Log.ReadAllEvents();
    ASSERT_EQ(records.size(), std::size(expected));
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].Addr, expected[i].Addr) << i;
        EXPECT_EQ(records[i].Kind, expected[i].Kind) << i;
        EXPECT_EQ(records[i].Code, expected[i].Code) << i;
        EXPECT_EQ(records[i].Flag, kFlagNone) << i;
        EXPECT_EQ(records[i].Time, Store.Now) << i;
        if (records[i].Addr != 0) {
            EXPECT_EQ(records[i].StatusWords, statusBlock) << i;
        }
    }
}
