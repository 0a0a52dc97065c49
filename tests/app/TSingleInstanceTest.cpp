#include "app/TSingleInstance.h"

#include "support/EventWait.h"

#include <QCoreApplication>
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

TEST(TSingleInstance, NameIsPerTitleAndUser)
{
    const QString name = TSingleInstance::ServerName(QStringLiteral("Orvan 2000"));
    EXPECT_TRUE(name.startsWith(QStringLiteral("Orvan 2000-")));
    EXPECT_NE(name, TSingleInstance::ServerName(QStringLiteral("Other")));
}
