#include "log/TRecordFile.h"

#include <QDir>
#include <QFileInfo>

TRecordFile::TRecordFile(QString path, int recordSize)
    : FPath(std::move(path)), FRecordSize(recordSize)
{
}

void TRecordFile::EnsureExists() const
{
    const QString dir = QFileInfo(FPath).absolutePath();
    if (!QDir().mkpath(dir))
        throw ELogFileError(QStringLiteral("Cannot create directory \"%1\".").arg(dir));
    if (QFileInfo::exists(FPath))
        return;
    QFile file(FPath);
    if (!file.open(QIODevice::WriteOnly))
        throw ELogFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(FPath, file.errorString()));
}

qint64 TRecordFile::Count() const
{
    EnsureExists();
    const QFileInfo info(FPath);
    if (info.isDir())
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\".").arg(FPath));
    return info.size() / FRecordSize;
}

bool TRecordFile::Append(const std::uint8_t *record) const
{
    const qint64 at = Count() * FRecordSize;
    QFile file(FPath);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    if (!file.seek(at))
        return false;
    if (file.write(reinterpret_cast<const char *>(record), FRecordSize) != FRecordSize)
        return false;
    return file.flush();
}

void TRecordFile::Truncate() const
{
    QFile file(FPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ELogFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(FPath, file.errorString()));
}
