#include "app/TMonitorCore.h"

#include "app/TMonitorState.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "model/DeviceNodeLook.h"
#include "model/UpsInfoRules.h"
#include "protocol/TPollEngine.h"
#include "serial/ECommsError.h"

#include <QFileInfo>

#include <cfenv>
#include <stdexcept>

TMonitorCore::TMonitorCore(TMonitorState &state, const TAppPaths &paths, QObject *parent)
    : QObject(parent), FState(state), FPaths(paths)
{
    // Division by zero gives an infinity rather than a trap: no trap is
    // enabled by default on this platform, and none is enabled here.
    std::feclearexcept(FE_ALL_EXCEPT);
    FState.Debug.DebugShow = 0;
    FPaths.CreateDirectories();
    LoadSettings(FState.Settings, FPaths.SettingsFile);
    FLoadedSettings = FState.Settings;
    FEventLog = std::make_unique<TEventLog>(FPaths.RecordDir, QLatin1String(kEventLogFileName), FPaths.BackupDir);
    FDataLog = std::make_unique<TDataLog>(FPaths.RecordDir);
    try {
        FState.DeviceList.LoadDeviceList(FPaths.RecordDir);
    } catch (const std::exception &error) {
        FDeviceListError = QString::fromLocal8Bit(error.what());
    }
    FState.UpsInfo.Reset();
}

TMonitorCore::~TMonitorCore() = default;

void TMonitorCore::StartEngine()
{
    if (FEngine != nullptr)
        return;
    FEngine = std::make_unique<TPollEngine>(FState.Bus(), FState.Settings, *FEventLog, *FDataLog,
                                            FState.DiagCounters);
    connect(FEngine.get(), &TPollEngine::portOpenFailed, this, &TMonitorCore::portOpenFailed);
    connect(FEngine.get(), &TPollEngine::portStateChanged, this, &TMonitorCore::portStateChanged);
    connect(FEngine.get(), &TPollEngine::linkStatusChanged, this, &TMonitorCore::linkStatusChanged);
    FEngine->Start();
}

bool TMonitorCore::PortOpened() const
{
    return FEngine != nullptr && FEngine->PortOpened();
}

TLinkStatus TMonitorCore::LinkStatus() const
{
    return FEngine != nullptr ? FEngine->Comm1().LinkStatus() : TLinkStatus{};
}

void TMonitorCore::OpenPort()
{
    if (FEngine != nullptr)
        FEngine->OpenPort();
}

void TMonitorCore::ClosePort()
{
    if (FEngine != nullptr)
        FEngine->ClosePort();
}

void TMonitorCore::SaveSettings()
{
    ::SaveSettings(FState.Settings, FPaths.SettingsFile);
    FLoadedSettings = FState.Settings;
}

bool TMonitorCore::SettingsChangedSinceLoad() const
{
    return !(FState.Settings == FLoadedSettings);
}

void TMonitorCore::Shutdown()
{
    if (FEngine != nullptr)
        FEngine->Shutdown();
}

bool TMonitorCore::PortSettingsDiffer(const TPortInfo &a, const TPortInfo &b)
{
    // The protocol decides whether a Modbus TCP port may open at all.
    return a.ComName != b.ComName || a.BaudRate != b.BaudRate || a.StopBits != b.StopBits
           || a.ReadIntervalTimeout != b.ReadIntervalTimeout || a.Protocol != b.Protocol;
}

QString TMonitorCore::Reload()
{
    TSettings fresh;
    LoadSettings(fresh, FPaths.SettingsFile);
    // Compared with what the file held before, not with memory: opening the
    // port normalises the stop bits there.
    const bool portChanged = PortSettingsDiffer(fresh.PortInfo, FLoadedSettings.PortInfo);
    FState.Settings = fresh;
    FLoadedSettings = fresh;
    const QString problem = ReloadDeviceList();
    if (FEngine != nullptr && (portChanged || !FEngine->PortOpened()))
        TryOpenPort();
    return problem;
}

QString TMonitorCore::ReloadDeviceList()
{
    const QString path = TDeviceList::FilePath(FPaths.RecordDir);
    // LoadDeviceList keeps the list as it is when the file cannot be read;
    // on a fresh list that would silently drop every device.
    const QFileInfo file(path);
    if (file.exists() && (!file.isFile() || !file.isReadable()))
        return QStringLiteral("Cannot read file \"%1\"; the device list stays as it was.").arg(path);
    TDeviceList fresh;
    try {
        fresh.LoadDeviceList(FPaths.RecordDir);
    } catch (const std::exception &error) {
        return QString::fromLocal8Bit(error.what()) + QStringLiteral("; the device list stays as it was.");
    }
    FState.DeviceList = fresh;
    return {};
}

void TMonitorCore::TryOpenPort()
{
    try {
        FEngine->OpenPort();
    } catch (const ECommsError &error) {
        emit portOpenFailed(QString::fromUtf8(error.what()));
    }
}

void TMonitorCore::ClearStaleRecords()
{
    const bool opened = PortOpened();
    for (int position = 1; position <= FState.DeviceList.Count(); ++position) {
        TUpsInfo *rec = FState.UpsInfo.Find(FState.DeviceList.At(position)->Addr);
        if (rec != nullptr && rec->Addr != 0 && RecordIsStale(*rec, opened))
            ClearUpsInfo(*rec);
    }
}
