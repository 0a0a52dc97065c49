#pragma once

#include <QObject>
#include <QString>
#include <QTcpServer>

#include <functional>

class SimPort;

// The bus served over TCP. Each accepted connection gets a SimPort of its
// own, so that every client has its own frame state and replies go only to
// the client that asked; the port goes when its client disconnects.
class SimTcpServer : public QObject
{
    Q_OBJECT

public:
    // Makes the port for a new connection: framing, timing and trace set,
    // no stream yet.
    using PortMaker = std::function<SimPort *(QObject *parent)>;

    explicit SimTcpServer(PortMaker makePort, QObject *parent = nullptr);

    // address is ADDRESS:PORT with an IPv4 address, an IPv6 address in
    // brackets or a host name; port 0 takes any free port.
    bool Listen(const QString &address, QString *error);

    // What a client on this host connects to: SCHEME://HOST:PORT with the
    // port bound, an IPv6 host in brackets, and the loopback address for a
    // server on every address.
    QString Url(const QString &scheme) const;

private:
    void Accept();

    PortMaker m_makePort;
    QTcpServer m_server;
};
