#pragma once

#include "serial/TBusTransport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

// A TCP connection that keeps itself up: it connects without blocking
// (name lookup included), and when an attempt fails or the connection drops
// it tries again after a pause that grows from 1 s to 30 s, until Stop.
// A connection that has carried data starts the pauses from 1 s again; one
// that the peer takes and drops at once (a device server whose port is busy)
// lets them grow.
// Dead peers are found by TCP keep-alive within about half a minute even
// when nothing is sent.
class TTcpLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int kFirstRetryMs = 1000;
    static constexpr int kLongestRetryMs = 30000;
    static constexpr int kConnectTimeoutMs = 5000;

    explicit TTcpLink(QObject *parent = nullptr);
    ~TTcpLink() override;

    void Start(const QString &host, quint16 port);
    void Stop();
    bool Started() const { return FStarted; }
    bool Connected() const { return FSocket.state() == QAbstractSocket::ConnectedState; }
    TLinkStatus Status() const;
    qintptr Handle() const { return Connected() ? FSocket.socketDescriptor() : 0; }

    // False when the link is down or the bytes could not be queued.
    bool Write(QByteArrayView bytes);
    // Gives up the connection now (the peer sent what cannot be trusted)
    // and connects again after the pause.
    void Drop(const QString &why);

signals:
    void bytesArrived(const QByteArray &bytes, qint64 nowMs);
    void statusChanged(const TLinkStatus &status);
    // The connection went down (dropped, closed by the peer); what was
    // pending on it belongs to nobody.
    void linkLost();

private:
    void Connect();
    void OnConnected();
    void OnSocketError(QAbstractSocket::SocketError error);
    void OnDisconnected();
    void ConnectTimedOut();
    void WaitAndRetry(const QString &why);
    void SetPhase(TLinkPhase phase, const QString &error = {});
    void EnableKeepAlive();
    void Read();

    QTcpSocket FSocket;
    QString FHost;
    quint16 FPort = 0;
    bool FStarted = false;
    TLinkPhase FPhase = TLinkPhase::Closed;
    QString FError;
    int FNextRetryMs = kFirstRetryMs;
    QTimer FRetryTimer;
    // When the retry timer is due, for the countdown shown: the timer
    // itself may run a little late or early and tells no exact time.
    QDeadlineTimer FRetryDue;
    QTimer FConnectTimer;
};
