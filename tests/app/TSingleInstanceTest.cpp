#include "app/TSingleInstance.h"

#include "support/EventWait.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

QString UniqueName()
{
    return QStringLiteral("orvan-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

TEST(TSingleInstance, SecondStartActivatesTheFirst)
{
    const QString name = UniqueName();
    TSingleInstance first(name);
    EXPECT_FALSE(first.ActivateRunning(200)); // nobody runs yet
    ASSERT_TRUE(first.Listen());
    int activations = 0;
    QObject::connect(&first, &TSingleInstance::activationRequested, [&] { ++activations; });

    TSingleInstance second(name);
    EXPECT_TRUE(second.ActivateRunning());
    EXPECT_TRUE(WaitUntil([&] { return activations == 1; }));
}

TEST(TSingleInstance, OnlyOneOfTwoCopiesStartingTogetherRuns)
{
    const QString name = UniqueName();
    TSingleInstance first(name);
    TSingleInstance second(name);
    ASSERT_TRUE(first.Claim());
    int activations = 0;
    QObject::connect(&first, &TSingleInstance::activationRequested, [&] { ++activations; });
    EXPECT_FALSE(second.Claim(300));
    EXPECT_TRUE(WaitUntil([&] { return activations == 1; }));

    // A copy that holds the lock but does not listen yet still wins: the
    // later one neither runs nor takes its socket away.
    const QString starting = UniqueName();
    TSingleInstance owner(starting);
    ASSERT_TRUE(owner.Claim());
    QLocalServer::removeServer(starting); // as if it had not begun listening
    TSingleInstance late(starting);
    EXPECT_FALSE(late.Claim(300));
}

TEST(TSingleInstance, NameIsPerTitleAndUser)
{
    const QString name = TSingleInstance::ServerName(QStringLiteral("Orvan 2000"));
    EXPECT_TRUE(name.startsWith(QStringLiteral("Orvan 2000-")));
    EXPECT_NE(name, TSingleInstance::ServerName(QStringLiteral("Other")));
}
