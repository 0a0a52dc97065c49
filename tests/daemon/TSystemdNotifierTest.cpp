#include "daemon/TSystemdNotifier.h"

#include "support/NotifySocket.h"

#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct NotifyDir {
    QTemporaryDir Dir;
    NotifySocket Socket{QFile::encodeName(Dir.filePath("notify"))};
};

} // namespace

TEST(TSystemdNotifierTest, ReadyThenTheWatchdogAtHalfItsIntervalThenStopping)
{
    NotifyDir manager;
    ASSERT_TRUE(manager.Socket.Bound);
    TSystemdNotifier notifier(manager.Socket.Name(), 2000000); // WatchdogSec=2
    EXPECT_EQ(notifier.WatchdogFeedMs(), 1000);

    EXPECT_TRUE(notifier.Ready("polling 4 devices on /dev/ttyUSB0"));
    for (const qint64 nowMs : {5000, 5400, 5999, 6000, 6500, 7100, 7101})
        notifier.EngineTicked(nowMs);
    EXPECT_TRUE(notifier.Stopping());

    EXPECT_EQ(manager.Socket.Received(),
              QByteArrayList({"READY=1\nSTATUS=polling 4 devices on /dev/ttyUSB0", "WATCHDOG=1", "WATCHDOG=1",
                              "WATCHDOG=1", "STOPPING=1"}));
}

TEST(TSystemdNotifierTest, AbstractSocketNamesWork)
{
    const QByteArray name = "@orvand-test-" + QByteArray::number(getpid());
    NotifySocket manager(name);
    ASSERT_TRUE(manager.Bound);
    EXPECT_TRUE(TSystemdNotifier(QString::fromLatin1(name), 0).Reloading());
    EXPECT_EQ(manager.Received(), QByteArrayList({"RELOADING=1"}));
}

TEST(TSystemdNotifierTest, WithoutAServiceManagerNothingIsSentAndNothingBreaks)
{
    TSystemdNotifier none(QString(), 0);
    EXPECT_FALSE(none.Enabled());
    EXPECT_FALSE(none.Ready("x"));
    none.EngineTicked(0);

    NotifyDir gone;
    const QString path = gone.Socket.Name() + "-nobody";
    EXPECT_FALSE(TSystemdNotifier(path, 0).Stopping()) << "no socket there";
    EXPECT_FALSE(TSystemdNotifier(QString(200, QLatin1Char('x')), 0).Stopping()) << "name too long for a socket";
}

TEST(TSystemdNotifierTest, EnvironmentGivesSocketAndWatchdogAndIsClearedAfterwards)
{
    struct Case {
        const char *watchdogUsec;
        QByteArray watchdogPid;
        qint64 feedMs;
    };
    const QByteArray ownPid = QByteArray::number(getpid());
    const Case cases[] = {
        {"30000000", {}, 15000},
        {"30000000", ownPid, 15000},
        {"30000000", QByteArray::number(getpid() + 1), 0}, // another process's watchdog
        {"", {}, 0},
        {"soon", {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.watchdogUsec) + " pid " + c.watchdogPid.toStdString());
        qputenv("NOTIFY_SOCKET", "/run/systemd/notify");
        qputenv("WATCHDOG_USEC", c.watchdogUsec);
        if (c.watchdogPid.isEmpty())
            qunsetenv("WATCHDOG_PID");
        else
            qputenv("WATCHDOG_PID", c.watchdogPid);

        const TSystemdNotifier notifier = TSystemdNotifier::FromEnvironment();
        EXPECT_TRUE(notifier.Enabled());
        EXPECT_EQ(notifier.WatchdogFeedMs(), c.feedMs);
        EXPECT_FALSE(qEnvironmentVariableIsSet("NOTIFY_SOCKET"));
        EXPECT_FALSE(qEnvironmentVariableIsSet("WATCHDOG_USEC"));
        EXPECT_FALSE(qEnvironmentVariableIsSet("WATCHDOG_PID"));
    }
    EXPECT_FALSE(TSystemdNotifier::FromEnvironment().Enabled()) << "no NOTIFY_SOCKET: not under a service manager";
}
