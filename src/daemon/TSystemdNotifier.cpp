#include "daemon/TSystemdNotifier.h"

#include <QFile>

#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TSystemdNotifier TSystemdNotifier::FromEnvironment()
{
    const QString socketPath = qEnvironmentVariable("NOTIFY_SOCKET");
    bool usecOk = false;
    qint64 watchdogUsec = qEnvironmentVariable("WATCHDOG_USEC").toLongLong(&usecOk);
    const QString watchdogPid = qEnvironmentVariable("WATCHDOG_PID");
    if (!usecOk || (!watchdogPid.isEmpty() && watchdogPid.toLongLong() != getpid()))
        watchdogUsec = 0;
    for (const char *name : {"NOTIFY_SOCKET", "WATCHDOG_USEC", "WATCHDOG_PID"})
        qunsetenv(name);
    return TSystemdNotifier(socketPath, watchdogUsec);
}

TSystemdNotifier::TSystemdNotifier(QString socketPath, qint64 watchdogUsec)
    : FSocketPath(std::move(socketPath)), FWatchdogFeedMs(watchdogUsec > 0 ? qMax<qint64>(1, watchdogUsec / 2000) : 0)
{
}

bool TSystemdNotifier::Ready(const QString &status)
{
    return Send("READY=1\nSTATUS=" + status.toUtf8());
}

bool TSystemdNotifier::Reloading()
{
    return Send("RELOADING=1");
}

bool TSystemdNotifier::Stopping()
{
    return Send("STOPPING=1");
}

void TSystemdNotifier::EngineTicked(qint64 nowMs)
{
    if (FWatchdogFeedMs == 0 || (FFed && nowMs - FLastFeedMs < FWatchdogFeedMs))
        return;
    FFed = true;
    FLastFeedMs = nowMs;
    Send("WATCHDOG=1");
}

bool TSystemdNotifier::Send(const QByteArray &message) const
{
    if (FSocketPath.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(FSocketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), path.size());
    // "@" names a socket in the abstract namespace, which begins with a 0.
    if (path.startsWith('@'))
        address.sun_path[0] = '\0';
    const socklen_t length = offsetof(sockaddr_un, sun_path) + path.size();

    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const ssize_t sent = ::sendto(fd, message.constData(), message.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr *>(&address), length);
    ::close(fd);
    return sent == message.size();
}
