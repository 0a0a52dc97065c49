// orvand: the monitor without a window, for a service manager.
#include "app/AppVersion.h"
#include "app/TAppPaths.h"
#include "daemon/TDaemon.h"
#include "daemon/TSystemdNotifier.h"
#include "service/TDirectoryLock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int kExitDirectoryProblem = 1;
constexpr int kExitUsage = 2;

void PrintError(const QString &text)
{
    std::fprintf(stderr, "orvand: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvand"));
    QCoreApplication::setApplicationVersion(GetVersionString());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Monitors the UPS units of one RS485 bus without a window, logs their events to standard "
                       "error and serves them to NUT clients when the settings enable it."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption dirOption(
        QStringLiteral("dir"),
        QStringLiteral("Keeps UserParaIni.ini, upsd.users, Record and Backup in <directory> (created when missing); "
                       "default: the directory of the program, run from its build tree; an installed orvand needs it."),
        QStringLiteral("directory"));
    parser.addOption(dirOption);
    if (!parser.parse(QCoreApplication::arguments())) {
        PrintError(parser.errorText() + QStringLiteral("; see --help"));
        return kExitUsage;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        PrintError(QStringLiteral("unexpected argument \"%1\"; see --help").arg(parser.positionalArguments().first()));
        return kExitUsage;
    }

    // An installed orvand has no directory of its own to fall back on: root
    // could write /usr/sbin, but nothing of ours belongs there.
    if (!parser.isSet(dirOption)
        && TAppPaths::IsInstalledDir(QCoreApplication::applicationDirPath(), TAppPaths::InstallSbinDir())) {
        PrintError(QStringLiteral("give the directory with --dir (the service uses --dir /var/lib/orvan)"));
        return kExitUsage;
    }
    const QString directory = QDir(parser.isSet(dirOption) ? parser.value(dirOption)
                                                           : QCoreApplication::applicationDirPath())
                                  .absolutePath();
    if (!QDir().mkpath(directory) || !QFileInfo(directory).isDir()) {
        PrintError(QStringLiteral("cannot create the directory %1").arg(directory));
        return kExitDirectoryProblem;
    }
    TDirectoryLock lock(directory, QStringLiteral("orvand"));
    if (!lock.TryLock()) {
        PrintError(lock.ErrorText());
        return kExitDirectoryProblem;
    }

    TDaemon daemon(directory, GetVersionString(), TSystemdNotifier::FromEnvironment());
    daemon.Start();
    return app.exec();
}
