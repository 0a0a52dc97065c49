// The monitor as a program: started as a user starts it, ended by a signal.

#include "log/TEventLog.h"
#include "support/EventWait.h"
#include "support/FileBytes.h"
#include "support/RawHttpClient.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A copy of the program in a scratch directory, so that its settings and
// logs land there and not beside the build's own program.
struct MonitorCopy {
    QTemporaryDir Dir;
    QString Program = Dir.filePath(QStringLiteral("orvan"));
    TEventLog Events{Dir.filePath(QStringLiteral("Record")), QStringLiteral("EventLog.dat"),
                     Dir.filePath(QStringLiteral("Backup"))};

    MonitorCopy() { QFile::copy(QStringLiteral(ORVAN_PROGRAM), Program); }

    void Start(QProcess &process) const
    {
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Its single-instance socket and lock of its own, so that a monitor the
        // same user runs elsewhere does not take this start for a second copy.
        const QString runtime = Dir.filePath(QStringLiteral("run"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("TMPDIR"), runtime);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        process.setProcessEnvironment(env);
        process.start(Program, {});
    }

    std::vector<int> EventCodes() const
    {
        std::vector<int> codes;
        for (const TEventRec &rec : Events.ReadAllEvents())
            codes.push_back(rec.Code);
        return codes;
    }
};

} // namespace

TEST(MonitorProcess, SigtermWhileThePortErrorIsShownRunsTheCloseSequence)
{
    MonitorCopy monitor;
    WriteFileBytes(monitor.Dir.filePath(QStringLiteral("UserParaIni.ini")),
                   "[CommPort]\nComName=/dev/orvan-no-such-port\nProtocol=2\n");
    QProcess process;
    monitor.Start(process);
    ASSERT_TRUE(process.waitForStarted(10000));

    // "Monitor software is open" comes just before the port fails; the
    // error box, then the software parameter window, wait for a user.
    ASSERT_TRUE(WaitUntil([&] { return !monitor.EventCodes().empty(); }, 20000));
    QThread::msleep(500);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);

    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(monitor.EventCodes(), (std::vector<int>{20, 21}));
    EXPECT_TRUE(ReadFileBytes(monitor.Dir.filePath(QStringLiteral("UserParaIni.ini"))).contains("[DataLog]"))
        << "the settings were saved";
}

TEST(MonitorProcess, ServesItsHttpSideWhenTheSettingsEnableItEvenWhileThePortErrorIsShown)
{
    MonitorCopy monitor;
    QTcpServer probe; // a free port on 127.0.0.1, given back for the monitor
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    const QString settings = monitor.Dir.filePath(QStringLiteral("UserParaIni.ini"));
    WriteFileBytes(settings, "[CommPort]\nComName=/dev/orvan-no-such-port\nProtocol=2\n"
                             "[Http]\nEnabled=1\nListen=127.0.0.1:" + QByteArray::number(port) + "\n");
    QProcess process;
    monitor.Start(process);
    ASSERT_TRUE(process.waitForStarted(10000));

    RawHttpResponse metrics;
    ASSERT_TRUE(WaitUntil([&] {
        metrics = HttpGet(port, "/metrics");
        return metrics.Status == 200 && !monitor.EventCodes().empty();
    }, 20000));
    EXPECT_TRUE(metrics.Body.contains("\norvan_port_open 0\n")) << metrics.Body.constData();
    EXPECT_TRUE(HttpGet(port, "/api/devices").Body.contains("\"portOpen\":false"));

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    // The monitor saved its settings and left the section it does not own as it was.
    EXPECT_TRUE(ReadFileBytes(settings).contains("[Http]\nEnabled=1\nListen=127.0.0.1:" + QByteArray::number(port)));
}
