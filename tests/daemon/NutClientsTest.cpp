// The NUT server of orvand as the field's own clients see it: Debian's
// nut-client (upsc, upscmd, upsmon) against orvand on loopback, polling the
// simulator on a pty.
#include "support/DaemonProcess.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const QString kUpsmon = QStringLiteral("/lib/nut/upsmon");

class NutClientsOnSim : public ::testing::Test
{
protected:
    UpsSimProcess Sim;
    DaemonProcess Daemon;

    void Start(const QStringList &simArguments, const std::vector<std::pair<quint8, QString>> &devices,
               const QByteArray &users = {}, const QByteArray &extraIni = {})
    {
        ASSERT_TRUE(RunProgram(QStringLiteral("upsc"), {QStringLiteral("-h")}).ExitCode >= 0)
            << "upsc is missing: scripts/deps.sh installs nut-client";
        ASSERT_TRUE(Sim.Start(QStringList{"--steady"} + simArguments)) << Sim.ErrorText().toStdString();
        Daemon.WriteSettings(Sim.PortPath(), extraIni);
        Daemon.WriteDevices(devices);
        if (!users.isEmpty())
            Daemon.WriteUsers(users);
        ASSERT_TRUE(Daemon.Start()) << Daemon.Output().toStdString();
        ASSERT_NE(Daemon.NutPort(), 0) << Daemon.Output().toStdString();
    }

    ClientRun Upsc(const QStringList &arguments) { return RunProgram(QStringLiteral("upsc"), arguments); }

    QString Status(int addr) { return Upsc({Daemon.Ups(addr), QStringLiteral("ups.status")}).Out.trimmed(); }

    // Asks every 200 ms, so a slow machine does not spawn clients in a loop.
    bool WaitForStatus(int addr, const QString &flag, int timeoutMs = 30000)
    {
        QElapsedTimer spacing;
        return WaitUntil(
            [&] {
                if (spacing.isValid() && spacing.elapsed() < 200)
                    return false;
                spacing.start();
                return Status(addr).split(QLatin1Char(' ')).contains(flag);
            },
            timeoutMs);
    }

    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(Daemon.NutPort()); }
};

QMap<QString, QString> Variables(const QString &upscOutput)
{
    QMap<QString, QString> out;
    for (const QString &line : upscOutput.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out.insert(line.section(QStringLiteral(": "), 0, 0), line.section(QStringLiteral(": "), 1));
    return out;
}

QString CurrentUser()
{
    const passwd *entry = ::getpwuid(::getuid());
    return entry != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QStringLiteral("root");
}

} // namespace

TEST_F(NutClientsOnSim, UpscListsTheBusAndShowsAUnit)
{
    // Unit 3 is listed but does not answer. (The names are plain ASCII: the
    // parser of NUT 2.8.0's clients drops every byte above 127, so a UTF-8
    // name reaches them without its non-ASCII letters.)
    Start({"--units", "1,2"}, {{1, QStringLiteral("UPS-01")}, {2, QStringLiteral("East 2")}, {3, QStringLiteral("Spare")}});
    ASSERT_TRUE(WaitForStatus(1, QStringLiteral("OL"))) << Daemon.Output().toStdString();
    ASSERT_TRUE(WaitForStatus(2, QStringLiteral("OL")));

    EXPECT_EQ(Upsc({QStringLiteral("-l"), Host()}).Out, QStringLiteral("ups1\nups2\nups3\n"));
    EXPECT_EQ(Upsc({QStringLiteral("-L"), Host()}).Out, QStringLiteral("ups1: UPS-01\nups2: East 2\nups3: Spare\n"));

    const ClientRun all = Upsc({Daemon.Ups(1)});
    ASSERT_EQ(all.ExitCode, 0) << all.Err.toStdString();
    const QMap<QString, QString> values = Variables(all.Out);
    const std::pair<const char *, const char *> expected[] = {
        {"device.type", "ups"},           {"device.description", "UPS-01"}, {"ups.id", "1"},
        {"ups.status", "OL"},             {"input.voltage", "220.0"},       {"input.L3-N.voltage", "220.0"},
        {"output.voltage", "220.0"},      {"output.frequency", "50.0"},     {"ups.load", "40"},
        {"ups.L2.load", "40"},            {"battery.charge", "100"},        {"battery.runtime.low", "300"},
        {"driver.name", "orvan"},         {"driver.version", "1.0.0.1"},   {"driver.parameter.protocol", "modbus-rtu"},
    };
    for (const auto &[name, value] : expected)
        EXPECT_EQ(values.value(QLatin1String(name)), QLatin1String(value)) << name << "\n" << all.Out.toStdString();
    EXPECT_GT(values.value(QStringLiteral("battery.runtime")).toInt(), 0);
    EXPECT_EQ(Variables(Upsc({Daemon.Ups(2)}).Out).value(QStringLiteral("device.description")), QStringLiteral("East 2"));

    const ClientRun stale = Upsc({Daemon.Ups(3)});
    EXPECT_NE(stale.ExitCode, 0);
    EXPECT_TRUE(stale.Err.contains(QStringLiteral("Data stale"))) << stale.Err.toStdString();
    const ClientRun unknown = Upsc({QStringLiteral("ups9@") + Host()});
    EXPECT_TRUE(unknown.Err.contains(QStringLiteral("Unknown UPS"))) << unknown.Err.toStdString();
}

TEST_F(NutClientsOnSim, UpscmdStartsABatteryTestOnlyWithTheRightPassword)
{
    Start({"--units", "1", "--verbose"}, {{1, QStringLiteral("UPS-01")}},
          "[admin]\n  password = \"s3cret\"\n  instcmds = test.battery.start\n");
    ASSERT_TRUE(WaitForStatus(1, QStringLiteral("OL")));
    const auto upscmd = [&](const char *password) {
        return RunProgram(QStringLiteral("upscmd"), {QStringLiteral("-u"), QStringLiteral("admin"), QStringLiteral("-p"),
                                                     QLatin1String(password), Daemon.Ups(1),
                                                     QStringLiteral("test.battery.start"), QStringLiteral("30")});
    };
    // Register 20003 (0x4E22) written with 30 seconds, as the battery test window writes it.
    const QByteArray testWrite = QByteArrayLiteral("RX 01 06 4E 22 00 1E");

    const ClientRun refused = upscmd("wrong");
    EXPECT_NE(refused.ExitCode, 0);
    EXPECT_TRUE(refused.Err.contains(QStringLiteral("ERR ACCESS-DENIED"))) << refused.Err.toStdString();
    // The poll goes on for a few rounds and no write goes out.
    const int pollsBefore = static_cast<int>(Sim.ErrorOutput().count("RX 01 04"));
    ASSERT_TRUE(WaitUntil([&] { return Sim.ErrorOutput().count("RX 01 04") >= pollsBefore + 8; }, 20000));
    EXPECT_FALSE(Sim.ErrorOutput().contains("RX 01 06"));

    const ClientRun accepted = upscmd("s3cret");
    EXPECT_EQ(accepted.ExitCode, 0) << accepted.Err.toStdString();
    EXPECT_TRUE(accepted.Err.contains(QStringLiteral("OK"))) << accepted.Err.toStdString();
    EXPECT_TRUE(WaitUntil([&] { return Sim.ErrorOutput().contains(testWrite); }, 20000));
    EXPECT_TRUE(WaitForStatus(1, QStringLiteral("CAL"))) << Status(1).toStdString();
    EXPECT_TRUE(Daemon.Output().contains(QStringLiteral("admin@127.0.0.1 queued test.battery.start 30 for ups1")));
    EXPECT_FALSE(Daemon.Output().contains(QStringLiteral("s3cret")));
}

TEST_F(NutClientsOnSim, UpsmonPrimaryShutsDownWhenTheBatteryRunsLow)
{
    ASSERT_TRUE(QFileInfo::exists(kUpsmon)) << "scripts/deps.sh installs nut-client";
    // A battery a quarter full that drains a hundred times faster than
    // real; it reaches its 10 minute pre-alarm within seconds.
    Start({"--units", "1", "--commands", "--speed", "100", "--set", "1:capacity=25,40022=10"},
          {{1, QStringLiteral("UPS-01")}}, "[monuser]\n  password = monpass\n  upsmon primary\n");
    ASSERT_TRUE(WaitForStatus(1, QStringLiteral("OL")));

    QTemporaryDir nut;
    const QString flagFile = nut.filePath(QStringLiteral("shutdown-ran"));
    const QString script = nut.filePath(QStringLiteral("shutdown.sh"));
    QFile scriptFile(script);
    ASSERT_TRUE(scriptFile.open(QIODevice::WriteOnly));
    scriptFile.write("#!/bin/sh\ntouch '" + flagFile.toUtf8() + "'\n");
    scriptFile.close();
    scriptFile.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QByteArray config = "RUN_AS_USER " + CurrentUser().toUtf8() + "\n"
                        "MONITOR " + Daemon.Ups(1).toUtf8() + " 1 monuser monpass primary\n"
                        "MINSUPPLIES 1\nSHUTDOWNCMD \"" + script.toUtf8() + "\"\n"
                        "POLLFREQ 1\nPOLLFREQALERT 1\nHOSTSYNC 2\nDEADTIME 15\nFINALDELAY 0\n"
                        "POWERDOWNFLAG " + nut.filePath(QStringLiteral("killpower")).toUtf8() + "\n";
    // Nothing on the terminals of the machine's users.
    for (const char *type : {"ONLINE", "ONBATT", "LOWBATT", "FSD", "COMMOK", "COMMBAD", "SHUTDOWN", "REPLBATT", "NOCOMM", "NOPARENT"})
        config += QByteArray("NOTIFYFLAG ") + type + " SYSLOG\n";
    QFile configFile(nut.filePath(QStringLiteral("upsmon.conf")));
    ASSERT_TRUE(configFile.open(QIODevice::WriteOnly));
    configFile.write(config);
    configFile.close();
    configFile.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    QProcess upsmon;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"NUT_CONFPATH", "NUT_STATEPATH", "NUT_PIDPATH", "NUT_ALTPIDPATH"})
        environment.insert(QLatin1String(name), nut.path());
    upsmon.setProcessEnvironment(environment);
    upsmon.setProcessChannelMode(QProcess::MergedChannels);
    upsmon.start(kUpsmon, {QStringLiteral("-D"), QStringLiteral("-p")});
    ASSERT_TRUE(upsmon.waitForStarted(5000));
    QByteArray upsmonOutput;
    const auto upsmonSays = [&](const char *text) {
        return WaitUntil([&] {
            upsmonOutput += upsmon.readAll();
            return upsmonOutput.contains(text);
        }, 60000);
    };
    ASSERT_TRUE(Daemon.WaitForOutput(QStringLiteral("monuser@127.0.0.1 logged in to ups1"))) << Daemon.Output().toStdString();

    ASSERT_TRUE(Sim.Command(QStringLiteral("1:mains=0"))) << Sim.ErrorText().toStdString();
    EXPECT_TRUE(upsmonSays("on battery")) << upsmonOutput.toStdString();
    EXPECT_TRUE(upsmonSays("battery is low")) << upsmonOutput.toStdString();
    EXPECT_TRUE(WaitUntil([&] { return QFileInfo::exists(flagFile); }, 30000)) << upsmonOutput.toStdString();
    EXPECT_LT(upsmonOutput.indexOf("on battery"), upsmonOutput.indexOf("battery is low"));
    EXPECT_TRUE(Daemon.Output().contains(QStringLiteral("monuser@127.0.0.1 set forced shutdown (FSD) on ups1")));
    upsmon.kill();
    upsmon.waitForFinished(5000);
}
