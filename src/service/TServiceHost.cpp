#include "service/TServiceHost.h"

#include "app/TMonitorCore.h"
#include "app/TMonitorState.h"
#include "log/TEventLog.h"
#include "service/EventDescription.h"
#include "service/HttpService.h"
#include "service/THttpServer.h"
#include "service/TEventNotifier.h"
#include "service/TNutServer.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

TServiceHost::TServiceHost(TMonitorCore &core, TServiceLog log, QString versionText, QObject *parent)
    : QObject(parent)
    , FCore(core)
    , FLog(std::move(log))
    , FVersionText(std::move(versionText))
    , FNotifier(std::make_unique<TEventNotifier>(FLog))
{
}

TServiceHost::~TServiceHost()
{
    if (FEventObserver != 0)
        FCore.EventLog().RemoveObserver(FEventObserver);
}

bool TServiceHost::Start()
{
    FSettings = TServiceSettings::Load(FCore.Paths().SettingsFile);
    ConfigureNotifier();
    if (FEventObserver == 0) {
        FEventObserver = FCore.EventLog().AddObserver([this](const TEventRec &rec) {
            FNotifier->Notify(TEventDescription::Of(rec, FCore.State().DeviceList));
        });
    }
    StartHttpServer();
    return FSettings.NutServer.Enabled ? StartNutServer() : true;
}

bool TServiceHost::Reload()
{
    const TServiceSettings previous = FSettings;
    FSettings = TServiceSettings::Load(FCore.Paths().SettingsFile);
    ConfigureNotifier();
    FHttpServer.reset();
    StartHttpServer();
    if (FSettings.NutServer == previous.NutServer && FNutServer != nullptr) {
        LoadUsers();
        FNutServer->Protocol().ForgetUnlistedUnits();
        return true;
    }
    FNutServer.reset();
    return FSettings.NutServer.Enabled ? StartNutServer() : true;
}

void TServiceHost::Stop(int graceMs)
{
    FNutServer.reset();
    FHttpServer.reset();
    if (FEventObserver != 0) {
        FCore.EventLog().RemoveObserver(FEventObserver);
        FEventObserver = 0;
    }
    FNotifier->Finish(graceMs);
}

void TServiceHost::ConfigureNotifier()
{
    FNotifier->Configure(FSettings.Notify.Command, FSettings.Notify.Timeout);
    if (FNotifier->Enabled())
        Log(QStringLiteral("notifications: %1 runs for every event").arg(FSettings.Notify.Command));
}

bool TServiceHost::StartNutServer()
{
    TMonitorState &state = FCore.State();
    TNutData data{state.DeviceList, state.UpsInfo, state.CmdQueue, state.Settings,
                  [this] { return FCore.PortOpened(); }, FVersionText};
    FNutServer = std::make_unique<TNutServer>(std::move(data), FLog);
    const TServiceSettings::TNutServer &settings = FSettings.NutServer;
    TNutServer::TLimits limits;
    limits.MaxClients = settings.MaxClients;
    limits.IdleTimeoutMs = settings.IdleTimeout * 1000;
    FNutServer->SetLimits(limits);
    FNutServer->Protocol().SetLowRuntime(settings.LowRuntime);
    LoadUsers();

    QStringList problems;
    const QList<TListenAddress> addresses = TListenAddress::ParseList(settings.Listen, &problems);
    const bool listening = FNutServer->Listen(addresses, &problems);
    for (const QString &problem : problems)
        Log(problem);
    if (!listening) {
        Log(QStringLiteral("NUT server is enabled but listens nowhere (Listen=%1)").arg(settings.Listen));
        FNutServer.reset();
    }
    return listening && problems.isEmpty();
}

void TServiceHost::StartHttpServer()
{
    TMonitorState &state = FCore.State();
    FHttpServer = StartHttpService(FCore.Paths().SettingsFile,
                                   THttpData{state.DeviceList, state.UpsInfo, state.Settings, state.Debug,
                                             state.Engine, FCore.EventLog(), [this] { return FCore.PortOpened(); },
                                             [this] { return FCore.LinkStatus().Phase == TLinkPhase::Connected; }},
                                   FLog);
}

void TServiceHost::LoadUsers()
{
    const QString path = TServiceSettings::UsersFile(FCore.Paths().SettingsFile);
    QStringList problems;
    const TNutUsers users = TNutUsers::Load(path, &problems);
    for (const QString &problem : problems)
        Log(problem);
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && (info.st_mode & S_IROTH) != 0)
        Log(QStringLiteral("%1 holds passwords but every user of this system can read it; "
                           "chmod 600 it").arg(path));
    if (!QFileInfo::exists(path))
        Log(QStringLiteral("NUT server: no %1, so nobody can log in or run commands").arg(path));
    FNutServer->Protocol().SetUsers(users);
}

void TServiceHost::Log(const QString &line) const
{
    if (FLog)
        FLog(line);
}
