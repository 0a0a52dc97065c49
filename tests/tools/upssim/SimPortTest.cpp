#include "SimPort.h"

#include <gtest/gtest.h>

namespace {

struct NobodyAnswers : SimSlave {
    SimReply Answer(QByteArrayView) override { return {}; }
};

TEST(SimPort, RepliesAreDueWhenARealLineWouldHaveCarriedThem)
{
    const struct {
        int baud, turnaroundMs, requestBytes, replyBytes, delayMs;
        qint64 dueAfterMs; // counted from the request's first byte
    } rows[] = {
        {9600, 5, 8, 33, 0, 43 + 5},      // 41 characters of 10 bits: 42.7 ms
        {9600, 0, 18, 64, 0, 86},         // 85.4 ms, rounded up
        {2400, 5, 8, 61, 300, 288 + 5 + 300},
        {19200, 5, 8, 0, 0, 5 + 5},
        {0, 5, 8, 33, 0, 5},              // no baud rate: no wire time
    };
    NobodyAnswers slave;
    SimPort port(slave, 5);
    for (const auto &row : rows) {
        port.SetLineTiming(row.baud, row.turnaroundMs);
        EXPECT_EQ(port.ReplyDueMs(1000, row.requestBytes, row.replyBytes, row.delayMs), 1000 + row.dueAfterMs)
            << row.baud << " baud, " << row.requestBytes << " + " << row.replyBytes << " bytes";
    }
}

} // namespace
