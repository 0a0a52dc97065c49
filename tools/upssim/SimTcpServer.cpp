#include "SimTcpServer.h"

#include "SimPort.h"

#include <QHostInfo>
#include <QTcpSocket>

#include <algorithm>
#include <optional>

namespace {

struct HostAndPort
{
    QString host;
    quint16 port = 0;
};

std::optional<HostAndPort> SplitAddress(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok, 10);
    if (!ok || port > 65535)
        return std::nullopt;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(QLatin1Char(':')))
        return std::nullopt; // an IPv6 address needs its brackets
    if (host.isEmpty())
        return std::nullopt;
    return HostAndPort{host, static_cast<quint16>(port)};
}

// IPv4 first, so that a name such as localhost is served where most clients
// look for it first.
QList<QHostAddress> Resolve(const QString &host, QString *error)
{
    const QHostAddress literal(host);
    if (!literal.isNull())
        return {literal};
    const QHostInfo info = QHostInfo::fromName(host);
    QList<QHostAddress> addresses = info.addresses();
    if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
        *error = info.errorString();
        return {};
    }
    std::stable_partition(addresses.begin(), addresses.end(), [](const QHostAddress &address) {
        return address.protocol() == QAbstractSocket::IPv4Protocol;
    });
    return addresses;
}

} // namespace

SimTcpServer::SimTcpServer(PortMaker makePort, QObject *parent) : QObject(parent), m_makePort(std::move(makePort))
{
    connect(&m_server, &QTcpServer::newConnection, this, &SimTcpServer::Accept);
}

bool SimTcpServer::Listen(const QString &address, QString *error)
{
    const auto parts = SplitAddress(address);
    if (!parts) {
        *error = QStringLiteral("'%1' is not ADDRESS:PORT").arg(address);
        return false;
    }
    QString why;
    for (const QHostAddress &host : Resolve(parts->host, &why)) {
        if (m_server.listen(host, parts->port))
            return true;
        why = m_server.errorString();
    }
    *error = QStringLiteral("cannot listen on %1: %2").arg(address, why);
    return false;
}

QString SimTcpServer::Url(const QString &scheme) const
{
    QHostAddress host = m_server.serverAddress();
    if (host == QHostAddress::AnyIPv4)
        host = QHostAddress(QHostAddress::LocalHost);
    else if (host == QHostAddress::AnyIPv6 || host == QHostAddress::Any)
        host = QHostAddress(QHostAddress::LocalHostIPv6);
    const QString shown = host.protocol() == QAbstractSocket::IPv6Protocol
                              ? QLatin1Char('[') + host.toString() + QLatin1Char(']')
                              : host.toString();
    return scheme + QStringLiteral("://") + shown + QLatin1Char(':') + QString::number(m_server.serverPort());
}

void SimTcpServer::Accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        // A reply in two halves must leave as two writes, not wait to be
        // merged with the second one.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        SimPort *port = m_makePort(this);
        port->AttachStream(socket);
        connect(socket, &QTcpSocket::disconnected, port, &QObject::deleteLater);
    }
}
