#include "support/PeerProcess.h"

#include "support/EventWait.h"

#include <QStandardPaths>

bool PeerProcess::Start(const QString &program, const QStringList &arguments)
{
    Kill();
    m_output.clear();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("%1 did not start: %2").arg(program, m_process.errorString());
        return false;
    }
    return true;
}

QString PeerProcess::AwaitOutput(const QRegularExpression &pattern, int timeoutMs)
{
    QRegularExpressionMatch match;
    const bool found = WaitUntil([&] {
        m_output += m_process.readAll();
        match = pattern.match(QString::fromLocal8Bit(m_output));
        return match.hasMatch() || m_process.state() == QProcess::NotRunning;
    }, timeoutMs);
    if (!found || !match.hasMatch()) {
        m_error = QStringLiteral("no \"%1\" from %2; it said: %3")
                      .arg(pattern.pattern(), m_process.program(), QString::fromLocal8Bit(m_output));
        return {};
    }
    return match.lastCapturedIndex() >= 1 ? match.captured(1) : match.captured(0);
}

void PeerProcess::Kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool StartSocatTunnel(PeerProcess &socat, quint16 port, const QString &line)
{
    const QString socatPath = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socatPath.isEmpty())
        return false;
    return socat.Start(socatPath, {QStringLiteral("-d"), QStringLiteral("-d"),
                                   QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr").arg(port),
                                   QStringLiteral("FILE:%1,raw,echo=0").arg(line)})
           && !socat.AwaitOutput(QRegularExpression(QStringLiteral("listening on"))).isEmpty();
}
