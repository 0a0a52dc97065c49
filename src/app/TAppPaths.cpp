#include "app/TAppPaths.h"

#include <QDir>

TAppPaths TAppPaths::Beside(const QString &programDir)
{
    const QString dir = QDir(programDir).absolutePath() + QLatin1Char('/');
    return TAppPaths{dir, dir + QStringLiteral("Record/"), dir + QStringLiteral("Backup/"),
                     dir + QStringLiteral("UserParaIni.ini")};
}

void TAppPaths::CreateDirectories() const
{
    QDir().mkpath(RecordDir);
    QDir().mkpath(BackupDir);
}
