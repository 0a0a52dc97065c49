#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The service manager's end of the notify socket: a datagram socket bound
// to the name systemd passes in $NOTIFY_SOCKET ("@..." for the abstract
// namespace), on which the tests read what a program told it.
class NotifySocket
{
public:
    explicit NotifySocket(const QByteArray &name) : FName(name)
    {
        FFd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), name.size());
        if (name.startsWith('@'))
            address.sun_path[0] = '\0';
        Bound = ::bind(FFd, reinterpret_cast<const sockaddr *>(&address),
                       offsetof(sockaddr_un, sun_path) + name.size()) == 0;
    }
    ~NotifySocket() { ::close(FFd); }
    NotifySocket(const NotifySocket &) = delete;
    NotifySocket &operator=(const NotifySocket &) = delete;

    // The messages that have arrived and not been read yet.
    QByteArrayList Received()
    {
        QByteArrayList messages;
        QByteArray message;
        while (ReadOne(0, message))
            messages.append(message);
        return messages;
    }

    // The first message that begins with prefix, the ones before it read
    // and dropped; empty when none came within timeoutMs.
    QByteArray WaitFor(const QByteArray &prefix, int timeoutMs = 20000)
    {
        QElapsedTimer waited;
        waited.start();
        QByteArray message;
        while (ReadOne(static_cast<int>(qMax<qint64>(0, timeoutMs - waited.elapsed())), message)) {
            if (message.startsWith(prefix))
                return message;
        }
        return {};
    }

    QString Name() const { return QFile::decodeName(FName); }
    bool Bound = false;

private:
    bool ReadOne(int timeoutMs, QByteArray &message)
    {
        pollfd ready{FFd, POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) <= 0)
            return false;
        char buffer[4096];
        const ssize_t size = ::recv(FFd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (size < 0)
            return false;
        message = QByteArray(buffer, size);
        return true;
    }

    QByteArray FName;
    int FFd = -1;
};
