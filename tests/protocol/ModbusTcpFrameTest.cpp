#include "protocol/ModbusTcpFrame.h"

#include "protocol/ModbusCrc.h"

#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

TEST(ModbusTcpFrame, AnRtuRequestTravelsAsAnAduAndItsReplyComesBackAsRtu)
{
    // Read 14 input registers from 30001 of unit 1, as the master builds it.
    QByteArray rtu = Hex("01047530000E");
    AppendModbusCrc(rtu);
    const QByteArray adu = RtuToModbusTcp(rtu, 0x1234);
    EXPECT_EQ(adu.toHex(), QByteArray("12340000000601047530000e"));

    const QByteArray replyAdu = Hex("1234000000070104040898089A");
    EXPECT_EQ(ModbusTcpAduLength(replyAdu), replyAdu.size());
    const QByteArray replyRtu = ModbusTcpToRtu(replyAdu);
    EXPECT_EQ(replyRtu.left(7).toHex(), QByteArray("0104040898089a"));
    EXPECT_TRUE(ModbusCrcMatches(replyRtu));
    const TMbapHeader header = ReadMbapHeader(replyAdu);
    EXPECT_EQ(header.TransactionId, 0x1234);
    EXPECT_EQ(header.Length, 7);
    EXPECT_EQ(header.UnitId, 1);
}

TEST(ModbusTcpFrame, AStreamIsCutByTheHeaderLengthAndRefusedWhenItIsNoModbusTcp)
{
    const struct { const char *stream; int length; } rows[] = {
        {"", 0},
        {"0001", 0},
        {"000100000006", 0},              // header without the rest
        {"00010000000601040000", 0},      // 10 of 12 bytes
        {"000100000006010400000001", 12},
        {"00010000000601040000000100", 12}, // the next ADU has begun
        {"00010001000601040000", -1},     // protocol identifier 1
        {"000100000001", -1},             // no room for a function code
        {"0001000000FF", -1},             // longer than any PDU
    };
    for (const auto &row : rows)
        EXPECT_EQ(ModbusTcpAduLength(Hex(row.stream)), row.length) << row.stream;
    EXPECT_TRUE(RtuToModbusTcp(Hex("0104C0"), 1).isEmpty()) << "no room for a CRC";
    EXPECT_TRUE(ModbusTcpToRtu(Hex("00010000000601040000")).isEmpty()) << "incomplete";
}
