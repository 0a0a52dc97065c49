#include "app/TSingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray kActivateRequest = QByteArrayLiteral("activate\n");

QString UserName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    return user;
}

} // namespace

TSingleInstance::TSingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent), FServerName(serverName)
{
}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName(const QString &appTitle)
{
    return appTitle + QLatin1Char('-') + UserName();
}

bool TSingleInstance::Claim(int timeoutMs)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    FLock = std::make_unique<QLockFile>(dir + QLatin1Char('/') + FServerName + QStringLiteral(".lock"));
    // The lock is stale only when its owner's process is gone, never by age:
    // a monitor runs for months.
    FLock->setStaleLockTime(0);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (FLock->tryLock(0))
            return Listen();
        if (ActivateRunning(200))
            return false;
        // The owner lives but does not listen (yet): it is still starting,
        // or hung. Either way it is the one that runs.
        if (waited.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(50);
    }
}

bool TSingleInstance::ActivateRunning(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(FServerName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivateRequest);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool TSingleInstance::Listen()
{
    if (FServer == nullptr) {
        FServer = new QLocalServer(this);
        FServer->setSocketOptions(QLocalServer::UserAccessOption);
        connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::OnNewConnection);
    }
    if (FServer->listen(FServerName))
        return true;
    // Nobody answered ActivateRunning, so the name is a stale socket file.
    QLocalServer::removeServer(FServerName);
    return FServer->listen(FServerName);
}

void TSingleInstance::OnNewConnection()
{
    while (QLocalSocket *socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kActivateRequest.trimmed()))
                emit activationRequested();
        });
    }
}
