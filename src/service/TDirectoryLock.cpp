#include "service/TDirectoryLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// "orvand, process 1234" as the holder wrote it, or nothing.
QString HolderOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(200)).trimmed();
}

} // namespace

TDirectoryLock::TDirectoryLock(const QString &directory, const QString &programName)
    : FDirectory(QDir(directory).absolutePath()), FProgramName(programName)
{
}

TDirectoryLock::~TDirectoryLock()
{
    if (FFd >= 0)
        ::close(FFd); // drops the lock; the file stays for the next holder
}

bool TDirectoryLock::TryLock()
{
    if (FFd >= 0)
        return true;
    const QString path = QDir(FDirectory).filePath(QLatin1String(kFileName));
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        FError = QStringLiteral("Cannot open %1: %2.").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            const QString holder = HolderOf(path);
            FError = QStringLiteral("The directory %1 is already in use by another program%2. "
                                    "Only one monitor or orvand can use a directory at a time.")
                         .arg(FDirectory, holder.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder));
        } else {
            FError = QStringLiteral("Cannot lock %1: %2.").arg(path, QString::fromLocal8Bit(std::strerror(error)));
        }
        return false;
    }
    const QByteArray holder = QStringLiteral("%1, process %2\n").arg(FProgramName).arg(::getpid()).toUtf8();
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, holder.constData(), static_cast<size_t>(holder.size()));
    }
    FFd = fd;
    FError.clear();
    return true;
}
