#include "serial/TTcpLink.h"

#include "serial/LineTiming.h"

#include <algorithm>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

TTcpLink::TTcpLink(QObject *parent) : QObject(parent)
{
    FRetryTimer.setSingleShot(true);
    FConnectTimer.setSingleShot(true);
    FConnectTimer.setInterval(kConnectTimeoutMs);
    connect(&FRetryTimer, &QTimer::timeout, this, &TTcpLink::Connect);
    connect(&FConnectTimer, &QTimer::timeout, this, &TTcpLink::ConnectTimedOut);
    connect(&FSocket, &QTcpSocket::connected, this, &TTcpLink::OnConnected);
    connect(&FSocket, &QTcpSocket::errorOccurred, this, &TTcpLink::OnSocketError);
    connect(&FSocket, &QTcpSocket::disconnected, this, &TTcpLink::OnDisconnected);
    connect(&FSocket, &QTcpSocket::readyRead, this, &TTcpLink::Read);
}

TTcpLink::~TTcpLink()
{
    Stop();
}

void TTcpLink::Start(const QString &host, quint16 port)
{
    Stop();
    FHost = host;
    FPort = port;
    FStarted = true;
    FNextRetryMs = kFirstRetryMs;
    Connect();
}

void TTcpLink::Stop()
{
    if (!FStarted)
        return;
    FStarted = false;
    FRetryTimer.stop();
    FConnectTimer.stop();
    // abort() may report the disconnection at once; FStarted is already
    // false, so that report starts nothing.
    FSocket.abort();
    SetPhase(TLinkPhase::Closed);
}

TLinkStatus TTcpLink::Status() const
{
    TLinkStatus status{FPhase, FError, 0};
    if (FPhase == TLinkPhase::Waiting)
        status.RetryInSeconds = std::max(1, int((FRetryDue.remainingTime() + 999) / 1000));
    return status;
}

bool TTcpLink::Write(QByteArrayView bytes)
{
    if (!Connected() || bytes.isEmpty())
        return false;
    return FSocket.write(bytes.data(), bytes.size()) == bytes.size();
}

void TTcpLink::Drop(const QString &why)
{
    if (!FStarted)
        return;
    WaitAndRetry(why);
}

void TTcpLink::Connect()
{
    if (!FStarted)
        return;
    FSocket.abort();
    SetPhase(TLinkPhase::Connecting, FError);
    FConnectTimer.start();
    FSocket.connectToHost(FHost, FPort);
}

void TTcpLink::OnConnected()
{
    FConnectTimer.stop();
    // Frames are small and each waits for its answer: nothing is gained by
    // holding them back to fill a segment.
    FSocket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    EnableKeepAlive();
    SetPhase(TLinkPhase::Connected);
}

void TTcpLink::EnableKeepAlive()
{
    FSocket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    // Probe after 10 s of quiet, every 5 s, give up after 3 unanswered:
    // a device server that lost power is noticed in about 25 s.
    const int fd = int(FSocket.socketDescriptor());
    const int idle = 10, interval = 5, count = 3;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
#endif
}

void TTcpLink::OnSocketError(QAbstractSocket::SocketError error)
{
    if (!FStarted)
        return;
    // The peer closing is told by disconnected() as well; one retry is enough.
    if (error == QAbstractSocket::RemoteHostClosedError && FSocket.state() != QAbstractSocket::UnconnectedState)
        return;
    WaitAndRetry(FSocket.errorString());
}

void TTcpLink::OnDisconnected()
{
    if (!FStarted || FPhase == TLinkPhase::Waiting)
        return;
    WaitAndRetry(QStringLiteral("The connection was closed by the other side"));
}

void TTcpLink::ConnectTimedOut()
{
    WaitAndRetry(QStringLiteral("No answer to the connection request within %1 s").arg(kConnectTimeoutMs / 1000));
}

void TTcpLink::WaitAndRetry(const QString &why)
{
    const bool wasConnected = FPhase == TLinkPhase::Connected;
    FConnectTimer.stop();
    FRetryTimer.start(FNextRetryMs);
    FRetryDue.setRemainingTime(FNextRetryMs);
    FNextRetryMs = std::min(FNextRetryMs * 2, kLongestRetryMs);
    // Set before the socket is aborted: the disconnection abort() reports
    // then finds the link already waiting.
    SetPhase(TLinkPhase::Waiting, why);
    FSocket.abort();
    if (wasConnected)
        emit linkLost();
}

void TTcpLink::SetPhase(TLinkPhase phase, const QString &error)
{
    if (phase == FPhase && error == FError)
        return;
    FPhase = phase;
    FError = error;
    emit statusChanged(Status());
}

void TTcpLink::Read()
{
    const QByteArray bytes = FSocket.readAll();
    if (bytes.isEmpty())
        return;
    FNextRetryMs = kFirstRetryMs;
    emit bytesArrived(bytes, LineClockMs());
}
