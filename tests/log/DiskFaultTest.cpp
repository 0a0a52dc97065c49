// The log, device and settings files when the disk misbehaves: a read-only
// directory and a full disk. No record already written may be lost, a write
// that cannot be made is reported as the rules say, and the program goes on.
#include "app/TSettings.h"
#include "log/ELogFileError.h"
#include "log/GridCsvExport.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "log/TEventLogModel.h"
#include "model/TDeviceList.h"
#include "support/DiskFaults.h"
#include "support/LogFileFixtures.h"
#include "support/TempEventLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <numeric>
#include <stdexcept>

namespace {

TEventRec Alarm(std::int32_t code)
{
    return Event(39873.25, 3, kEventKindAlarm, code, kAlarmOccurred);
}

// Writes alarm records coded first, first + 1, ...
void WriteEvents(const QString &path, int count, int first = 0)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::vector<TEventRec> records;
    for (int i = 0; i < count; ++i)
        records.push_back(Alarm(first + i));
    WriteRecordFile(path, records);
}

std::vector<int> Codes(const std::vector<TEventRec> &records)
{
    std::vector<int> codes;
    for (const TEventRec &rec : records)
        codes.push_back(rec.Code);
    return codes;
}

std::vector<int> Range(int first, int count)
{
    std::vector<int> values(static_cast<std::size_t>(count));
    std::iota(values.begin(), values.end(), first);
    return values;
}

void SetMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

struct DiskFaultTest : ::testing::Test {
    TempEventLog Store;
    TEventLog &Log = Store.Log;
};

TEST_F(DiskFaultTest, ReadOnlyLogDirectoryLosesOnlyTheNewRecords)
{
    WriteEvents(Log.LogPath(), 3);
    SetMode(Log.LogPath(), 0444);
    SetMode(Store.RecordDir(), 0555);
    {
        WithoutPermissionOverride user;
        EXPECT_FALSE(Log.AppendEvent(Alarm(99)));
        EXPECT_NO_THROW(Log.LogSoftwareEvent(0));
        EXPECT_EQ(Log.NewRecord(), 0);
        EXPECT_EQ(Log.RecordCount(), 3);
    }
    SetMode(Store.RecordDir(), 0755);
    SetMode(Log.LogPath(), 0644);
    EXPECT_EQ(Codes(Log.ReadAllEvents()), Range(0, 3));
    EXPECT_TRUE(Log.AppendEvent(Alarm(4)));
}

TEST_F(DiskFaultTest, LiveFileThatCannotBeCreatedIsAnError)
{
    QDir().mkpath(Store.RecordDir());
    SetMode(Store.RecordDir(), 0555);
    WithoutPermissionOverride user;
    EXPECT_THROW(Log.AppendEvent(Alarm(1)), ELogFileError);
    EXPECT_FALSE(QFileInfo::exists(Log.LogPath()));
}

TEST_F(DiskFaultTest, FullFileWithReadOnlyBackupsKeepsEveryRecord)
{
    WriteEvents(Log.LogPath(), TEventLog::kMaxRecords);
    QDir().mkpath(Store.BackupDir());
    SetMode(Store.BackupDir(), 0555);
    {
        WithoutPermissionOverride user;
        EXPECT_TRUE(Log.AppendEvent(Alarm(7777)));
        EXPECT_TRUE(QDir(Store.BackupDir()).isEmpty());
    }
    std::vector<int> expected = Range(0, TEventLog::kMaxRecords);
    expected.push_back(7777);
    EXPECT_EQ(Codes(Log.ReadAllEvents()), expected);
}

TEST_F(DiskFaultTest, FullDiskTearsNoRecordAndTheNextAppendMendsTheTail)
{
    WriteEvents(Log.LogPath(), 10);
    {
        FileSizeLimit full(10 * TEventRec::kSize + 20); // room for part of a record
        EXPECT_FALSE(Log.AppendEvent(Alarm(10)));
        EXPECT_FALSE(Log.AppendEvent(Alarm(11)));
        EXPECT_EQ(Log.NewRecord(), 0);
        EXPECT_EQ(Log.RecordCount(), 10);
    }
    EXPECT_TRUE(Log.AppendEvent(Alarm(12)));
    std::vector<int> expected = Range(0, 10);
    expected.push_back(12);
    EXPECT_EQ(Codes(Log.ReadAllEvents()), expected);
    EXPECT_EQ(QFileInfo(Log.LogPath()).size(), 11 * TEventRec::kSize);
}

TEST_F(DiskFaultTest, RotationOnAFullDiskKeepsTheFullFileUntilThereIsRoom)
{
    WriteEvents(Log.LogPath(), TEventLog::kMaxRecords);
    QDir().mkpath(Store.BackupDir());
    {
        FileSizeLimit full(100000); // less than the full file: the backup cannot be made
        EXPECT_FALSE(Log.AppendEvent(Alarm(7777)));
        EXPECT_EQ(Log.RecordCount(), TEventLog::kMaxRecords);
    }
    EXPECT_TRUE(Log.AppendEvent(Alarm(7777)));
    EXPECT_EQ(Codes(Log.ReadAllEvents()), std::vector<int>{7777});

    // Every record of the full file is in a backup, and no torn copy is left.
    const QStringList backups = QDir(Store.BackupDir()).entryList(QDir::Files);
    ASSERT_EQ(backups.size(), 1) << backups.join(' ').toStdString();
    EXPECT_EQ(Codes(TEventLog::ReadEventFile(QDir(Store.BackupDir()).filePath(backups[0]))),
              Range(0, TEventLog::kMaxRecords));
}

TEST_F(DiskFaultTest, DataLogOnAFullDiskLosesOnlyTheRecordsThatDidNotFit)
{
    TDataLog log(Store.RecordDir());
    const TDateTime time = At(2026, 3, 1, 12, 0, 0);
    ASSERT_TRUE(log.AppendRecord(Sample(time, 1, 221)));
    ASSERT_TRUE(log.AppendRecord(Sample(time, 2, 222)));
    {
        FileSizeLimit full(2 * TDataRec::kSize + 50);
        EXPECT_FALSE(log.AppendRecord(Sample(time + 5.0 / 86400, 1, 223)));
        EXPECT_FALSE(log.AppendRecord(Sample(time + 5.0 / 86400, 2, 224)));
    }
    ASSERT_TRUE(log.AppendRecord(Sample(time + 10.0 / 86400, 1, 225)));
    std::vector<double> inputVolts;
    for (const TDataRec &rec : TDataLog::ReadDataFile(log.MonthFilePath(time)))
        inputVolts.push_back(rec.InputVolt[0]);
    EXPECT_EQ(inputVolts, (std::vector<double>{221, 222, 225}));
    EXPECT_EQ(QFileInfo(log.MonthFilePath(time)).size(), 3 * TDataRec::kSize);
}

TEST_F(DiskFaultTest, DeviceListSavedOnAFullDiskKeepsTheOldFile)
{
    const QString dir = Store.RecordDir();
    QDir().mkpath(dir);
    TDeviceList saved;
    for (quint8 addr : {4, 9, 17}) {
        TDeviceNode node{};
        node.Addr = addr;
        saved.AddDevice(node);
    }
    saved.SaveDeviceList(dir);

    TDeviceList grown = saved;
    for (int addr = 100; addr < 200; ++addr) {
        TDeviceNode node{};
        node.Addr = static_cast<quint8>(addr);
        grown.AddDevice(node);
    }
    {
        FileSizeLimit full(1000);
        EXPECT_THROW(grown.SaveDeviceList(dir), std::runtime_error);
    }
    TDeviceList loaded;
    loaded.LoadDeviceList(dir);
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.At(3)->Addr, 17);
}

TEST_F(DiskFaultTest, SettingsSavedOnAFullDiskKeepTheOldFile)
{
    const QString path = QDir(Store.Dir.path()).filePath("UserParaIni.ini");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Site]\nLocation=Plant room 2\n[CommPort]\nComName=COM7\n");
    }
    TSettings settings;
    LoadSettings(settings, path);
    settings.PortInfo.ComName = QStringLiteral("COM9");
    {
        FileSizeLimit full(40);
        EXPECT_THROW(SaveSettings(settings, path), std::runtime_error);
    }
    TSettings loaded;
    LoadSettings(loaded, path);
    EXPECT_EQ(loaded.PortInfo.ComName, QStringLiteral("COM7"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Location=Plant room 2"));
}

TEST_F(DiskFaultTest, ExportOnAFullDiskFailsAndKeepsTheOldFile)
{
    const QString path = QDir(Store.Dir.path()).filePath("events.csv");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("an earlier export\r\n");
    }
    std::vector<TEventRec> records;
    for (int i = 0; i < 200; ++i)
        records.push_back(Event(At(2026, 3, 1, 12, 0, i % 60), 3, kEventKindEvent, 22));
    TEventLogModel model(0);
    model.Load(records, {});
    {
        FileSizeLimit full(4000); // part of the export fits
        EXPECT_THROW(WriteGridCsv(model, {0, 1, 2, 3}, path), ELogFileError);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("an earlier export\r\n"));
}

} // namespace
