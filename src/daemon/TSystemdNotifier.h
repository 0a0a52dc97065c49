#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Tells the service manager how orvand is doing, through the socket it
// names in $NOTIFY_SOCKET: ready once the settings are loaded and the
// services listen, alive while the engine's timer runs (the watchdog), and
// stopping when the close sequence begins. A message is one datagram of
// "KEY=VALUE" lines; that is all of the protocol, so it is written here
// rather than brought in with libsystemd. Outside a service manager (no
// socket named) every call does nothing.
class TSystemdNotifier
{
public:
    // The socket and the watchdog interval from $NOTIFY_SOCKET,
    // $WATCHDOG_USEC and $WATCHDOG_PID (a watchdog meant for another
    // process is none). The variables are then removed from the
    // environment, so the notification commands this program starts cannot
    // speak for it.
    static TSystemdNotifier FromEnvironment();

    TSystemdNotifier(QString socketPath, qint64 watchdogUsec);

    bool Enabled() const { return !FSocketPath.isEmpty(); }
    // How often the watchdog is fed: half its interval, so one late tick
    // does not get the program killed. 0 when there is no watchdog.
    qint64 WatchdogFeedMs() const { return FWatchdogFeedMs; }

    // READY=1 with a line for "systemctl status".
    bool Ready(const QString &status);
    bool Reloading();
    bool Stopping();

    // On every tick of the engine's timer: WATCHDOG=1 when the feed
    // interval has passed since the last one (nowMs from a monotonic clock).
    void EngineTicked(qint64 nowMs);

    // Sends one message; false when there is no socket or it could not be
    // sent (the service manager then acts as if nothing was said).
    bool Send(const QByteArray &message) const;

private:
    QString FSocketPath;
    qint64 FWatchdogFeedMs = 0;
    qint64 FLastFeedMs = 0;
    bool FFed = false;
};
