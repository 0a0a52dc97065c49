#include "support/PtyPair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cerrno>
#include <poll.h>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[256] = {};
    termios raw {};
    cfmakeraw(&raw);
    if (::openpty(&FMaster, &FSlave, name, &raw, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    ::fcntl(FMaster, F_SETFL, ::fcntl(FMaster, F_GETFL) | O_NONBLOCK);
    ::fcntl(FMaster, F_SETFD, FD_CLOEXEC);
    ::fcntl(FSlave, F_SETFD, FD_CLOEXEC);
    FSlavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    CloseMaster();
    if (FSlave >= 0)
        ::close(FSlave);
}

bool PtyPair::WriteToMaster(QByteArrayView bytes)
{
    // A full line buffer drains only while the reader's event loop runs.
    const QDeadlineTimer deadline(5000);
    qsizetype done = 0;
    while (FMaster >= 0 && done < bytes.size() && !deadline.hasExpired()) {
        const ssize_t n = ::write(FMaster, bytes.data() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EAGAIN) {
            QCoreApplication::processEvents();
            pollfd writable {FMaster, POLLOUT, 0};
            ::poll(&writable, 1, 10);
        } else if (!(n < 0 && errno == EINTR)) {
            return false;
        }
    }
    return done == bytes.size();
}

QByteArray PtyPair::ReadAvailableFromMaster()
{
    QByteArray bytes;
    char chunk[4096];
    for (;;) {
        if (FMaster < 0)
            break;
        const ssize_t n = ::read(FMaster, chunk, sizeof chunk);
        if (n > 0)
            bytes.append(chunk, n);
        else if (!(n < 0 && errno == EINTR))
            break;
    }
    return bytes;
}

void PtyPair::CloseMaster()
{
    if (FMaster >= 0)
        ::close(FMaster);
    FMaster = -1;
}
