#include "service/TDirectoryLock.h"

#include <QTemporaryDir>

#include <unistd.h>

#include <gtest/gtest.h>

TEST(TDirectoryLock, OneHolderAtATimeAndTheSecondIsToldWho)
{
    QTemporaryDir dir;
    {
        TDirectoryLock first(dir.path(), QStringLiteral("orvand"));
        ASSERT_TRUE(first.TryLock()) << first.ErrorText().toStdString();
        TDirectoryLock second(dir.path(), QStringLiteral("orvan"));
        EXPECT_FALSE(second.TryLock());
        EXPECT_EQ(second.ErrorText(), QStringLiteral("The directory %1 is already in use by another program "
                                                     "(orvand, process %2). Only one monitor or orvand can use "
                                                     "a directory at a time.")
                                          .arg(dir.path())
                                          .arg(::getpid()));
    }
    // The first holder is gone, and with it the lock.
    TDirectoryLock third(dir.path(), QStringLiteral("orvan"));
    EXPECT_TRUE(third.TryLock());
}

TEST(TDirectoryLock, ADirectoryThatCannotHoldTheFileIsReported)
{
    QTemporaryDir dir;
    TDirectoryLock lock(dir.filePath(QStringLiteral("missing")), QStringLiteral("orvand"));
    EXPECT_FALSE(lock.TryLock());
    EXPECT_TRUE(lock.ErrorText().startsWith(QStringLiteral("Cannot open "))) << lock.ErrorText().toStdString();
}
