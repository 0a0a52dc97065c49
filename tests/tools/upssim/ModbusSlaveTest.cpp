#include "ModbusSlave.h"
#include "protocol/ModbusCrc.h"

#include <gtest/gtest.h>

namespace {

QByteArray Frame(const char *hexWithoutCrc)
{
    QByteArray frame = QByteArray::fromHex(hexWithoutCrc);
    AppendModbusCrc(frame);
    return frame;
}

class ModbusSlaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int address : {1, 3})
            ASSERT_TRUE(bus.AddUnit(address));
        QString error;
        ASSERT_TRUE(bus.Apply(0, {{QStringLiteral("wobble"), QStringLiteral("0")}}, &error));
    }

    QByteArray Answer(const QByteArray &request) { return slave.Answer(request).bytes; }

    // The reply without its CRC, after checking the CRC.
    QByteArray Body(const QByteArray &request)
    {
        const QByteArray reply = Answer(request);
        EXPECT_TRUE(ModbusCrcMatches(reply)) << reply.toHex(' ').toStdString();
        return reply.chopped(qMin<qsizetype>(2, reply.size()));
    }

    void Apply(int unit, const char *key, const char *value)
    {
        QString error;
        ASSERT_TRUE(bus.Apply(unit, {{QLatin1String(key), QLatin1String(value)}}, &error)) << error.toStdString();
    }

    SimBus bus;
    ModbusSlave slave{bus};
};

TEST_F(ModbusSlaveTest, FirstPollBlockCarriesTheInputRegisters)
{
    const QByteArray reply = Answer(QByteArray::fromHex("01047530000E6BCD"));
    ASSERT_EQ(reply.size(), 3 + 28 + 2);
    EXPECT_TRUE(ModbusCrcMatches(reply));
    EXPECT_EQ(reply.left(3), QByteArray::fromHex("01041C"));
    EXPECT_EQ(reply.mid(3, 6), QByteArray::fromHex("089808980898")); // 220.0 V on each phase
    EXPECT_EQ(reply.mid(9, 14), QByteArray(14, '\0'));
    EXPECT_EQ(reply.mid(23, 8), QByteArray::fromHex("08980898089801F4"));
}

TEST_F(ModbusSlaveTest, EveryPollBlockOfTheMasterIsAnswered)
{
    const std::pair<const char *, int> blocks[] = {
        {"01047530000E", 14}, {"010475440012", 18}, {"01047580000B", 11},
        {"01039C40001C", 28}, {"01039C5C0001", 1},
    };
    for (const auto &[request, count] : blocks) {
        const QByteArray body = Body(Frame(request));
        ASSERT_EQ(body.size(), 3 + 2 * count) << request;
        EXPECT_EQ(static_cast<quint8>(body[2]), 2 * count) << request;
    }
    // 30081: state byte 4 (online); 40005: 220 V system voltage.
    EXPECT_EQ(Body(Frame("01047580000B")).mid(3, 2), QByteArray::fromHex("0004"));
    EXPECT_EQ(Body(Frame("01039C40001C")).mid(3 + 2 * 4, 2), QByteArray::fromHex("00DC"));
}

TEST_F(ModbusSlaveTest, RequestsItCannotServeGetExceptions)
{
    struct Case
    {
        const char *request;
        const char *reply;
    };
    const Case cases[] = {
        {"01040000000E", "018402"},         // table offsets are not register numbers
        {"010375300001", "018302"},         // function 3 reads holding registers only
        {"01049C400001", "018402"},         // function 4 reads input registers only
        {"01047530000F", "018402"},         // 30015 does not exist
        {"010475300000", "018403"},         // no registers
        {"01047530007E", "018403"},         // more than 125 registers
        {"01050000FF00", "018501"},         // coils are not served
        {"01069C400001", "018602"},         // 40001 is read-only
        {"010675300001", "018602"},         // input registers are read-only
        {"01109C3F00020400010001", "019002"}, // 40000 is not a register
        {"01109C410002030001", "019003"},   // byte count does not match
        {"01047530000E00", "018403"},       // trailing byte
    };
    for (const Case &c : cases)
        EXPECT_EQ(Body(Frame(c.request)).toHex(), QByteArray(c.reply)) << c.request;
}

TEST_F(ModbusSlaveTest, StaysSilentWhereARealSlaveWould)
{
    QByteArray damaged = QByteArray::fromHex("01047530000E6BCD");
    damaged[3] = 0x31;
    Apply(3, "silent", "1");
    const QByteArray silent[] = {
        Frame("02047530000E"),                  // no unit at 2
        damaged,                                // bad CRC
        Frame("03047530000E"),                  // unit 3 stopped answering
        Frame("00047530000E"),                  // broadcast read
        QByteArray::fromHex("0104"),            // too short to be a frame
        QByteArray(),
    };
    for (const QByteArray &request : silent)
        EXPECT_TRUE(Answer(request).isEmpty()) << request.toHex(' ').toStdString();

    Apply(3, "silent", "0");
    EXPECT_FALSE(Answer(Frame("03047530000E")).isEmpty());
}

TEST_F(ModbusSlaveTest, WritesAreEchoedAndChangeTheUnit)
{
    const QByteArray batteryTest = QByteArray::fromHex("01064E22003C3EF9");
    EXPECT_EQ(Answer(batteryTest), batteryTest);
    EXPECT_EQ(bus.Unit(1)->Mode(), SimMode::BatteryTest);
    EXPECT_EQ(bus.Unit(3)->Mode(), SimMode::Online);

    const QByteArray turnOff = Frame("03064E210001");
    EXPECT_EQ(Answer(turnOff), turnOff);
    EXPECT_EQ(bus.Unit(3)->Mode(), SimMode::Standby);

    // 40005-40006 in one write, then read back.
    EXPECT_EQ(Body(Frame("01109C4400020400E6003C")).toHex(), QByteArray("01109c440002"));
    EXPECT_EQ(Body(Frame("01039C440002")).toHex(), QByteArray("01030400e6003c"));
}

TEST_F(ModbusSlaveTest, BroadcastWritesReachEveryUnitWithoutReply)
{
    EXPECT_TRUE(Answer(Frame("00069C55000A")).isEmpty());
    EXPECT_EQ(bus.Unit(1)->ReadRegister(40022), 10);
    EXPECT_EQ(bus.Unit(3)->ReadRegister(40022), 10);
}

TEST_F(ModbusSlaveTest, MalformedRepliesOnRequest)
{
    Apply(1, "malformed", "checksum");
    const QByteArray badCrc = Answer(Frame("01047580000B"));
    EXPECT_EQ(badCrc.size(), 3 + 22 + 2);
    EXPECT_FALSE(ModbusCrcMatches(badCrc));

    Apply(1, "malformed", "length");
    const QByteArray shortReply = Body(Frame("01039C40001C"));
    EXPECT_EQ(static_cast<quint8>(shortReply[2]), 54);
    EXPECT_EQ(shortReply.size(), 3 + 54);

    Apply(1, "malformed", "rtn04");
    EXPECT_EQ(Body(QByteArray::fromHex("01064E22003C3EF9")).toHex(), QByteArray("018604"));
    EXPECT_EQ(bus.Unit(1)->Mode(), SimMode::Online);
}

TEST_F(ModbusSlaveTest, ReplyDelayAndLineFaultsArePassedToThePort)
{
    Apply(1, "delay", "250");
    Apply(1, "split", "40");
    Apply(1, "twice", "1");
    Apply(1, "noise", "30");
    const SimReply reply = slave.Answer(Frame("01047530000E"));
    EXPECT_EQ(reply.delayMs, 250);
    EXPECT_EQ(reply.faults.splitPauseMs, 40);
    EXPECT_TRUE(reply.faults.twice);
    EXPECT_EQ(reply.faults.noiseAfterMs, 30);
    Apply(1, "noise", "off");
    EXPECT_EQ(slave.Answer(Frame("01047530000E")).faults.noiseAfterMs, -1);
}

TEST_F(ModbusSlaveTest, AUnitCanAnswerUnderAnotherAddress)
{
    Apply(3, "answeras", "9");
    const QByteArray reply = Body(Frame("03047530000E"));
    EXPECT_EQ(static_cast<quint8>(reply[0]), 9);
    EXPECT_EQ(reply.size(), 3 + 28);
    Apply(3, "answeras", "0");
    EXPECT_EQ(static_cast<quint8>(Body(Frame("03047530000E"))[0]), 3);
}

} // namespace
