#pragma once

#include <QHostAddress>
#include <QTcpServer>

// A TCP port on 127.0.0.1 that was free a moment ago: taken from the system
// and given back, for a peer that must be told its port, or for a port that
// nobody listens on.
inline quint16 FreeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
