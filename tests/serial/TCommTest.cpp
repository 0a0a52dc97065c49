#include "serial/TComm.h"

#include "serial/ECommsError.h"
#include "support/EventWait.h"
#include "support/PtyPair.h"

#include <gtest/gtest.h>

#include <QTemporaryFile>

#include <termios.h>

namespace {

std::string OpenErrorOf(TComm &comm)
{
    try {
        comm.Open();
    } catch (const ECommsError &error) {
        return error.what();
    }
    return "(opened)";
}

QByteArray Joined(const QList<QByteArray> &blocks)
{
    QByteArray all;
    for (const QByteArray &block : blocks)
        all += block;
    return all;
}

QByteArray Pattern(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 3);
    return bytes;
}

// Block cutting without a line: the clock is given with the bytes.
class TCommBlocks : public ::testing::Test
{
protected:
    TCommBlocks()
    {
        comm.SetReadIntervalTimeout(50);
        QObject::connect(&comm, &TComm::OnReceiveData, [this](const QByteArray &block, qint64 startedMs) {
            blocks << block;
            starts << startedMs;
        });
        QObject::connect(&comm, &TComm::OnReceiveStarted, [this] { ++blocksStarted; });
    }

    TComm comm;
    QList<QByteArray> blocks;
    QList<qint64> starts;
    int blocksStarted = 0;
};

// Frames of the owner in the frame-end tests: up to and including ";", or
// nothing known of a block that begins with "!".
int SemicolonFrameEnd(QByteArrayView block)
{
    if (block.startsWith('!'))
        return -1;
    const qsizetype end = block.indexOf(';');
    return end < 0 ? 0 : static_cast<int>(end + 1);
}

// A TComm on one side of a pseudo-terminal, the test on the other.
class TCommOnPty : public ::testing::Test
{
protected:
    TCommOnPty()
    {
        comm.SetCommName(pty.SlavePath());
        comm.SetReadIntervalTimeout(30);
        QObject::connect(&comm, &TComm::OnReceiveData, [this](const QByteArray &block) { blocks << block; });
        QObject::connect(&comm, &TComm::OnRequestHangup, [this] { ++hangups; });
    }

    bool WaitForBlocks(int count)
    {
        return WaitUntil([&] { return blocks.size() >= count; });
    }

    PtyPair pty;
    TComm comm;
    QList<QByteArray> blocks;
    int hangups = 0;
};

} // namespace

TEST_F(TCommBlocks, SilenceOfTheTimeoutEndsABlock)
{
    const struct { qint64 secondAt; QList<QByteArray> blocksBeforeEnd; } rows[] = {
        {10, {}},                  // within the time-out: one block, ended by the timer
        {49, {}},
        {50, {"ab"}},              // a gap as long as the time-out ends the block
        {400, {"ab"}},
    };
    for (const auto &row : rows) {
        blocks.clear();
        comm.TakeReceivedBytes("ab", 1000);
        comm.TakeReceivedBytes("cd", 1000 + row.secondAt);
        EXPECT_EQ(blocks, row.blocksBeforeEnd) << "gap " << row.secondAt;
        comm.EndReceivedBlock();
        EXPECT_EQ(Joined(blocks), QByteArray("abcd")) << "gap " << row.secondAt;
    }
}

TEST_F(TCommBlocks, BlocksAreCutAt2048Bytes)
{
    const struct { qsizetype size; QList<qsizetype> sizes; } rows[] = {
        {2047, {2047}}, {2048, {2048}}, {2049, {2048, 1}}, {5000, {2048, 2048, 904}},
    };
    for (const auto &row : rows) {
        blocks.clear();
        const QByteArray bytes = Pattern(row.size);
        comm.TakeReceivedBytes(bytes.left(1000), 0);
        comm.TakeReceivedBytes(bytes.mid(1000), 1);
        comm.EndReceivedBlock();
        QList<qsizetype> sizes;
        for (const QByteArray &block : blocks)
            sizes << block.size();
        EXPECT_EQ(sizes, row.sizes) << row.size;
        EXPECT_EQ(Joined(blocks), bytes);
    }
}

TEST_F(TCommBlocks, EndingWithNothingPendingDeliversNothing)
{
    comm.EndReceivedBlock();
    comm.TakeReceivedBytes(Pattern(2048), 0);
    comm.EndReceivedBlock();
    EXPECT_EQ(blocks.size(), 1);
}

TEST_F(TCommBlocks, CompleteFramesLeaveAtOnceAndOnlyTheRestWaitsForSilence)
{
    const struct {
        QList<QByteArray> reads;
        QList<QByteArray> atOnce;
        QList<QByteArray> afterSilence;
    } rows[] = {
        {{"ab;"}, {"ab;"}, {}},
        {{"a", "b", ";"}, {"ab;"}, {}},
        {{"ab;cd;"}, {"ab;", "cd;"}, {}},  // two frames run together
        {{"ab;x", "y"}, {"ab;"}, {"xy"}},  // a frame, then the start of another
        {{"!b"}, {}, {"!b"}},              // no frame of the owner's: the silence ends it
        {{"!!", "ab;"}, {"!!", "ab;"}, {}}, // garbage, then a frame: each a block, at once
        {{"!b!c"}, {}, {"!b!c"}},
        {{"half"}, {}, {"half"}},
    };
    comm.SetFrameEnd(SemicolonFrameEnd);
    for (const auto &row : rows) {
        blocks.clear();
        qint64 now = 1000;
        for (const QByteArray &read : row.reads)
            comm.TakeReceivedBytes(read, now++);
        EXPECT_EQ(blocks, row.atOnce) << row.reads.join('|').constData();
        comm.EndReceivedBlock();
        EXPECT_EQ(blocks, row.atOnce + row.afterSilence) << row.reads.join('|').constData();
    }
}

TEST_F(TCommBlocks, EachBlockCarriesTheTimeItsFirstByteArrived)
{
    comm.SetFrameEnd(SemicolonFrameEnd);
    comm.TakeReceivedBytes("ab", 100);
    comm.TakeReceivedBytes("c;xy", 130); // a frame, and the next block begins in the same read
    comm.TakeReceivedBytes("z", 140);
    comm.EndReceivedBlock();
    comm.SetFrameEnd(nullptr);
    comm.TakeReceivedBytes("no;", 300); // without frame ends only the silence counts
    comm.TakeReceivedBytes("more", 320);
    comm.EndReceivedBlock();
    EXPECT_EQ(blocks, (QList<QByteArray>{"abc;", "xyz", "no;more"}));
    EXPECT_EQ(starts, (QList<qint64>{100, 130, 300}));
    EXPECT_EQ(blocksStarted, 3);
}

TEST_F(TCommOnPty, TwoBurstsSeparatedBySilenceArriveAsTwoBlocks)
{
    comm.Open();
    ASSERT_TRUE(pty.WriteToMaster("~11012A41"));
    ASSERT_TRUE(WaitForBlocks(1));
    ASSERT_TRUE(pty.WriteToMaster("0000FDA5\r"));
    ASSERT_TRUE(WaitForBlocks(2));
    EXPECT_EQ(blocks, (QList<QByteArray> {"~11012A41", "0000FDA5\r"}));
}

TEST_F(TCommOnPty, OneBurstArrivesAsOneBlock)
{
    comm.Open();
    // Both parts are on the line before the event loop gets to read either.
    ASSERT_TRUE(pty.WriteToMaster("~31012A42"));
    ASSERT_TRUE(pty.WriteToMaster("0000FDA2\r"));
    ASSERT_TRUE(WaitForBlocks(1));
    EXPECT_EQ(blocks, (QList<QByteArray> {"~31012A420000FDA2\r"}));
}

TEST_F(TCommOnPty, ALongBurstIsCutAt2048Bytes)
{
    comm.Open();
    const QByteArray bytes = Pattern(3000);
    ASSERT_TRUE(pty.WriteToMaster(bytes));
    ASSERT_TRUE(WaitUntil([&] { return Joined(blocks).size() >= bytes.size(); }));
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[0].size(), 2048);
    EXPECT_EQ(Joined(blocks), bytes);
}

TEST_F(TCommOnPty, SentBytesArriveOnTheOtherSide)
{
    int emptied = 0;
    QObject::connect(&comm, &TComm::OnSendDataEmpty, [&] { ++emptied; });
    comm.Open();
    QByteArray frame("\x01\x03\x00\x00\x00\x0A\xC5\xCD", 8);
    ASSERT_TRUE(comm.SendData(frame));
    frame[0] = 'X';  // the component sends its own copy
    QByteArray received;
    ASSERT_TRUE(WaitUntil([&] {
        received += pty.ReadAvailableFromMaster();
        return received.size() >= 8 && emptied > 0;
    }));
    EXPECT_EQ(received, QByteArray("\x01\x03\x00\x00\x00\x0A\xC5\xCD", 8));
}

TEST_F(TCommOnPty, NothingIsSentFromAClosedPortOrForNoBytes)
{
    EXPECT_FALSE(comm.SendData("abc"));
    comm.Open();
    EXPECT_FALSE(comm.SendData(QByteArrayView()));
    comm.Close();
    EXPECT_FALSE(comm.SendData("abc"));
    comm.Close();  // closing twice is harmless
    EXPECT_FALSE(comm.IsOpen());
}

TEST_F(TCommOnPty, LineSettingsAreAppliedAndReappliedWhileOpen)
{
    comm.SetBaudRate(19200);
    comm.SetStopBits(TStopBits::_2);
    comm.Open();
    termios line {};
    ASSERT_EQ(tcgetattr(pty.SlaveFd(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B19200));
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(line.c_cflag & PARENB);
    EXPECT_TRUE(line.c_cflag & CSTOPB);
    EXPECT_FALSE(line.c_iflag & (IXON | IXOFF));

    comm.SetStopBits(TStopBits::_1);
    comm.SetBaudRate(9600);
    ASSERT_EQ(tcgetattr(pty.SlaveFd(), &line), 0);
    EXPECT_FALSE(line.c_cflag & CSTOPB);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B9600));
}

TEST_F(TCommOnPty, OpenFailuresRaiseTheirMessagesAndLeaveThePortClosed)
{
    QTemporaryFile plainFile;
    ASSERT_TRUE(plainFile.open());
    const struct { QString name; const char *message; } rows[] = {
        {QStringLiteral("/dev/no-such-serial-port"), "Error opening serial port"},
        {QStringLiteral("COM250"), "Error opening serial port"},
        {plainFile.fileName(), "File handle is not a comm handle "},
        {QStringLiteral("/dev/null"), "File handle is not a comm handle "},
    };
    for (const auto &row : rows) {
        TComm other;
        other.SetCommName(row.name);
        EXPECT_EQ(OpenErrorOf(other), row.message) << row.name.toStdString();
        EXPECT_FALSE(other.IsOpen());
    }
}

TEST_F(TCommOnPty, APortIsOpenedOnlyOnce)
{
    comm.Open();
    EXPECT_EQ(OpenErrorOf(comm), "This serial port already opened");

    TComm second;
    second.SetCommName(pty.SlavePath());
    EXPECT_EQ(OpenErrorOf(second), "Error opening serial port");

    // The first opening is untouched.
    ASSERT_TRUE(comm.IsOpen());
    ASSERT_TRUE(pty.WriteToMaster("still here"));
    ASSERT_TRUE(WaitForBlocks(1));
    EXPECT_EQ(blocks.first(), QByteArray("still here"));
}

TEST_F(TCommOnPty, ALostLineClosesThePortAndTellsTheOwnerOnce)
{
    comm.Open();
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return hangups > 0; }));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(comm.SendData("abc"));
    // A closed port has nothing left to report: the failure is not repeated.
    EXPECT_FALSE(WaitUntil([&] { return hangups > 1; }, 100));
    EXPECT_EQ(hangups, 1);
}

TEST_F(TCommOnPty, NoBlockFollowsACloseMadeByTheOwner)
{
    QObject::connect(&comm, &TComm::OnReceiveData, [this] { comm.Close(); });
    comm.Open();
    comm.TakeReceivedBytes("ab", 0);
    comm.TakeReceivedBytes("cd", 1000);  // the gap ends "ab" and the owner closes
    comm.EndReceivedBlock();
    EXPECT_EQ(blocks, (QList<QByteArray> {"ab"}));
}

TEST_F(TCommOnPty, ThePortCanBeReopenedAfterClosing)
{
    comm.Open();
    comm.Close();
    comm.Open();
    ASSERT_TRUE(pty.WriteToMaster("again"));
    ASSERT_TRUE(WaitForBlocks(1));
    EXPECT_EQ(blocks.first(), QByteArray("again"));
}
