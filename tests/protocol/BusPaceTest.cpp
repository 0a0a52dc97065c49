// The polling engine at the pace of the bus against the simulator on a real
// pseudo-terminal, in real time: replies are taken as soon as they are
// complete, and a unit that misbehaves costs the round no more than its
// time-out. The simulator keeps the wire time of a 9600 baud line.
#include "protocol/TPollEngine.h"

#include "model/UpsInfoRules.h"
#include "support/EngineOnSim.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kModbusProtocol = 2;
constexpr int kYdtProtocol = 0;
constexpr int kReplyTimeout = 200; // ms

struct PacedBus {
    UpsSimProcess Sim;
    std::unique_ptr<EngineOnSim> Engine; // made once the simulator's line exists

    void Start(const QStringList &simArguments, std::initializer_list<std::uint8_t> devices, const char *protocol)
    {
        const bool modbus = QLatin1String(protocol) == QLatin1String("modbus");
        ASSERT_TRUE(Sim.Start(QStringList{"--steady", "--commands", "--protocol", protocol} + simArguments))
            << Sim.ErrorText().toStdString();
        Engine = std::make_unique<EngineOnSim>(Sim.PortPath(), modbus ? kModbusProtocol : kYdtProtocol);
        Engine->Settings.RecInterval = 0;
        Engine->Settings.PortInfo.PollMode = 1;
        Engine->Settings.PortInfo.ReplyTimeout = kReplyTimeout;
        Engine->AddDevices(devices);
        Engine->Poll.Start();
        ASSERT_TRUE(Engine->Poll.PortOpened());
    }

    void Command(const char *line) { ASSERT_TRUE(Sim.Command(QLatin1String(line))) << Sim.ErrorText().toStdString(); }

    const TUpsInfo &Unit(int addr) const { return Engine->UpsInfo[addr]; }

    // Waits until every unit listed has had this many valid replies.
    bool AwaitReplies(std::initializer_list<int> addrs, int replies, int timeoutMs = 30000)
    {
        return WaitUntil(
            [&] { return std::all_of(addrs.begin(), addrs.end(), [&](int a) { return Unit(a).OkCnt >= replies; }); },
            timeoutMs);
    }

    std::vector<LoggedEvent> Events(int addr) const { return EventsByAddress(Engine->EventLog)[addr]; }
};

struct PacedFault {
    const char *Name;
    const char *Protocol; // as upssim names it
    const char *Settings; // of unit 2, as upssim takes them
    bool ComesOnline;
};

void PrintTo(const PacedFault &fault, std::ostream *out)
{
    *out << fault.Protocol << "/" << fault.Name;
}

class PacedFaultTest : public ::testing::TestWithParam<PacedFault> {};

TEST_P(PacedFaultTest, AMisbehavingUnitNeverHoldsUpTheOthers)
{
    const PacedFault &fault = GetParam();
    PacedBus bus;
    bus.Start({"--units", "1-3", "--set", QStringLiteral("2:%1").arg(fault.Settings)}, {1, 2, 3}, fault.Protocol);

    // Two full visits of the sound units: the round went on around unit 2.
    const int visit = QLatin1String(fault.Protocol) == QLatin1String("modbus") ? 4 : 5;
    ASSERT_TRUE(bus.AwaitReplies({1, 3}, 1 + 2 * visit));
    bus.Engine->Poll.Shutdown();

    for (int addr : {1, 3}) {
        EXPECT_EQ(bus.Unit(addr).LinkState, kLinkOnline) << addr;
        EXPECT_EQ(bus.Unit(addr).State, kStateOnline) << addr;
    }
    const TUpsInfo &two = bus.Unit(2);
    if (fault.ComesOnline) {
        EXPECT_EQ(two.LinkState, kLinkOnline);
        EXPECT_EQ(two.State, kStateOnline);
    } else {
        EXPECT_EQ(two.LinkState, kLinkLost);
        EXPECT_EQ(two.OkCnt, 0);
        EXPECT_TRUE(bus.Events(2).empty());
    }
    // A lost unit gets one request a visit, sent MaxReSend - 1 times: no
    // more transmissions than the others had requests.
    EXPECT_LE(two.TxCnt, bus.Unit(1).TxCnt);
}

INSTANTIATE_TEST_SUITE_P(
    OnTheLine, PacedFaultTest,
    ::testing::Values(PacedFault{"Clean", "modbus", "delay=0", true},
                      PacedFault{"GarbageAfterTheReply", "modbus", "noise=20", true},
                      PacedFault{"HalfAFrameThenAPause", "modbus", "split=150", false},
                      // The first copy is a complete frame and taken; the second answers nothing.
                      PacedFault{"TwoRepliesRunTogether", "modbus", "twice=1", true},
                      PacedFault{"ReplyFromAnAddressNotAsked", "modbus", "answeras=9", false},
                      PacedFault{"BadCrc", "modbus", "malformed=checksum", false},
                      PacedFault{"Silent", "modbus", "silent=1", false},
                      PacedFault{"Clean", "ydt", "delay=0", true},
                      PacedFault{"GarbageAfterTheReply", "ydt", "noise=20", true},
                      PacedFault{"HalfAFrameThenAPause", "ydt", "split=150", false},
                      PacedFault{"TwoRepliesRunTogether", "ydt", "twice=1", true},
                      // No end byte: the silence ends it, and the frame is sound.
                      PacedFault{"LineFeedForTheEndByte", "ydt", "malformed=eoi", true},
                      PacedFault{"NoEndByte", "ydt", "malformed=nocr", false}),
    [](const ::testing::TestParamInfo<PacedFault> &info) {
        return std::string(info.param.Protocol) + "_" + info.param.Name;
    });

TEST(BusPaceTest, ALateAsciiUnitNeverHasAnotherCommandsReplyStored)
{
    PacedBus bus;
    bus.Start({"--units", "1", "--set", "1:mains=220"}, {1}, "ydt");
    ASSERT_TRUE(bus.AwaitReplies({1}, 11)); // every command answered twice
    const TUpsInfo &rec = bus.Unit(1);
    ASSERT_EQ(rec.State, kStateOnline);
    ASSERT_EQ(rec.CmmState1, 0xCC00);

    // Each reply now lands while the next command to the unit is on the
    // line: the 42H reply's 220.00 V (55F0) read as the 43H status words
    // would give CmmState1 0xF055, and EPO.
    bus.Command("1:delay=300");
    const TCommDebug &debug = bus.Engine->Debug;
    ASSERT_TRUE(WaitUntil([&] { return debug.StrayReplyCnt >= 10; }, 30000)) << debug.StrayReplyCnt;
    bus.Command("1:delay=0");
    const int okBefore = rec.OkCnt;
    ASSERT_TRUE(bus.AwaitReplies({1}, okBefore + 5));
    bus.Engine->Poll.Shutdown();

    EXPECT_EQ(rec.CmmState1, 0xCC00);
    EXPECT_EQ(rec.State, kStateOnline);
    EXPECT_DOUBLE_EQ(rec.InputVolt[0], 220.0);
    EXPECT_EQ(rec.AlarmCount, 0);
    for (const LoggedEvent &event : bus.Events(1)) {
        if (std::get<0>(event) == 1) {
            EXPECT_EQ(std::get<1>(event), kStateOnline) << "a state the unit never had was logged";
        }
    }
}

} // namespace
