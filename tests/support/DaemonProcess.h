#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>
#include <vector>

// What a command-line client printed and how it ended.
struct ClientRun {
    int ExitCode = -1; // -1 when it did not start or did not end in time
    QString Out;
    QString Err;
};

// Runs a program to its end, at most timeoutMs, with extra environment
// variables; it is killed when it takes longer.
ClientRun RunProgram(const QString &program, const QStringList &arguments, int timeoutMs = 10000,
                     const QStringList &environment = {});

// orvand as a program in a scratch directory: the test writes the settings,
// the device list and the users file there, starts it and reads what it
// reports on standard error. It is killed when the test ends.
class DaemonProcess
{
public:
    DaemonProcess();
    ~DaemonProcess();
    DaemonProcess(const DaemonProcess &) = delete;
    DaemonProcess &operator=(const DaemonProcess &) = delete;

    QString DirPath() const { return FDir.path(); }
    QString FilePath(const QString &name) const { return FDir.filePath(name); }

    // Settings for a Modbus bus on this port, polled at the pace of the bus
    // with a short read time-out, the NUT server on an ephemeral loopback
    // port, and any extra lines.
    void WriteSettings(const QString &port, const QByteArray &extraIni = {});
    void WriteDevices(const std::vector<std::pair<quint8, QString>> &devices);
    void WriteUsers(const QByteArray &text);

    // Starts orvand --dir on the directory and waits until it has started
    // its services; false when it ended or did not get there in time.
    bool Start(const QStringList &extraArguments = {}, int timeoutMs = 10000);
    // The port the NUT server reported it listens on; 0 before that.
    quint16 NutPort() const { return FNutPort; }
    // "ups1@127.0.0.1:PORT"
    QString Ups(int addr) const;

    // Standard error so far.
    QString Output();
    bool WaitForOutput(const QString &text, int timeoutMs = 20000);

    void Signal(int signalNumber);
    // Waits for the end; the exit code, or -1 when it did not end in time.
    int WaitForExit(int timeoutMs = 20000);

private:
    QTemporaryDir FDir;
    QProcess FProcess;
    QByteArray FOutput;
    quint16 FNutPort = 0;
};
