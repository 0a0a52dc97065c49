#pragma once

#include "service/ServiceLog.h"
#include "service/TServiceSettings.h"

#include <QObject>
#include <QString>

#include <memory>

class TEventNotifier;
class THttpServer;
class TMonitorCore;
class TNutServer;

// The one place that starts the services from the settings, for the
// headless service and the desktop monitor alike: the NUT server, the HTTP
// side (metrics, JSON, status page) and the event notifications. Everything runs on the engine's thread and reads the
// core's state; commands go through the core's command queue.
class TServiceHost : public QObject
{
    Q_OBJECT

public:
    TServiceHost(TMonitorCore &core, TServiceLog log, QString versionText, QObject *parent = nullptr);
    // Stops listening and detaches from the event log.
    ~TServiceHost() override;

    // Reads the service settings and the users file beside the settings
    // file and starts what they enable. Start before the engine, so the
    // program start reaches the notifications too. False when an enabled
    // service could not start; every problem is logged.
    bool Start();

    // Reads them again, as the user left them: the users and the command
    // take effect at once; the NUT server listens anew only when its
    // settings changed, the HTTP side always. The device list has been read
    // again by then.
    bool Reload();

    // At program end, after the engine logged it: stops listening and lets
    // running notifications finish, at most graceMs.
    void Stop(int graceMs);

    const TServiceSettings &Settings() const { return FSettings; }
    TNutServer *NutServer() const { return FNutServer.get(); }
    THttpServer *HttpServer() const { return FHttpServer.get(); }
    TEventNotifier &Notifier() const { return *FNotifier; }

private:
    void ConfigureNotifier();
    bool StartNutServer();
    // Null when the Http section does not enable it or it listens nowhere.
    void StartHttpServer();
    void LoadUsers();
    void Log(const QString &line) const;

    TMonitorCore &FCore;
    TServiceLog FLog;
    QString FVersionText;
    TServiceSettings FSettings;
    std::unique_ptr<TNutServer> FNutServer;
    std::unique_ptr<THttpServer> FHttpServer;
    std::unique_ptr<TEventNotifier> FNotifier;
    int FEventObserver = 0;
};
