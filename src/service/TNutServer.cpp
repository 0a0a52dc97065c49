#include "service/TNutServer.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <utility>

namespace {

constexpr int kSweepIntervalMs = 1000;
const QByteArray kTooManyClients = QByteArrayLiteral("ERR ACCESS-DENIED too many clients\n");

QByteArray PeerText(const QTcpSocket &socket)
{
    QHostAddress address = socket.peerAddress();
    // A v4 client of a dual-stack socket reads best as plain v4.
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        address = QHostAddress(v4);
    return address.toString().toLatin1();
}

} // namespace

TNutServer::TNutServer(TNutData data, TServiceLog log, QObject *parent)
    : QObject(parent), FProtocol(std::move(data), log), FLog(std::move(log))
{
    FSweepTimer.setInterval(kSweepIntervalMs);
    connect(&FSweepTimer, &QTimer::timeout, this, &TNutServer::Sweep);
}

TNutServer::~TNutServer()
{
    Close();
}

bool TNutServer::Listen(const QList<TListenAddress> &addresses, QStringList *problems)
{
    for (const TListenAddress &address : addresses) {
        auto *server = new QTcpServer(this);
        if (!server->listen(address.Address, address.Port)) {
            if (problems != nullptr)
                problems->append(QStringLiteral("NUT server cannot listen on %1: %2")
                                     .arg(address.Text(), server->errorString()));
            delete server;
            continue;
        }
        connect(server, &QTcpServer::newConnection, this, [this, server] { OnNewConnection(server); });
        FServers.push_back(server);
        const TListenAddress bound{server->serverAddress(), server->serverPort()};
        Log(QStringLiteral("NUT server listening on %1%2")
                .arg(bound.Text(), bound.Address.isLoopback()
                                       ? QString()
                                       : QStringLiteral(" (not a loopback address: other hosts can reach it)")));
    }
    if (!FServers.empty())
        FSweepTimer.start();
    return !FServers.empty();
}

void TNutServer::Close()
{
    FSweepTimer.stop();
    for (const auto &client : FClients) {
        client->Socket->disconnect(this);
        client->Socket->abort();
        client->Socket->deleteLater();
        FProtocol.CloseSession(*client->Session);
    }
    FClients.clear();
    for (QTcpServer *server : FServers)
        delete server; // and the sockets it still parents
    FServers.clear();
}

QList<TListenAddress> TNutServer::Bound() const
{
    QList<TListenAddress> out;
    for (const QTcpServer *server : FServers)
        out << TListenAddress{server->serverAddress(), server->serverPort()};
    return out;
}

void TNutServer::OnNewConnection(QTcpServer *server)
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        if (ClientCount() >= FLimits.MaxClients) {
            Refuse(socket);
            continue;
        }
        socket->setReadBufferSize(kReadChunk);
        // A peer that vanished without closing shows up, at the latest, at
        // the idle time-out; keep-alive lets the kernel find it sooner.
        socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto client = std::make_unique<TClient>();
        client->Socket = socket;
        client->Session = &FProtocol.OpenSession(PeerText(*socket));
        client->LastInput.start();
        FClients.push_back(std::move(client));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (TClient *found = ClientOf(socket))
                OnReadyRead(*found);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Forget(socket); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] { Forget(socket); });
    }
}

void TNutServer::Refuse(QTcpSocket *socket)
{
    if (!FCapReported) {
        FCapReported = true;
        Log(QStringLiteral("NUT server: %1 clients connected, refusing more until one leaves").arg(ClientCount()));
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->write(kTooManyClients);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
}

void TNutServer::OnReadyRead(TClient &client)
{
    const QByteArray input = client.Socket->readAll();
    if (client.Session->Finished)
        return; // after LOGOUT nothing more is answered
    client.LastInput.restart();
    client.Pending += input;
    QTcpSocket *socket = client.Socket;
    FHandling = &client;
    const bool keep = HandleLines(client);
    FHandling = nullptr;
    // The socket may have gone while its lines were answered.
    if (std::exchange(FHandlingLost, false))
        Forget(socket);
    else if (!keep)
        Drop(client);
}

bool TNutServer::HandleLines(TClient &client)
{
    qsizetype start = 0;
    bool keep = true;
    for (;;) {
        const qsizetype end = client.Pending.indexOf('\n', start);
        if (end < 0)
            break;
        if (end - start > FLimits.MaxLineLength) {
            keep = false;
            break;
        }
        QByteArrayView line = QByteArrayView(client.Pending).sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        start = end + 1;
        client.Socket->write(FProtocol.Handle(*client.Session, line));
        if (client.Session->Finished) {
            client.Pending.clear();
            client.Socket->disconnectFromHost();
            return true;
        }
        // A client that sends requests but does not read the replies.
        if (client.Socket->bytesToWrite() > FLimits.MaxPendingReplies) {
            keep = false;
            break;
        }
    }
    client.Pending.remove(0, start);
    return keep && client.Pending.size() <= FLimits.MaxLineLength;
}

void TNutServer::Drop(TClient &client)
{
    QTcpSocket *socket = client.Socket;
    socket->disconnect(this);
    socket->abort();
    Forget(socket);
}

void TNutServer::Forget(QTcpSocket *socket)
{
    const auto found = std::find_if(FClients.begin(), FClients.end(),
                                    [socket](const auto &client) { return client->Socket == socket; });
    if (found == FClients.end())
        return;
    if (found->get() == FHandling) {
        FHandlingLost = true;
        return;
    }
    FProtocol.CloseSession(*(*found)->Session);
    FClients.erase(found);
    socket->disconnect(this);
    socket->deleteLater();
    if (ClientCount() < FLimits.MaxClients)
        FCapReported = false;
}

TNutServer::TClient *TNutServer::ClientOf(QTcpSocket *socket)
{
    for (const auto &client : FClients)
        if (client->Socket == socket)
            return client.get();
    return nullptr;
}

void TNutServer::Sweep()
{
    std::vector<QTcpSocket *> idle;
    for (const auto &client : FClients)
        if (client->LastInput.elapsed() > FLimits.IdleTimeoutMs)
            idle.push_back(client->Socket);
    for (QTcpSocket *socket : idle)
        if (TClient *client = ClientOf(socket))
            Drop(*client);
    FProtocol.NotePhases();
}

void TNutServer::Log(const QString &line) const
{
    if (FLog)
        FLog(line);
}
