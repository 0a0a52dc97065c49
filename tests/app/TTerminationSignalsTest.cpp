#include "app/TTerminationSignals.h"

#include "support/EventWait.h"

#include <csignal>

#include <gtest/gtest.h>

TEST(TTerminationSignals, TermAndIntArriveOnTheMainLoop)
{
    TTerminationSignals signals_;
    ASSERT_TRUE(signals_.IsInstalled());
    std::vector<int> received;
    QObject::connect(&signals_, &TTerminationSignals::terminationRequested,
                     [&](int signalNumber) { received.push_back(signalNumber); });
    std::raise(SIGTERM);
    std::raise(SIGINT);
    // Nothing runs inside the handler itself: the loop delivers the request.
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(WaitUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT}));
}
