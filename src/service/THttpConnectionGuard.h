#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

class QTcpSocket;

// Keeps the HTTP clients within bounds, so that no client can hold the
// engine's thread or its memory: a cap on connections, a size limit on
// each request, a bound on replies a client does not take, and an idle
// time-out. It sees every received block before the HTTP parser does. A
// request the parser cannot read is closed by the HTTP server itself.
class THttpConnectionGuard : public QObject
{
    Q_OBJECT

public:
    struct TLimits {
        int MaxConnections = 32;
        int IdleTimeoutMs = 30000;             // no byte received for this long
        qint64 MaxRequestBytes = 16384;        // request line, headers and body of one request
        qint64 MaxPendingReplyBytes = 8 << 20; // answered but not yet taken by the client
    };

    // Bytes a socket reads ahead of the parser, so one turn of the event
    // loop handles a bounded amount from one client.
    static constexpr qint64 kReadBufferSize = 65536;

    explicit THttpConnectionGuard(QObject *parent = nullptr);
    ~THttpConnectionGuard() override;

    void SetLimits(const TLimits &limits) { FLimits = limits; }
    const TLimits &Limits() const { return FLimits; }

    // Takes a new connection under watch; false when the cap is reached,
    // and the caller turns it away. Call before the HTTP server sees it.
    bool Admit(QTcpSocket *socket);
    // A request of the socket has been answered: its size count starts anew.
    void NoteAnswered(QTcpSocket *socket);
    // Drops every connection.
    void CloseAll();

    int ConnectionCount() const { return static_cast<int>(FConnections.size()); }

    // Closes idle connections and forgets closed ones; a timer calls it
    // every second.
    void Sweep();

    // The whole reply for a request that is turned away, with
    // "Connection: close".
    static QByteArray ErrorReply(int status, const char *reason);

private:
    struct TConnection {
        QPointer<QTcpSocket> Socket;
        QElapsedTimer LastInput;
        qint64 Unanswered = 0;
        bool TurnedAway = false; // told why and being closed
    };

    void OnReadyRead(QTcpSocket *socket);
    void TurnAway(TConnection &connection, int status, const char *reason);
    void Abort(TConnection &connection);
    TConnection *Find(QTcpSocket *socket);
    void Forget(QTcpSocket *socket);

    TLimits FLimits;
    std::vector<std::unique_ptr<TConnection>> FConnections;
    QTimer FSweepTimer;
};
