#include "ModbusSlave.h"
#include "ModbusTcpSlave.h"

#include <gtest/gtest.h>

namespace {

class ModbusTcpSlaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.AddUnit(3));
        Apply("wobble=0");
    }

    void Apply(const char *settings)
    {
        QString error;
        for (const QString &pair : QString::fromLatin1(settings).split(QLatin1Char(','))) {
            const QStringList keyValue = pair.split(QLatin1Char('='));
            ASSERT_TRUE(bus.Apply(3, {{keyValue[0], keyValue[1]}}, &error)) << error.toStdString();
        }
    }

    SimBus bus;
    ModbusSlave rtu{bus};
    ModbusTcpSlave slave{rtu};
};

TEST_F(ModbusTcpSlaveTest, AnswersAnAduWithTheRtuReplyOfItsUnit)
{
    const struct {
        const char *settings;
        const char *request; // ADU
        const char *reply;   // ADU; empty: no reply
    } rows[] = {
        // Transaction identifier echoed, unit identifier the unit's.
        {"state=online", "BEEF 0000 0006 03 04 7530 0001", "BEEF 0000 0005 03 04 02 0898"},
        {"state=online", "0001 0000 0006 09 04 7530 0001", ""}, // no unit 9
        {"silent=1", "0001 0000 0006 03 04 7530 0001", ""},
        {"silent=0,malformed=checksum", "0001 0000 0006 03 04 7530 0001", ""}, // a gateway drops it
        {"malformed=rtn04", "0002 0000 0006 03 04 7530 0001", "0002 0000 0003 03 84 04"},
        {"malformed=none,answeras=7", "0003 0000 0006 03 04 7530 0001", "0003 0000 0005 07 04 02 0898"},
        {"answeras=0", "0004 0000 0006 03 04 0000 0001", "0004 0000 0003 03 84 02"},
        {"answeras=0", "0005 0001 0006 03 04 7530 0001", ""}, // protocol identifier 1: not Modbus TCP
    };
    for (const auto &row : rows) {
        Apply(row.settings);
        const QByteArray reply = slave.Answer(QByteArray::fromHex(row.request)).bytes;
        EXPECT_EQ(reply.toHex(' ').toStdString(), QByteArray::fromHex(row.reply).toHex(' ').toStdString())
            << row.settings << ", " << row.request;
    }
}

TEST_F(ModbusTcpSlaveTest, ReplyKeepsTheUnitsDelayAndStreamFaultsButNoNoise)
{
    Apply("delay=300,twice=1,split=20,noise=5");
    const SimReply reply = slave.Answer(QByteArray::fromHex("0001 0000 0006 03 04 7530 0001"));
    ASSERT_FALSE(reply.bytes.isEmpty());
    EXPECT_EQ(reply.delayMs, 300);
    EXPECT_TRUE(reply.faults.twice);
    EXPECT_EQ(reply.faults.splitPauseMs, 20);
    EXPECT_EQ(reply.faults.noiseAfterMs, -1);
}

} // namespace
