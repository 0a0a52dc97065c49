#include "app/TMonitorCore.h"

#include "app/TMonitorState.h"
#include "log/TEventLog.h"
#include "model/TDeviceNode.h"
#include "model/UpsInfoRules.h"
#include "protocol/TPollEngine.h"
#include "serial/TComm.h"
#include "support/DeviceListFile.h"
#include "support/FileBytes.h"
#include "support/PtyPair.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class MonitorCoreFixture : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    TAppPaths Paths = TAppPaths::Beside(Dir.path());
    TMonitorState State;

    void WriteSettings(const QByteArray &ini) { WriteFileBytes(Paths.SettingsFile, ini); }

    void WriteDevices(std::initializer_list<quint8> addrs) { WriteDeviceListFile(Paths.RecordDir, addrs); }

    static std::vector<std::int32_t> Codes(TMonitorCore &core)
    {
        std::vector<std::int32_t> codes;
        for (const TEventRec &rec : core.EventLog().ReadAllEvents())
            codes.push_back(rec.Code);
        return codes;
    }
};

} // namespace

TEST_F(MonitorCoreFixture, CreationRunsTheStepsBothFrontEndsShare)
{
    WriteSettings("[CommPort]\nProtocol=2\n[Language]\nLanguage=1\n");
    WriteDevices({3, 5});
    State.Debug.DebugShow = 255;
    State.UpsInfo[5].LinkState = kLinkOnline;

    TMonitorCore core(State, Paths);
    EXPECT_TRUE(QFileInfo(Paths.RecordDir).isDir());
    EXPECT_TRUE(QFileInfo(Paths.BackupDir).isDir());
    EXPECT_EQ(State.Settings.PortInfo.Protocol, 2);
    EXPECT_EQ(State.Settings.Language, 1);
    EXPECT_EQ(State.DeviceList.Count(), 2);
    EXPECT_TRUE(core.DeviceListError().isEmpty());
    EXPECT_EQ(State.Debug.DebugShow, 0);
    EXPECT_EQ(State.UpsInfo[5].LinkState, kLinkLost);
    EXPECT_EQ(core.EventLog().LogPath(), Paths.RecordDir + QStringLiteral("EventLog.dat"));
    EXPECT_FALSE(core.SettingsChangedSinceLoad());
    EXPECT_EQ(core.Engine(), nullptr);
}

TEST_F(MonitorCoreFixture, TheEngineLogsTheStartAndTheEndOnce)
{
    WriteSettings("[CommPort]\nComName=/nonexistent/tty\n");
    TMonitorCore core(State, Paths);
    QSignalSpy failures(&core, &TMonitorCore::portOpenFailed);
    core.StartEngine();
    EXPECT_EQ(failures.count(), 1);
    EXPECT_FALSE(core.PortOpened());
    core.Shutdown();
    core.Shutdown();
    EXPECT_EQ(Codes(core), (std::vector<std::int32_t>{kEventSoftwareOpen, kEventSoftwareClosed}));

    // A save only when memory differs from the file.
    State.Settings.RecInterval = 0;
    EXPECT_TRUE(core.SettingsChangedSinceLoad());
    core.SaveSettings();
    EXPECT_FALSE(core.SettingsChangedSinceLoad());
}

TEST_F(MonitorCoreFixture, ReloadReadsTheEditedFilesAndMovesThePort)
{
    PtyPair first;
    PtyPair second;
    WriteSettings("[CommPort]\nComName=" + first.SlavePath().toUtf8() + "\nProtocol=2\n");
    WriteDevices({1});
    TMonitorCore core(State, Paths);
    core.StartEngine();
    ASSERT_TRUE(core.PortOpened());

    WriteSettings("[CommPort]\nComName=" + second.SlavePath().toUtf8() + "\nProtocol=2\n[DataLog]\nRecInterval=0\n");
    WriteDevices({1, 2, 9});
    EXPECT_EQ(core.Reload(), QString());
    EXPECT_EQ(State.Settings.RecInterval, 0);
    EXPECT_EQ(State.DeviceList.Count(), 3);
    EXPECT_TRUE(core.PortOpened());
    EXPECT_EQ(core.Engine()->Comm1().CommName(), second.SlavePath());

    // A device list that cannot be read leaves the one in memory alone.
    const QString list = TDeviceList::FilePath(Paths.RecordDir);
    ASSERT_TRUE(QFile::remove(list));
    ASSERT_TRUE(QDir().mkpath(list));
    EXPECT_TRUE(core.Reload().contains(QStringLiteral("the device list stays as it was")));
    EXPECT_EQ(State.DeviceList.Count(), 3);
}

TEST_F(MonitorCoreFixture, StaleRecordsAreClearedAsTheDeviceTreeClearsThem)
{
    PtyPair line;
    WriteSettings("[CommPort]\nComName=" + line.SlavePath().toUtf8() + "\nProtocol=2\n");
    WriteDevices({1, 2});
    TMonitorCore core(State, Paths);
    core.StartEngine();
    for (int addr : {1, 2}) {
        State.UpsInfo[addr].State = kStateOnline;
        State.UpsInfo[addr].InputVolt[0] = 230.0;
    }
    State.UpsInfo[1].LinkState = kLinkOnline;
    State.UpsInfo[2].LinkState = kLinkLost;
    core.ClearStaleRecords();
    EXPECT_EQ(State.UpsInfo[1].InputVolt[0], 230.0);
    EXPECT_EQ(State.UpsInfo[2].InputVolt[0], 0.0);
    EXPECT_EQ(State.UpsInfo[2].State, kStateUnknown);

    core.ClosePort();
    core.ClearStaleRecords();
    EXPECT_EQ(State.UpsInfo[1].InputVolt[0], 0.0);
}
