#include "protocol/TMModbus.h"

#include "model/UpsInfoRules.h"
#include "support/BusFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace {

struct ModbusFixture : BusFixture {
    TMModbus Modbus{Context};

    QByteArray Build()
    {
        Modbus.BuildRequest();
        return Bytes(Engine.TxBuf.data(), Modbus.FrameLength());
    }

    // Decodes from an exactly sized heap block, so that a read past its end
    // is caught by the address sanitizer.
    bool Decode(const QByteArray &block)
    {
        std::vector<std::uint8_t> exact(block.begin(), block.end());
        return Modbus.DecodeReply(exact.data(), static_cast<int>(exact.size()));
    }

    // Makes the next request a read of these registers of device 1.
    void RequestRead(std::uint8_t funcCode, std::uint32_t start, std::uint32_t count)
    {
        CmdQueue.Queue(0, 1, funcCode, start, count);
        Build();
    }
};

QByteArray Hex(const char *text)
{
    return QByteArray::fromHex(text);
}

TEST(TMModbusTest, FirstRequestsGoToAddressZeroThenTheListInOrder)
{
    ModbusFixture f;
    f.AddDevices({1});
    EXPECT_EQ(HexOf(f.Build()), "00 04 75 30 00 0E 6A 1C");
    EXPECT_EQ(HexOf(f.Build()), "01 04 75 30 00 0E 6B CD");
    EXPECT_EQ(f.Modbus.CurrentAddress(), 1);
    EXPECT_EQ(f.DeviceList.PollAddr(), 1);
}

struct CommandFrameCase {
    const char *name;
    std::uint8_t funcCode;
    std::uint32_t startReg;
    std::uint32_t regCount;
    std::function<void(TCommandQueue &)> setValues;
    const char *expected; // hex; empty when nothing is to be sent
};

TEST(TMModbusTest, CommandFramesCarryTheirWriteValues)
{
    const std::vector<CommandFrameCase> cases = {
        {"battery test of 60 s", 6, 20003, 1, [](TCommandQueue &q) { q.ControlValue = 60; },
         "01064E22003C3EF9"},
        {"turn off to device 3 (address below)", 6, 20002, 1,
         [](TCommandQueue &q) { q.ControlValue = 1; }, "03064E2100010ECA"},
        {"register 50000 carries the fixed value", 6, 50000, 1, [](TCommandQueue &) {},
         "0106C34F00014599"},
        {"40028 is never written back", 6, 40028, 1,
         [](TCommandQueue &q) { q.ParaSetValue.Reg40028 = 7; }, "01069C5B0000D649"},
        {"negative 16-bit field", 6, 40013, 1,
         [](TCommandQueue &q) { q.ParaSetValue.BypassVoltMin = -10; }, "01069C4CFFF6A7FB"},
        {"function 16 takes each register from the image", 16, 40004, 3,
         [](TCommandQueue &q) {
             q.ParaSetValue.WorkMode = 0x12345; // low 16 bits go out
             q.ParaSetValue.VoltLevel = 220;
             q.ParaSetValue.FreqLevel = 50;
         },
         "01109C43000306234500DC00325CBA"},
        {"a write too long for the buffer is not built", 16, 40001, 124, [](TCommandQueue &) {}, ""},
        {"an unknown function is not built", 5, 40001, 1, [](TCommandQueue &) {}, ""},
    };
    for (const CommandFrameCase &c : cases) {
        SCOPED_TRACE(c.name);
        ModbusFixture f;
        c.setValues(f.CmdQueue);
        const std::uint8_t addr = c.startReg == 20002 ? 3 : 1;
        f.CmdQueue.Queue(1, addr, c.funcCode, c.startReg, c.regCount);
        EXPECT_EQ(HexOf(f.Build()), HexOf(Hex(c.expected)));
    }
}

TEST(TMModbusTest, LongestWriteFillsTheTransmitBufferExactly)
{
    ModbusFixture f;
    f.CmdQueue.Queue(0, 1, 16, 40001, TMModbus::kMaxWriteRegisters);
    const QByteArray frame = f.Build();
    ASSERT_EQ(frame.size(), 9 + 2 * 123);
    EXPECT_LE(frame.size(), TEngineState::TxBufSize);
    EXPECT_EQ(static_cast<std::uint8_t>(frame[6]), 246);
}

// (address, first register) of each request built.
std::vector<std::pair<int, int>> PollSequence(ModbusFixture &f, int requests)
{
    std::vector<std::pair<int, int>> seen;
    for (int i = 0; i < requests; ++i) {
        f.Build();
        seen.emplace_back(f.Modbus.CurrentAddress(), f.Modbus.StartReg());
    }
    return seen;
}

TEST(TMModbusTest, LostDevicesGetOneRequestOnlineDevicesFourOrFive)
{
    using Seq = std::vector<std::pair<int, int>>;
    const Seq head = {{0, 30001}, {1, 30001}, {2, 30001}, {2, 30021}, {2, 30081}, {2, 40001}};
    const struct {
        const char *modelName;
        Seq expected;
    } cases[] = {
        {"", [&] { Seq s = head; s.push_back({1, 30001}); return s; }()},
        {"QMX960LD", [&] { Seq s = head; s.push_back({2, 40029}); s.push_back({1, 30001}); return s; }()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.modelName);
        ModbusFixture f;
        f.ModelName = QString::fromLatin1(c.modelName);
        f.AddDevices({1, 2});
        f.UpsInfo[2].LinkState = kLinkOnline;
        EXPECT_EQ(PollSequence(f, static_cast<int>(c.expected.size())), c.expected);
    }
}

TEST(TMModbusTest, CommandsReplaceOnePollRequestEachLowestSlotFirst)
{
    ModbusFixture f;
    f.AddDevices({1, 2});
    f.UpsInfo[1].LinkState = kLinkOnline;
    f.UpsInfo[2].LinkState = kLinkOnline;
    PollSequence(f, 3); // address 0, then device 1 requests 1 and 2
    ASSERT_EQ(f.Engine.ReqStep, 2);

    f.CmdQueue.Queue(1, 2, 6, 20003, 1);
    f.CmdQueue.Queue(0, 2, 6, 40005, 1);
    EXPECT_EQ(PollSequence(f, 4),
              (std::vector<std::pair<int, int>>{{2, 40005}, {2, 20003}, {2, 30081}, {2, 40001}}));
    EXPECT_EQ(f.Engine.PollAddr, 2);
    EXPECT_FALSE(f.CmdQueue.AnyPending());
}

TEST(TMModbusTest, SearchProbeLeavesQueuedCommandsAndDecodesNothing)
{
    ModbusFixture f;
    f.CmdQueue.Queue(0, 1, 6, 20003, 1);
    f.Engine.SearchMode = 255;
    f.Engine.SearchAddr = 7;
    const QByteArray probe = f.Build();
    EXPECT_EQ(probe.left(6), Hex("07047530000E"));
    EXPECT_TRUE(f.CmdQueue.AnyPending());

    EXPECT_TRUE(f.Decode(ModbusReadReply(7, 4, std::vector<std::uint16_t>(14, 2200))));
    EXPECT_EQ(f.UpsInfo[7].InputVolt[0], 0.0);
    EXPECT_EQ(f.Debug.AckOkCnt, 1);
}

struct DecodeCase {
    const char *name;
    std::uint8_t funcCode;
    std::map<std::uint32_t, std::uint16_t> registers;
    std::function<double(const TUpsInfo &)> field;
    double expected;
};

TEST(TMModbusTest, RepliesAreStoredThroughTheRegisterMap)
{
    const std::vector<DecodeCase> cases = {
        {"input volt A", 4, {{30001, 2205}}, [](const TUpsInfo &r) { return r.InputVolt[0]; }, 220.5},
        {"input volt C", 4, {{30003, 2190}}, [](const TUpsInfo &r) { return r.InputVolt[2]; }, 219.0},
        {"output volt B", 4, {{30012, 2300}}, [](const TUpsInfo &r) { return r.OutputVolt[1]; }, 230.0},
        {"output frequency", 4, {{30014, 501}}, [](const TUpsInfo &r) { return r.OutputFreq; }, 50.1},
        {"load B", 4, {{30022, 46}}, [](const TUpsInfo &r) { return r.LoadPercent[1]; }, 46},
        {"dc volt is the sum of both groups", 4, {{30031, 2700}, {30032, 2710}},
         [](const TUpsInfo &r) { return r.DcVolt; }, 541.0},
        {"charge current sum", 4, {{30033, 15}, {30034, 25}},
         [](const TUpsInfo &r) { return r.ChargeCurrent; }, 4.0},
        {"discharge current sum", 4, {{30035, 100}, {30036, 1}},
         [](const TUpsInfo &r) { return r.DischargeCurrent; }, 10.1},
        {"capacity", 4, {{30037, 87}}, [](const TUpsInfo &r) { return r.BattCapacity; }, 87},
        {"backup time keeps its 16 bits", 4, {{30038, 0xFFFF}},
         [](const TUpsInfo &r) { return r.BattBackupTime; }, -1},
        {"state byte keeps the low 8 bits", 4, {{30081, 0x1234}},
         [](const TUpsInfo &r) { return r.UpsStateCode; }, 0x34},
        {"status words derive the state", 4, {{30084, 0x0080}},
         [](const TUpsInfo &r) { return r.State; }, kStateBypass},
        {"status words set the supplies", 4, {{30084, 0x0080}},
         [](const TUpsInfo &r) { return r.UpsSupply; }, 2},
        {"alarm words build the list", 4, {{30086, 0x8000}},
         [](const TUpsInfo &r) { return r.AlarmCount == 1 ? r.AlarmList[0] : -1; }, 0},
        {"system alarm word", 4, {{30091, 0x0100}}, [](const TUpsInfo &r) { return r.SysAlarm; }, 0x0100},
        {"8-bit parameter keeps the low byte", 3, {{40002, 0x0102}},
         [](const TUpsInfo &r) { return r.Para.ParallelId; }, 2},
        {"work mode is zero-extended", 3, {{40004, 0xFFFE}},
         [](const TUpsInfo &r) { return r.Para.WorkMode; }, 65534},
        {"signed parameter", 3, {{40013, 0xFFF6}},
         [](const TUpsInfo &r) { return r.Para.BypassVoltMin; }, -10},
        {"40028 is stored", 3, {{40028, 9}}, [](const TUpsInfo &r) { return r.Para.Reg40028; }, 9},
        {"operation mode", 3, {{40029, 2}}, [](const TUpsInfo &r) { return r.Para.OperationMode; }, 2},
        {"registers without a field are ignored", 3, {{40010, 5}, {40024, 6}, {40026, 7}, {40027, 0x3000}},
         [](const TUpsInfo &r) { return r.Para.StatusControl; }, 0x3000},
    };
    for (const DecodeCase &c : cases) {
        SCOPED_TRACE(c.name);
        ModbusFixture f;
        const std::uint32_t first = c.registers.begin()->first;
        const std::uint32_t last = c.registers.rbegin()->first;
        f.RequestRead(c.funcCode, first, last - first + 1);
        std::vector<std::uint16_t> values;
        for (std::uint32_t reg = first; reg <= last; ++reg)
            values.push_back(c.registers.count(reg) ? c.registers.at(reg) : 0);
        EXPECT_TRUE(f.Decode(ModbusReadReply(1, c.funcCode, values)));
        EXPECT_NEAR(c.field(f.UpsInfo[1]), c.expected, 1e-9);
    }
}

TEST(TMModbusTest, ReplyThatDoesNotAnswerItsRequestStoresNothing)
{
    // A late reply to an earlier request, or a short block: its values
    // belong to other registers than the ones asked for.
    const struct {
        const char *name;
        std::uint8_t funcCode;
        std::size_t values;
    } cases[] = {
        {"one register short", 4, 13},
        {"the next sub-request's block", 4, 18},
        {"the holding registers' block", 3, 14},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ModbusFixture f;
        f.RequestRead(4, 30001, 14);
        EXPECT_FALSE(f.Decode(ModbusReadReply(1, c.funcCode, std::vector<std::uint16_t>(c.values, 2200))));
        EXPECT_EQ(f.Debug.AckOkCnt, 1);
        EXPECT_EQ(f.Debug.StrayReplyCnt, 1);
        EXPECT_EQ(f.UpsInfo[1].InputVolt[0], 0.0);
        EXPECT_EQ(f.UpsInfo[1].OutputFreq, 0.0);
    }
}

struct RejectCase {
    const char *name;
    QByteArray block;
    int ackOk; // whether the frame checks passed
};

TEST(TMModbusTest, BrokenRepliesAreRejectedWithoutReadingPastTheBlock)
{
    const QByteArray good = ModbusReadReply(1, 4, std::vector<std::uint16_t>(14, 2200));
    QByteArray badCrc = good;
    badCrc[badCrc.size() - 1] = static_cast<char>(badCrc.back() ^ 0x01);
    const QByteArray wrongAddr = ModbusReadReply(2, 4, std::vector<std::uint16_t>(14, 2200));
    // Promises 14 values, holds 2.
    const QByteArray truncated = WithCrc(Hex("01041C08980898"));

    const std::vector<RejectCase> cases = {
        {"empty block", QByteArray(), 0},
        {"address only", Hex("01"), 0},
        {"three bytes", Hex("0104FF"), 0},
        {"address, function and CRC only", WithCrc(Hex("0104")), 1},
        {"wrong address", wrongAddr, 0},
        {"bad CRC", badCrc, 0},
        {"exception reply", WithCrc(Hex("018402")), 1},
        {"byte count beyond the block", truncated, 1},
    };
    for (const RejectCase &c : cases) {
        SCOPED_TRACE(c.name);
        ModbusFixture f;
        f.RequestRead(4, 30001, 14);
        EXPECT_FALSE(f.Decode(c.block));
        EXPECT_EQ(f.Debug.AckOkCnt, c.ackOk);
        EXPECT_EQ(f.UpsInfo[1].InputVolt[0], 0.0);
    }
}

TEST(TMModbusTest, AReplyIsCompleteWhenItsByteCountAndCrcSaySo)
{
    const QByteArray read = ModbusReadReply(1, 4, std::vector<std::uint16_t>(14, 2200)); // 33 bytes
    const QByteArray exception = WithCrc(Hex("018402"));
    const QByteArray write = WithCrc(Hex("01064E22003C"));
    QByteArray badCrc = read;
    badCrc[32] = static_cast<char>(badCrc[32] ^ 0x01);
    const struct {
        const char *name;
        QByteArray block;
        int expected;
    } cases[] = {
        {"nothing yet", QByteArray(), 0},
        {"address only", Hex("01"), 0},
        {"no byte count yet", Hex("0104"), 0},
        {"one byte short", read.left(32), 0},
        {"the whole read reply", read, 33},
        {"a second reply run on", read + read, 33},
        {"an exception", exception, 5},
        {"a write echo", write, 8},
        {"bad CRC where the frame ends", badCrc, -1},
        {"a function no reply carries", Hex("01410000"), -1},
    };
    ModbusFixture f;
    for (const auto &c : cases) {
        std::vector<std::uint8_t> exact(c.block.begin(), c.block.end());
        EXPECT_EQ(f.Modbus.CompleteFrameLength(exact.data(), static_cast<int>(exact.size())), c.expected) << c.name;
    }
}

TEST(TMModbusTest, WriteRepliesAreAcceptedOnAddressAndCrc)
{
    ModbusFixture f;
    f.CmdQueue.Queue(1, 1, 6, 20003, 1);
    const QByteArray frame = f.Build();
    EXPECT_TRUE(f.Decode(frame)); // a write is echoed
}

} // namespace
