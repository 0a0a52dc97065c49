#include "service/THttpConnectionGuard.h"

#include <QTcpSocket>

#include <algorithm>

namespace {

constexpr int kSweepIntervalMs = 1000;

} // namespace

THttpConnectionGuard::THttpConnectionGuard(QObject *parent) : QObject(parent)
{
    FSweepTimer.setInterval(kSweepIntervalMs);
    connect(&FSweepTimer, &QTimer::timeout, this, &THttpConnectionGuard::Sweep);
}

THttpConnectionGuard::~THttpConnectionGuard()
{
    CloseAll();
}

bool THttpConnectionGuard::Admit(QTcpSocket *socket)
{
    if (ConnectionCount() >= FLimits.MaxConnections)
        return false;
    socket->setReadBufferSize(kReadBufferSize);
    auto connection = std::make_unique<TConnection>();
    connection->Socket = socket;
    connection->LastInput.start();
    // Connected before the HTTP server connects its own, so each block is
    // counted before it is parsed.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Forget(socket); });
    FConnections.push_back(std::move(connection));
    FSweepTimer.start();
    return true;
}

void THttpConnectionGuard::NoteAnswered(QTcpSocket *socket)
{
    if (TConnection *connection = Find(socket))
        connection->Unanswered = 0;
}

void THttpConnectionGuard::CloseAll()
{
    while (!FConnections.empty())
        Abort(*FConnections.back());
    FSweepTimer.stop();
}

void THttpConnectionGuard::OnReadyRead(QTcpSocket *socket)
{
    TConnection *connection = Find(socket);
    if (connection == nullptr)
        return;
    if (connection->TurnedAway) {
        socket->readAll(); // nothing more of this client reaches the parser
        return;
    }
    connection->LastInput.restart();
    // The parser reads everything that arrived on each notification, so
    // what is available now came since the last one.
    connection->Unanswered += socket->bytesAvailable();
    if (connection->Unanswered > FLimits.MaxRequestBytes)
        TurnAway(*connection, 413, "Content Too Large");
    else if (socket->bytesToWrite() > FLimits.MaxPendingReplyBytes)
        Abort(*connection);
}

void THttpConnectionGuard::TurnAway(TConnection &connection, int status, const char *reason)
{
    QTcpSocket *socket = connection.Socket.data();
    connection.TurnedAway = true;
    socket->readAll();
    socket->write(ErrorReply(status, reason));
    socket->disconnectFromHost();
}

void THttpConnectionGuard::Abort(TConnection &connection)
{
    QPointer<QTcpSocket> socket = connection.Socket;
    Forget(socket.data());
    if (socket.isNull())
        return;
    socket->abort();
    socket->deleteLater();
}

void THttpConnectionGuard::Sweep()
{
    std::vector<TConnection *> expired;
    for (const auto &connection : FConnections) {
        QTcpSocket *socket = connection->Socket.data();
        if (socket == nullptr || socket->state() == QAbstractSocket::UnconnectedState ||
            connection->LastInput.elapsed() > FLimits.IdleTimeoutMs)
            expired.push_back(connection.get());
    }
    for (TConnection *connection : expired)
        Abort(*connection);
    if (FConnections.empty())
        FSweepTimer.stop();
}

QByteArray THttpConnectionGuard::ErrorReply(int status, const char *reason)
{
    return QByteArrayLiteral("HTTP/1.1 ") + QByteArray::number(status) + ' ' + reason +
           QByteArrayLiteral("\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: ") +
           QByteArray::number(qstrlen(reason) + 1) + QByteArrayLiteral("\r\nConnection: close\r\n\r\n") + reason +
           '\n';
}

THttpConnectionGuard::TConnection *THttpConnectionGuard::Find(QTcpSocket *socket)
{
    const auto found = std::find_if(FConnections.begin(), FConnections.end(),
                                    [socket](const auto &connection) { return connection->Socket == socket; });
    return found == FConnections.end() ? nullptr : found->get();
}

void THttpConnectionGuard::Forget(QTcpSocket *socket)
{
    const auto found = std::find_if(FConnections.begin(), FConnections.end(),
                                    [socket](const auto &connection) { return connection->Socket == socket; });
    if (found == FConnections.end())
        return;
    if (QTcpSocket *watched = (*found)->Socket.data())
        watched->disconnect(this);
    FConnections.erase(found);
}
