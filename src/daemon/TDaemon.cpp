#include "daemon/TDaemon.h"

#include "app/MainWindowTexts.h"
#include "log/TEventLog.h"
#include "protocol/TPollEngine.h"
#include "serial/ComPortName.h"
#include "serial/ECommsError.h"
#include "service/EventDescription.h"

#include <QCoreApplication>

#include <stdexcept>

TDaemon::TDaemon(const QString &directory, const QString &versionText, TSystemdNotifier serviceManager,
                 QObject *parent)
    : QObject(parent)
    , FCore(FState, TAppPaths::Beside(directory))
    , FServices(FCore, LogToStandardError, versionText)
    , FServiceManager(std::move(serviceManager))
{
    // Attached before the engine starts, so the program start is reported.
    FEventObserver = FCore.EventLog().AddObserver([this](const TEventRec &rec) {
        WriteStandardErrorLine(TEventDescription::Of(rec, FState.DeviceList).LogLine());
    });
    connect(&FCore, &TMonitorCore::portOpenFailed, this, &TDaemon::OnPortOpenFailed);
    connect(&FCore, &TMonitorCore::portStateChanged, this, &TDaemon::OnPortStateChanged);
    connect(&FCore, &TMonitorCore::linkStatusChanged, this, &TDaemon::OnLinkStatusChanged);
    connect(&FSignals, &TTerminationSignals::terminationRequested, this, &TDaemon::Stop);
    FSignals.HandleHangup();
    connect(&FSignals, &TTerminationSignals::hangupReceived, this, &TDaemon::Reload);
    FPortRetry.setInterval(kPortRetryMs);
    connect(&FPortRetry, &QTimer::timeout, this, &TDaemon::RetryPort);
    FUpkeep.setInterval(kUpkeepMs);
    connect(&FUpkeep, &QTimer::timeout, &FCore, &TMonitorCore::ClearStaleRecords);
}

TDaemon::~TDaemon()
{
    FCore.EventLog().RemoveObserver(FEventObserver);
}

void TDaemon::Start()
{
    LogToStandardError(QStringLiteral("orvand %1 starting in %2 with %3 devices")
                           .arg(QCoreApplication::applicationVersion(), FCore.Paths().ProgramDir)
                           .arg(FState.DeviceList.Count()));
    if (!FCore.DeviceListError().isEmpty())
        LogToStandardError(QStringLiteral("device list: ") + FCore.DeviceListError());
    FServices.Start();
    FCore.StartEngine();
    if (!FCore.PortOpened() && FLastPortFailure.isEmpty() && !ComNameOpensPort(FState.Settings.PortInfo.ComName))
        LogToStandardError(QStringLiteral("port %1 names no serial port; set ComName in %2")
                               .arg(PortName(), FCore.Paths().SettingsFile));
    FPortRetry.start();
    FUpkeep.start();
    if (FServiceManager.WatchdogFeedMs() > 0 && FCore.Engine() != nullptr) {
        FWatchdogClock.start();
        connect(FCore.Engine(), &TPollEngine::timerStepDone, this,
                [this] { FServiceManager.EngineTicked(FWatchdogClock.elapsed()); });
    }
    emit started();
    FServiceManager.Ready(StatusText());
}

void TDaemon::Stop()
{
    if (FStopped)
        return;
    FStopped = true;
    FServiceManager.Stopping();
    FPortRetry.stop();
    FUpkeep.stop();
    // Nothing in this program changes a setting in memory, except what
    // opening the port normalises; a save would otherwise only overwrite
    // what the user edited in the file since.
    if (FCore.SettingsChangedSinceLoad()) {
        try {
            FCore.SaveSettings();
        } catch (const std::exception &error) {
            LogToStandardError(QString::fromLocal8Bit(error.what()));
        }
    }
    FCore.ClosePort();
    FCore.Shutdown();
    FServices.Stop(kNotifyGraceMs);
    LogToStandardError(QStringLiteral("orvand stopped"));
    QCoreApplication::exit(0);
}

void TDaemon::Reload()
{
    FServiceManager.Reloading();
    LogToStandardError(QStringLiteral("reloading %1 and the device list").arg(FCore.Paths().SettingsFile));
    const QString problem = FCore.Reload();
    if (!problem.isEmpty())
        LogToStandardError(QStringLiteral("device list: ") + problem);
    FServices.Reload();
    LogToStandardError(QStringLiteral("reloaded: %1 devices, port %2, protocol %3")
                           .arg(FState.DeviceList.Count())
                           .arg(PortName())
                           .arg(FState.Settings.PortInfo.Protocol));
    FServiceManager.Ready(StatusText());
}

void TDaemon::OnPortOpenFailed(const QString &message)
{
    if (message == FLastPortFailure)
        return;
    FLastPortFailure = message;
    LogToStandardError(QStringLiteral("port %1 failed: %2; trying again every %3 s")
                           .arg(PortName(), message)
                           .arg(kPortRetryMs / 1000));
}

void TDaemon::OnPortStateChanged(bool opened)
{
    if (opened)
        FLastPortFailure.clear();
    LogToStandardError(QStringLiteral("port %1 %2").arg(PortName(), opened ? QStringLiteral("open") : QStringLiteral("closed")));
}

namespace {
// The journal is read by whoever runs the service; its lines stay English.
constexpr quint8 kEnglishLanguage = 0;
} // namespace

void TDaemon::OnLinkStatusChanged(const TLinkStatus &status)
{
    // Each attempt starts with "connecting"; only its outcome is news.
    if (status.Phase == TLinkPhase::Connected || status.Phase == TLinkPhase::Waiting)
        LogToStandardError(QStringLiteral("port ") + PortStatusText(true, PortName(), status, kEnglishLanguage));
}

void TDaemon::RetryPort()
{
    if (FCore.PortOpened() || !ComNameOpensPort(FState.Settings.PortInfo.ComName))
        return;
    try {
        FCore.OpenPort();
    } catch (const ECommsError &error) {
        OnPortOpenFailed(QString::fromUtf8(error.what()));
    }
}

QString TDaemon::PortName() const
{
    return FState.Settings.PortInfo.ComName;
}

QString TDaemon::StatusText() const
{
    return QStringLiteral("%1 devices, port %2").arg(FState.DeviceList.Count()).arg(PortName());
}
