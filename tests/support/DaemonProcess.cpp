#include "support/DaemonProcess.h"

#include "support/DeviceListFile.h"
#include "support/EventWait.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <csignal>
#include <sys/prctl.h>

ClientRun RunProgram(const QString &program, const QStringList &arguments, int timeoutMs,
                     const QStringList &environment)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &assignment : environment)
        env.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(program, arguments);
    ClientRun run;
    if (!process.waitForStarted(timeoutMs)) {
        run.Err = process.errorString();
        return run;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.ExitCode = process.exitCode();
    }
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

DaemonProcess::DaemonProcess()
{
    FProcess.setProgram(QStringLiteral(ORVAN_DAEMON_PATH));
    FProcess.setProcessChannelMode(QProcess::MergedChannels);
    FProcess.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

DaemonProcess::~DaemonProcess()
{
    if (FProcess.state() != QProcess::NotRunning) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

void DaemonProcess::WriteSettings(const QString &port, const QByteArray &extraIni)
{
    WriteFileBytes(FilePath(QStringLiteral("UserParaIni.ini")),
              "[CommPort]\nComName=" + port.toUtf8() + "\nProtocol=2\nReadIntervalTimeout=30\n"
              "[CommMast]\nPollMode=1\n"
              "[NutServer]\nEnabled=1\nListen=127.0.0.1:0\n" + extraIni);
}

void DaemonProcess::WriteDevices(const std::vector<std::pair<quint8, QString>> &devices)
{
    WriteDeviceListFile(FilePath(QStringLiteral("Record")), devices);
}

void DaemonProcess::WriteUsers(const QByteArray &text)
{
    WriteFileBytes(FilePath(QStringLiteral("upsd.users")), text);
    QFile::setPermissions(FilePath(QStringLiteral("upsd.users")), QFile::ReadOwner | QFile::WriteOwner);
}

bool DaemonProcess::Start(const QStringList &extraArguments, int timeoutMs)
{
    FProcess.setArguments(QStringList{QStringLiteral("--dir"), FDir.path()} + extraArguments);
    FProcess.start();
    if (!FProcess.waitForStarted(timeoutMs))
        return false;
    if (!WaitForOutput(QStringLiteral("Monitor software is open"), timeoutMs))
        return false;
    static const QRegularExpression listening(QStringLiteral("NUT server listening on 127\\.0\\.0\\.1:(\\d+)"));
    const QRegularExpressionMatch match = listening.match(Output());
    FNutPort = match.hasMatch() ? static_cast<quint16>(match.captured(1).toUInt()) : 0;
    return true;
}

QString DaemonProcess::Ups(int addr) const
{
    return QStringLiteral("ups%1@127.0.0.1:%2").arg(addr).arg(FNutPort);
}

QString DaemonProcess::Output()
{
    FOutput += FProcess.readAll();
    return QString::fromUtf8(FOutput);
}

bool DaemonProcess::WaitForOutput(const QString &text, int timeoutMs)
{
    return WaitUntil([&] { return Output().contains(text) || FProcess.state() == QProcess::NotRunning; }, timeoutMs)
           && Output().contains(text);
}

void DaemonProcess::Signal(int signalNumber)
{
    if (FProcess.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(FProcess.processId()), signalNumber);
}

int DaemonProcess::WaitForExit(int timeoutMs)
{
    if (!WaitUntil([&] { return FProcess.state() == QProcess::NotRunning; }, timeoutMs))
        return -1;
    Output();
    return FProcess.exitStatus() == QProcess::NormalExit ? FProcess.exitCode() : -1;
}
