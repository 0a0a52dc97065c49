// orvand as a program: its options, its one-owner rule on the directory,
// its lines on standard error, and the close sequence and reload that the
// service manager's signals run. The bus is the simulator on a pty.
#include "log/TEventLog.h"
#include "service/TDirectoryLock.h"
#include "support/DaemonProcess.h"
#include "support/EventWait.h"
#include "support/FileBytes.h"
#include "support/NotifySocket.h"
#include "support/RawHttpClient.h"
#include "support/UpsSimProcess.h"

#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <csignal>

#include <gtest/gtest.h>

namespace {

std::vector<TEventRec> LoggedEvents(const DaemonProcess &daemon)
{
    return TEventLog::ReadEventFile(daemon.FilePath(QStringLiteral("Record/EventLog.dat")));
}

// The simulator with these units, orvand polling it with unit 1 listed,
// and unit 1 online.
void StartOnSim(UpsSimProcess &sim, DaemonProcess &daemon, const char *units)
{
    ASSERT_TRUE(sim.Start({"--units", units, "--steady"})) << sim.ErrorText().toStdString();
    daemon.WriteSettings(sim.PortPath());
    daemon.WriteDevices({{1, QStringLiteral("UPS-01")}});
    ASSERT_TRUE(daemon.Start()) << daemon.Output().toStdString();
    ASSERT_TRUE(daemon.WaitForOutput(QStringLiteral("UPS-01 (address 1): Online"))) << daemon.Output().toStdString();
}

} // namespace

TEST(Orvand, HelpVersionAndUnknownOptions)
{
    const struct {
        QStringList arguments;
        int exitCode;
        const char *printed;
    } cases[] = {
        {{"--version"}, 0, "orvand 1.0.0.1"},
        {{"--help"}, 0, "--dir <directory>"},
        {{"--no-such-option"}, 2, "Unknown option 'no-such-option'"},
        {{"--dir"}, 2, "Missing value after '--dir'"},
        {{"stray"}, 2, "unexpected argument"},
    };
    for (const auto &c : cases) {
        const ClientRun run = RunProgram(QStringLiteral(ORVAN_DAEMON_PATH), c.arguments);
        EXPECT_EQ(run.ExitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE((run.Out + run.Err).contains(QLatin1String(c.printed))) << (run.Out + run.Err).toStdString();
    }
}

TEST(Orvand, OneProgramPerDirectory)
{
    DaemonProcess first;
    first.WriteSettings(QStringLiteral("COMX")); // names no port: nothing to poll
    const QByteArray settings = ReadFileBytes(first.FilePath(QStringLiteral("UserParaIni.ini")));
    ASSERT_TRUE(first.Start()) << first.Output().toStdString();

    // A second orvand, and the monitor (which takes the same lock), give up at once.
    const ClientRun second = RunProgram(QStringLiteral(ORVAN_DAEMON_PATH), {QStringLiteral("--dir"), first.DirPath()});
    EXPECT_EQ(second.ExitCode, 1);
    EXPECT_TRUE(second.Err.contains(QStringLiteral("already in use by another program (orvand, process")))
        << second.Err.toStdString();
    TDirectoryLock monitor(first.DirPath(), QStringLiteral("orvan"));
    EXPECT_FALSE(monitor.TryLock());

    // Ctrl-C runs the close sequence; the settings were not changed in
    // memory, so the file stays exactly as the user wrote it.
    first.Signal(SIGINT);
    EXPECT_EQ(first.WaitForExit(), 0) << first.Output().toStdString();
    const std::vector<TEventRec> events = LoggedEvents(first);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Code, kEventSoftwareClosed);
    EXPECT_EQ(ReadFileBytes(first.FilePath(QStringLiteral("UserParaIni.ini"))), settings);
    EXPECT_TRUE(monitor.TryLock()) << "the directory is free again";
}

TEST(Orvand, ReportsEventsAndRunsTheCloseSequenceOnSigterm)
{
    UpsSimProcess sim;
    DaemonProcess daemon;
    ASSERT_NO_FATAL_FAILURE(StartOnSim(sim, daemon, "1"));

    daemon.Signal(SIGTERM);
    EXPECT_EQ(daemon.WaitForExit(), 0);
    const QString output = daemon.Output();
    // One line each, in the order they happened, the events with their own time.
    const char *const expected[] = {
        "orvand 1.0.0.1 starting in", "NUT server listening on 127.0.0.1:", "(address 0): Monitor software is open",
        "port /dev/pts/", "UPS-01 (address 1): Communication upbuilt", "UPS-01 (address 1): Online",
        " closed", "(address 0): Monitor software is closed", "orvand stopped",
    };
    qsizetype at = 0;
    for (const char *line : expected) {
        const qsizetype found = output.indexOf(QLatin1String(line), at);
        ASSERT_GE(found, 0) << "missing after position " << at << ": " << line << "\n" << output.toStdString();
        at = found;
    }
    const std::vector<TEventRec> events = LoggedEvents(daemon);
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events.front().Code, kEventSoftwareOpen);
    EXPECT_EQ(events.back().Code, kEventSoftwareClosed);
}

TEST(Orvand, ServesTheHttpSideWhenTheSettingsEnableIt)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--units", "1", "--steady"})) << sim.ErrorText().toStdString();
    DaemonProcess daemon;
    daemon.WriteSettings(sim.PortPath(), "[Http]\nEnabled=1\nListen=127.0.0.1:0\n");
    daemon.WriteDevices({{1, QStringLiteral("UPS-01")}});
    ASSERT_TRUE(daemon.Start()) << daemon.Output().toStdString();
    ASSERT_TRUE(daemon.WaitForOutput(QStringLiteral("UPS-01 (address 1): Online"))) << daemon.Output().toStdString();

    static const QRegularExpression listening(QStringLiteral("HTTP server listening on 127\\.0\\.0\\.1:(\\d+)"));
    const QRegularExpressionMatch match = listening.match(daemon.Output());
    ASSERT_TRUE(match.hasMatch()) << daemon.Output().toStdString();
    const RawHttpResponse metrics = HttpGet(static_cast<quint16>(match.captured(1).toUInt()), "/metrics");
    EXPECT_EQ(metrics.Status, 200);
    EXPECT_TRUE(metrics.Body.contains("orvan_link_state{address=\"1\",name=\"UPS-01\"} 0")) << metrics.Body.toStdString();
    EXPECT_TRUE(metrics.Body.contains("orvan_port_open 1"));
}

TEST(Orvand, SighupReadsTheEditedDeviceList)
{
    UpsSimProcess sim;
    DaemonProcess daemon;
    ASSERT_NO_FATAL_FAILURE(StartOnSim(sim, daemon, "1,2"));

    daemon.WriteDevices({{1, QStringLiteral("UPS-01")}, {2, QStringLiteral("东区二号")}});
    // NUT 2.8.0's clients drop the bytes of UTF-8 letters; the log keeps them.
    daemon.Signal(SIGHUP);
    ASSERT_TRUE(daemon.WaitForOutput(QStringLiteral("reloaded: 2 devices"))) << daemon.Output().toStdString();
    EXPECT_TRUE(daemon.WaitForOutput(QStringLiteral("东区二号 (address 2): Communication upbuilt")))
        << daemon.Output().toStdString();
    const ClientRun list = RunProgram(QStringLiteral("upsc"), {QStringLiteral("-L"), QStringLiteral("127.0.0.1:%1").arg(daemon.NutPort())});
    EXPECT_TRUE(list.Out.startsWith(QStringLiteral("ups1: UPS-01\nups2: "))) << list.Out.toStdString();
}

TEST(Orvand, TellsTheServiceManagerWhenReadyReloadingAndStoppingAndFeedsTheWatchdog)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--units", "1", "--steady"})) << sim.ErrorText().toStdString();
    QTemporaryDir socketDir;
    NotifySocket manager(QFile::encodeName(socketDir.filePath(QStringLiteral("notify"))));
    ASSERT_TRUE(manager.Bound);
    DaemonProcess daemon;
    daemon.WriteSettings(sim.PortPath());
    daemon.WriteDevices({{1, QStringLiteral("UPS-01")}});
    // What systemd puts into the environment of a Type=notify service with
    // WatchdogSec=0.4s; the program inherits it.
    qputenv("NOTIFY_SOCKET", QFile::encodeName(manager.Name()));
    qputenv("WATCHDOG_USEC", "400000");
    const bool started = daemon.Start();
    qunsetenv("NOTIFY_SOCKET");
    qunsetenv("WATCHDOG_USEC");
    ASSERT_TRUE(started) << daemon.Output().toStdString();

    const QByteArray ready = manager.WaitFor("READY=1");
    EXPECT_TRUE(ready.contains("\nSTATUS=1 devices, port /dev/pts/")) << ready.toStdString();
    // Ready means listening.
    QTcpSocket client;
    client.connectToHost(QStringLiteral("127.0.0.1"), daemon.NutPort());
    EXPECT_TRUE(client.waitForConnected(5000)) << client.errorString().toStdString();
    EXPECT_EQ(manager.WaitFor("WATCHDOG=1"), "WATCHDOG=1") << "fed from the engine's timer";

    daemon.Signal(SIGHUP);
    EXPECT_EQ(manager.WaitFor("RELOADING=1"), "RELOADING=1");
    EXPECT_TRUE(manager.WaitFor("READY=1").startsWith("READY=1")) << "ready again once reloaded";

    daemon.Signal(SIGTERM);
    EXPECT_EQ(manager.WaitFor("STOPPING=1"), "STOPPING=1");
    EXPECT_EQ(daemon.WaitForExit(), 0) << daemon.Output().toStdString();
}
