#include "service/THttpListener.h"

#include "service/THttpConnectionGuard.h"

#include <QTcpSocket>

#include <unistd.h>

THttpListener::THttpListener(THttpConnectionGuard &guard, QObject *parent) : QTcpServer(parent), FGuard(guard)
{
}

void THttpListener::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        ::close(static_cast<int>(handle));
        return;
    }
    if (FGuard.Admit(socket)) {
        addPendingConnection(socket);
        return;
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->write(THttpConnectionGuard::ErrorReply(503, "Service Unavailable"));
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
}
