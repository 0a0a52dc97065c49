#include "control/ControlCommands.h"

#include "control/DigitKeys.h"
#include "control/ParaSetRules.h"
#include "protocol/TMModbus.h"
#include "support/BusFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(ControlCommandsTest, BatteryTestFillsSlotOneUnderModbusOnly)
{
    const struct { quint8 protocol; bool queued; } cases[] = {{0, false}, {1, false}, {2, true}, {3, true}};
    for (const auto &c : cases) {
        TCommandQueue queue;
        queue.Slots[1].RegCount = 7;
        EXPECT_EQ(ControlCommands::QueueTest(queue, c.protocol, 9, 60), c.queued) << int(c.protocol);
        const TUpsCommand &slot = queue.Slots[1];
        EXPECT_EQ(slot.Pending, c.queued ? 255 : 0) << int(c.protocol);
        if (!c.queued)
            continue;
        EXPECT_EQ(slot.Addr, 9);
        EXPECT_EQ(slot.FuncCode, 6);
        EXPECT_EQ(slot.StartReg, 20003u);
        EXPECT_EQ(slot.RegCount, 7u); // left as it was
        EXPECT_EQ(queue.ControlValue, 60);
        EXPECT_FALSE(queue.Slots[0].Pending);
    }
}

TEST(ControlCommandsTest, TestTimeKeepsItsLow16Bits)
{
    TCommandQueue queue;
    ControlCommands::QueueTest(queue, 2, 1, 70000);
    EXPECT_EQ(queue.ControlValue, 4464);
    ControlCommands::QueueTest(queue, 2, 1, 40000);
    EXPECT_EQ(static_cast<std::uint16_t>(queue.ControlValue), 40000);
}

TEST(ControlCommandsTest, TestTimeText)
{
    EXPECT_EQ(ControlCommands::TestSeconds(""), std::nullopt);
    EXPECT_EQ(ControlCommands::TestSeconds("60"), 60);
    EXPECT_EQ(ControlCommands::TestSeconds("0"), 0);
    EXPECT_EQ(ControlCommands::TestSeconds("70000"), 70000);
    EXPECT_EQ(ControlCommands::TestSeconds("12a"), 1);          // pasted non-digit
    EXPECT_EQ(ControlCommands::TestSeconds("99999999999"), 1);  // beyond 32 bits
}

TEST(ControlCommandsTest, NumberBoxesTakeDigitsAndTheEditingKeys)
{
    for (char16_t c : {u'0', u'5', u'9', char16_t(3), char16_t(8), char16_t(22), char16_t(24)}) {
        EXPECT_TRUE(DigitKeyAllowed(QChar(c), false)) << int(c);
        EXPECT_TRUE(DigitKeyAllowed(QChar(c), true)) << int(c);
    }
    for (char16_t c : {u'a', u'-', u' ', u',', u'+', char16_t(13), u'\u4e00'})
        EXPECT_FALSE(DigitKeyAllowed(QChar(c), true)) << int(c);
    EXPECT_FALSE(DigitKeyAllowed(u'.', false));
    EXPECT_TRUE(DigitKeyAllowed(u'.', true));
}

// What the Modbus master sends for the queued commands, in slot order.
TEST(ControlCommandsTest, QueuedCommandsGoOutAsWriteFrames)
{
    BusFixture bus;
    bus.AddDevices({1});
    TMModbus modbus(bus.Context);
    auto next = [&] {
        modbus.BuildRequest();
        return HexOf(Bytes(bus.Engine.TxBuf.data(), modbus.FrameLength()));
    };

    ControlCommands::QueueTest(bus.CmdQueue, 2, 1, 70000);
    ControlCommands::QueueTest(bus.CmdQueue, 2, 1, 60); // replaces the first
    EXPECT_EQ(next(), "01 06 4E 22 00 3C 3E F9");

    // The model that wants register 50000 first takes slots 0 and 1, so its
    // parameter write replaces a control command still waiting in slot 1.
    ControlCommands::Queue(bus.CmdQueue, 1, ControlCommands::kRegTurnOff, 1);
    ParaSetRules::QueueWrite(bus.CmdQueue, 2, 1, QStringLiteral("VTR5400"), 40025, 45);
    EXPECT_EQ(next(), "01 06 C3 4F 00 01 45 99");
    const QString paraWrite = next();
    EXPECT_TRUE(paraWrite.startsWith("01 06 9C 58 00 2D")) << paraWrite.toStdString();
    EXPECT_FALSE(bus.CmdQueue.AnyPending());
}

} // namespace
