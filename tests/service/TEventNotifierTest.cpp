// The notification command run for real: a small shell script started
// without a shell in between, its environment, the cap on runs at once, the
// time limit and the one report per failure.
#include "service/TEventNotifier.h"

#include "support/EventWait.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class NotifierFixture : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QStringList Logged;
    TEventNotifier Notifier{[this](const QString &line) { Logged << line; }};

    QString Script(const char *name, const QByteArray &body)
    {
        const QString path = Dir.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    static TEventDescription Event(int code, const QString &name = QStringLiteral("UPS-01"))
    {
        return TEventDescription{QStringLiteral("alarm"), QString::number(code), QStringLiteral("Overload"),
                                 QStringLiteral("3"), name, QStringLiteral("2026-03-01 12:00:00")};
    }

    bool WaitUntilIdle(int timeoutMs = 20000)
    {
        return WaitUntil([&] { return Notifier.Running() == 0 && Notifier.Waiting() == 0; }, timeoutMs);
    }
};

} // namespace

TEST_F(NotifierFixture, RunsTheCommandWithTheEventInItsEnvironment)
{
    const QString out = Dir.filePath(QStringLiteral("env.txt"));
    // Arguments are split as a shell would, but no shell parses them:
    // the quoted one arrives as one word and $HOME stays as written.
    Notifier.Configure(Script("notify", "env | grep ^ORVAN_ | sort > \"$1\"; echo \"$2\" >> \"$1\"\n") + " \""
                           + out + "\" \"$HOME and more\"",
                       30);
    Notifier.Notify(Event(51, QStringLiteral("东区 1")));
    EXPECT_EQ(Notifier.Running(), 0) << "runs start from the event loop, not inside the caller";
    ASSERT_TRUE(WaitUntilIdle());
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), QStringLiteral("ORVAN_ADDRESS=3\n"
                                                                "ORVAN_EVENT_CODE=51\n"
                                                                "ORVAN_EVENT_KIND=alarm\n"
                                                                "ORVAN_EVENT_TEXT=Overload\n"
                                                                "ORVAN_NAME=东区 1\n"
                                                                "ORVAN_TIME=2026-03-01 12:00:00\n"
                                                                "$HOME and more\n"));
    EXPECT_TRUE(Logged.isEmpty()) << Logged.join('\n').toStdString();
}

TEST_F(NotifierFixture, AFewRunAtOnceAndARunThatTakesTooLongIsStopped)
{
    Notifier.Configure(Script("slow", "exec sleep 30\n"), 1);
    for (int code = 0; code < 10; ++code)
        Notifier.Notify(Event(code));
    ASSERT_TRUE(WaitUntil([&] { return Notifier.Running() > 0; }));
    EXPECT_EQ(Notifier.Running(), TEventNotifier::kMaxRunning);
    EXPECT_EQ(Notifier.Waiting(), 10 - TEventNotifier::kMaxRunning);
    EXPECT_TRUE(WaitUntilIdle(30000));
    EXPECT_EQ(Logged, QStringList{QStringLiteral("notification command \"%1\" ran longer than 1 s and was stopped")
                                      .arg(Dir.filePath(QStringLiteral("slow")))});
}

TEST_F(NotifierFixture, AFailingCommandIsReportedOnceNotPerEvent)
{
    const struct {
        QString command;
        QString report;
    } cases[] = {
        {Dir.filePath(QStringLiteral("missing")), QStringLiteral("cannot be run")},
        {Script("fails", "exit 3\n"), QStringLiteral("ended with status 3")},
    };
    for (const auto &c : cases) {
        Logged.clear();
        Notifier.Configure(c.command, 30);
        for (int code = 0; code < 12; ++code)
            Notifier.Notify(Event(code));
        ASSERT_TRUE(WaitUntilIdle()) << c.command.toStdString();
        ASSERT_EQ(Logged.size(), 1) << Logged.join('\n').toStdString();
        EXPECT_TRUE(Logged.first().contains(c.report)) << Logged.first().toStdString();
    }
}

TEST_F(NotifierFixture, TheEndOfTheProgramWaitsForTheLastNotifications)
{
    const QString out = Dir.filePath(QStringLiteral("codes.txt"));
    Notifier.Configure(Script("append", "echo \"$ORVAN_EVENT_CODE\" >> \"$1\"\n") + " " + out, 30);
    for (int code = 0; code < 6; ++code)
        Notifier.Notify(Event(code));
    Notifier.Finish(20000);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList codes = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    codes.sort();
    EXPECT_EQ(codes, (QStringList{"0", "1", "2", "3", "4", "5"}));
}
