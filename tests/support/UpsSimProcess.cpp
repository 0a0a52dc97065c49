#include "support/UpsSimProcess.h"

#include "support/TestPaths.h"

#include <QDeadlineTimer>

#include <csignal>
#include <sys/prctl.h>

UpsSimProcess::~UpsSimProcess()
{
    Stop();
}

bool UpsSimProcess::Start(const QStringList &arguments, int timeoutMs)
{
    m_process.setProgram(ToolPath(QStringLiteral("upssim")));
    m_process.setArguments(arguments);
    m_process.setReadChannel(QProcess::StandardOutput);
    // A test binary that crashes must not leave simulators behind.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("upssim did not start: ") + m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() != QProcess::Running || deadline.hasExpired()) {
            m_error = QStringLiteral("upssim printed no device: ")
                + QString::fromLocal8Bit(m_process.readAllStandardError());
            Stop();
            return false;
        }
        m_process.waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 100)));
    }
    m_portPath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return true;
}

bool UpsSimProcess::Command(const QString &line, int timeoutMs)
{
    m_process.write((line + QLatin1Char('\n')).toLocal8Bit());
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() != QProcess::Running || deadline.hasExpired()) {
            m_error = QStringLiteral("upssim did not confirm: ") + line;
            return false;
        }
        m_process.waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 100)));
    }
    const QString answer = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    m_error = answer;
    return answer == QLatin1String("ok");
}

QByteArray UpsSimProcess::ErrorOutput()
{
    m_errorOutput += m_process.readAllStandardError();
    return m_errorOutput;
}

void UpsSimProcess::Stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
