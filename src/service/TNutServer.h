#pragma once

#include "service/ServiceLog.h"
#include "service/TListenAddress.h"
#include "service/TNutProtocol.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class QTcpServer;
class QTcpSocket;

// The NUT network protocol on TCP. It runs on the engine's thread and never
// waits: each client gets a bounded line, a bounded backlog of replies and
// an idle time-out, and the number of clients is capped. A client that
// breaks a bound is dropped; one over the cap is told so and closed.
class TNutServer : public QObject
{
    Q_OBJECT

public:
    struct TLimits {
        int MaxClients = 32;
        int IdleTimeoutMs = 300000;       // no byte received for this long
        int MaxLineLength = 1024;         // bytes of one request line
        qint64 MaxPendingReplies = 262144; // bytes sent but not yet taken by the client
    };

    // Kernel bytes read per turn of the event loop for one client, so a
    // fast sender cannot keep the engine from its timer.
    static constexpr qint64 kReadChunk = 4096;

    TNutServer(TNutData data, TServiceLog log, QObject *parent = nullptr);
    ~TNutServer() override;

    void SetLimits(const TLimits &limits) { FLimits = limits; }
    const TLimits &Limits() const { return FLimits; }
    TNutProtocol &Protocol() { return FProtocol; }

    // Listens on every address; those that cannot be bound add a problem.
    // True when at least one listens.
    bool Listen(const QList<TListenAddress> &addresses, QStringList *problems);
    // Stops listening and drops every client.
    void Close();

    // Where it listens, with the ports actually bound.
    QList<TListenAddress> Bound() const;
    int ClientCount() const { return static_cast<int>(FClients.size()); }

    // Drops clients idle for longer than the time-out and notes the units'
    // phases; the server's timer calls it every second.
    void Sweep();

private:
    struct TClient {
        QTcpSocket *Socket = nullptr;
        TNutSession *Session = nullptr;
        QByteArray Pending; // bytes of a line not yet ended
        QElapsedTimer LastInput;
    };

    void OnNewConnection(QTcpServer *server);
    void Refuse(QTcpSocket *socket);
    void OnReadyRead(TClient &client);
    // Handles the complete lines of the client's buffer; false when the
    // client is to be dropped.
    bool HandleLines(TClient &client);
    void Drop(TClient &client);
    void Forget(QTcpSocket *socket);
    TClient *ClientOf(QTcpSocket *socket);
    void Log(const QString &line) const;

    TNutProtocol FProtocol;
    TServiceLog FLog;
    TLimits FLimits;
    std::vector<QTcpServer *> FServers;
    std::vector<std::unique_ptr<TClient>> FClients;
    QTimer FSweepTimer;
    bool FCapReported = false;
    TClient *FHandling = nullptr; // the client whose lines are being answered
    bool FHandlingLost = false;   // its socket went meanwhile
};
