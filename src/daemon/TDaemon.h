#pragma once

#include "app/TMonitorCore.h"
#include "app/TMonitorState.h"
#include "app/TTerminationSignals.h"
#include "daemon/TSystemdNotifier.h"
#include "service/TServiceHost.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

// The headless monitor: the core and the services of the desktop monitor,
// with standard error as its only window. It reports the program's start,
// the port and every logged event there, one line each; SIGTERM and SIGINT
// run the close sequence, SIGHUP reads the files the user edited again.
// Under a service manager it says when it is ready, reloading and stopping,
// and feeds the watchdog from the engine's timer.
class TDaemon : public QObject
{
    Q_OBJECT

public:
    // How long the close sequence lets notifications of the program end run.
    static constexpr int kNotifyGraceMs = 10000;
    // A daemon has nobody to press the port button: a closed port is
    // opened again this often.
    static constexpr int kPortRetryMs = 10000;
    // The rhythm in which the window's device tree clears stale records.
    static constexpr int kUpkeepMs = 660;

    TDaemon(const QString &directory, const QString &versionText,
            TSystemdNotifier serviceManager = TSystemdNotifier(QString(), 0), QObject *parent = nullptr);
    ~TDaemon() override;

    // Starts the services, then the engine, then tells the service manager
    // it is ready. The services' problems are logged; the program runs on
    // without what could not start.
    void Start();

    // The close sequence: the settings saved when they changed in memory,
    // the port closed, the program end logged, the notifications given time
    // to finish. Then the event loop ends with status 0.
    void Stop();

    // Reads the settings, the device list and the users again.
    void Reload();

    TMonitorCore &Core() { return FCore; }
    TServiceHost &Services() { return FServices; }

signals:
    // Everything is started and the enabled services listen.
    void started();

private:
    void OnPortOpenFailed(const QString &message);
    void OnPortStateChanged(bool opened);
    void OnLinkStatusChanged(const TLinkStatus &status);
    void RetryPort();
    QString PortName() const;
    QString StatusText() const;

    TMonitorState FState;
    TMonitorCore FCore;
    TServiceHost FServices;
    TTerminationSignals FSignals;
    TSystemdNotifier FServiceManager;
    QElapsedTimer FWatchdogClock;
    QTimer FPortRetry;
    QTimer FUpkeep;
    QString FLastPortFailure; // reported once until the port opens
    int FEventObserver = 0;
    bool FStopped = false;
};
