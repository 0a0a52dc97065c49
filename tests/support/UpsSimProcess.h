#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the bus simulator for a test: starts build/tools/upssim/upssim with
// the given arguments, reads the device path it prints first, and kills it
// when the test is done.
class UpsSimProcess
{
public:
    UpsSimProcess() = default;
    ~UpsSimProcess();
    UpsSimProcess(const UpsSimProcess &) = delete;
    UpsSimProcess &operator=(const UpsSimProcess &) = delete;

    // Returns false, with ErrorText() saying why, when the simulator does
    // not start or prints no device within the time-out.
    bool Start(const QStringList &arguments, int timeoutMs = 10000);
    void Stop();
    // Sends one settings line ("[UNIT:]KEY=VALUE,...") to a simulator started
    // with --commands and returns once the simulator has applied it; false,
    // with ErrorText() saying why, when it refuses the line or does not answer.
    bool Command(const QString &line, int timeoutMs = 5000);

    // The device to open as the monitor's port, e.g. /dev/pts/7.
    QString PortPath() const { return m_portPath; }
    // What the simulator has printed on standard error so far: with
    // --verbose, every frame it received and sent.
    QByteArray ErrorOutput();
    QString ErrorText() const { return m_error; }

private:
    QProcess m_process;
    QString m_portPath;
    QString m_error;
    QByteArray m_errorOutput;
};
