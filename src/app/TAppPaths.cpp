#include "app/TAppPaths.h"

#include "InstallDirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kSettingsFileName = QStringLiteral("UserParaIni.ini");
const QString kPerUserDirName = QStringLiteral("orvan");

QString WithSlash(const QString &dir)
{
    return QDir(dir).absolutePath() + QLatin1Char('/');
}

bool SameDirectory(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

TAppPaths TAppPaths::Beside(const QString &programDir)
{
    const QString dir = WithSlash(programDir);
    return TAppPaths{dir, dir + QStringLiteral("Record/"), dir + QStringLiteral("Backup/"), dir + kSettingsFileName};
}

TAppPaths TAppPaths::PerUser(const QString &programDir, const QString &configHome, const QString &dataHome)
{
    const QString data = WithSlash(dataHome) + kPerUserDirName + QLatin1Char('/');
    return TAppPaths{WithSlash(programDir), data + QStringLiteral("Record/"), data + QStringLiteral("Backup/"),
                     WithSlash(configHome) + kPerUserDirName + QLatin1Char('/') + kSettingsFileName};
}

TAppPaths TAppPaths::ForProgram(const QString &programDir, const QString &installDir, const QString &configHome,
                                const QString &dataHome)
{
    return IsInstalledDir(programDir, installDir) ? PerUser(programDir, configHome, dataHome) : Beside(programDir);
}

TAppPaths TAppPaths::ForThisProgram()
{
    return ForProgram(QCoreApplication::applicationDirPath(), InstallBinDir(), XdgConfigHome(), XdgDataHome());
}

bool TAppPaths::IsInstalledDir(const QString &programDir, const QString &installDir)
{
    return !QFileInfo(programDir).isWritable() || SameDirectory(programDir, installDir);
}

QString TAppPaths::InstallBinDir()
{
    return QStringLiteral(ORVAN_INSTALL_BINDIR);
}

QString TAppPaths::InstallSbinDir()
{
    return QStringLiteral(ORVAN_INSTALL_SBINDIR);
}

QString TAppPaths::XdgBaseDir(const QString &value, const QString &homeDir, const QString &underHome)
{
    if (QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(homeDir + QLatin1Char('/') + underHome);
}

QString TAppPaths::XdgConfigHome()
{
    return XdgBaseDir(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath(), QStringLiteral(".config"));
}

QString TAppPaths::XdgDataHome()
{
    return XdgBaseDir(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath(), QStringLiteral(".local/share"));
}

QString TAppPaths::DataDir() const
{
    return QFileInfo(QDir::cleanPath(RecordDir)).path();
}

void TAppPaths::CreateDirectories() const
{
    QDir().mkpath(RecordDir);
    QDir().mkpath(BackupDir);
    QDir().mkpath(QFileInfo(SettingsFile).absolutePath());
}
