// The polling engine against a misbehaving bus: the real serial component on
// a real pseudo-terminal, the bus simulator as the slaves, and line faults
// the simulator is told to make. The engine's ticks are driven by hand; only
// the line itself runs in real time.
#include "protocol/TPollEngine.h"

#include "model/DeviceNodeLook.h"
#include "model/UpsInfoRules.h"
#include "support/EngineOnSim.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr int kReadIntervalTimeout = 50; // ms of silence that end a block, as EngineOnSim sets it

struct FaultyBus {
    UpsSimProcess Sim;
    std::unique_ptr<EngineOnSim> Engine; // made once the simulator's line exists
    int Sent = 0;
    int PortClosings = 0;

    // Starts the simulator with these units and settings, lists the devices
    // and opens the port on the simulator's line. The engine's timer stays
    // off: the test makes its ticks.
    void Start(const QStringList &simArguments, std::initializer_list<std::uint8_t> devices,
               const char *protocol = "modbus")
    {
        const bool modbus = QLatin1String(protocol) == QLatin1String("modbus");
        ASSERT_TRUE(Sim.Start(QStringList{"--steady", "--commands", "--protocol", protocol} + simArguments))
            << Sim.ErrorText().toStdString();
        Engine = std::make_unique<EngineOnSim>(Sim.PortPath(), modbus ? 2 : 0);
        Engine->Settings.RecInterval = 0;
        QObject::connect(&Engine->Poll, &TPollEngine::frameSent, [this] { ++Sent; });
        QObject::connect(&Engine->Poll, &TPollEngine::portStateChanged, [this](bool opened) {
            if (!opened)
                ++PortClosings;
        });
        Engine->AddDevices(devices);
        Engine->Poll.OpenPort();
        ASSERT_TRUE(Engine->Poll.PortOpened());
        // The Modbus master's first request of a run goes to address 0,
        // which nobody answers.
        if (modbus) {
            SilentCycle();
            ASSERT_EQ(Engine->Engine.PollAddr, 0);
        }
    }

    void Command(const char *line) { ASSERT_TRUE(Sim.Command(QLatin1String(line))) << Sim.ErrorText().toStdString(); }

    // Builds the next request and sends it. The engine's own pace leaves a
    // second between requests; the simulator needs a moment of silence, and
    // its turn on a busy machine, to tell one request from the next.
    void SendNext()
    {
        WaitUntil([] { return false; }, 100);
        const int before = Sent;
        for (int i = 0; i < 3 && Sent == before; ++i)
            Engine->Poll.PollStep();
        ASSERT_EQ(Sent, before + 1) << "no request went out";
    }

    // Waits on the line until `blocks` more blocks have been received.
    bool AwaitBlocks(int blocks, int since)
    {
        return WaitUntil([&] { return Engine->Debug.AckCnt >= since + blocks; }, 5000);
    }

    // Lets the line be silent long enough for every block in flight to end.
    void LetTheLineSettle() { WaitUntil([] { return false; }, 4 * kReadIntervalTimeout); }

    // The rest of the request cycle: the waiting ticks and the give-up.
    void FinishCycle()
    {
        while (Engine->Engine.ReqPending != 0)
            Engine->Poll.PollStep();
    }

    // One request cycle whose request gets `blocks` blocks back.
    void Cycle(int blocks)
    {
        const int since = Engine->Debug.AckCnt;
        SendNext();
        ASSERT_TRUE(AwaitBlocks(blocks, since)) << "blocks expected: " << blocks;
        LetTheLineSettle();
        FinishCycle();
    }

    // One request cycle that the bus leaves unanswered.
    void SilentCycle()
    {
        SendNext();
        FinishCycle();
    }

    // (kind, code, flag) of the events logged for one address.
    std::vector<LoggedEvent> Events(int addr) const { return EventsByAddress(Engine->EventLog)[addr]; }
};

struct LineFault {
    const char *Name;
    const char *Protocol;          // as upssim names it
    const char *Settings;          // of unit 1, as upssim takes them
    int Blocks;          // blocks one request gets back
    int InvalidBlocks;   // of which fail to decode
    int AcceptedCrcs;    // blocks with the right address and CRC
    bool ComesOnline;
};

void PrintTo(const LineFault &fault, std::ostream *out)
{
    *out << fault.Protocol << "/" << fault.Name;
}

class LineFaultTest : public ::testing::TestWithParam<LineFault> {};

TEST_P(LineFaultTest, CountersEventsAndValuesFollowTheReceiveRules)
{
    const LineFault &fault = GetParam();
    FaultyBus bus;
    bus.Start({"--units", "1", "--set", QStringLiteral("1:mains=230,%1").arg(fault.Settings)}, {1}, fault.Protocol);

    bus.Cycle(fault.Blocks);
    const TCommDebug &debug = bus.Engine->Debug;
    EXPECT_EQ(debug.AckCnt, fault.Blocks);
    EXPECT_EQ(debug.InvalidFrameCnt[0], fault.InvalidBlocks);
    EXPECT_EQ(debug.AckOkCnt, fault.AcceptedCrcs);

    const TUpsInfo &rec = bus.Engine->UpsInfo[1];
    EXPECT_EQ(rec.RxCnt, fault.Blocks);
    if (fault.ComesOnline) {
        EXPECT_EQ(rec.LinkState, kLinkOnline);
        EXPECT_DOUBLE_EQ(rec.InputVolt[0], 230.0);
        const std::vector<LoggedEvent> events = bus.Events(1);
        EXPECT_EQ(std::count(events.begin(), events.end(), LoggedEvent{0, 22, 255}), 1);
    } else {
        // Nothing of a spoilt block reaches the record or the log.
        EXPECT_EQ(rec.LinkState, kLinkLost);
        EXPECT_EQ(rec.InputVolt[0], 0.0);
        EXPECT_TRUE(bus.Events(1).empty());
    }
    EXPECT_EQ(bus.Engine->UpsInfo[9].RxCnt, 0);
    EXPECT_EQ(bus.Engine->UpsInfo[9].InputVolt[0], 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    OnTheLine, LineFaultTest,
    ::testing::Values(
        LineFault{"Clean", "modbus", "delay=0", 1, 0, 1, true},
        // The garbage comes after the reply's block has ended: a block of its own.
        LineFault{"GarbageBetweenFrames", "modbus", "noise=150", 2, 1, 1, true},
        // A pause longer than the read interval time-out cuts the reply in two
        // blocks, neither of which is a reply.
        LineFault{"ReplySplitByAPause", "modbus", "split=200", 2, 2, 0, false},
        LineFault{"TwoRepliesRunTogether", "modbus", "twice=1", 1, 1, 0, false},
        // Not even counted as a checked frame: it is not from the address asked.
        LineFault{"ReplyFromAnAddressNotAsked", "modbus", "answeras=9", 1, 1, 0, false},
        LineFault{"BadCrc", "modbus", "malformed=checksum", 1, 1, 0, false},
        // The ASCII frame has a start and an end character of its own, and
        // the garbage holds both.
        LineFault{"Clean", "ydt", "delay=0", 1, 0, 1, true},
        LineFault{"GarbageBetweenFrames", "ydt", "noise=150", 2, 1, 1, true},
        LineFault{"ReplySplitByAPause", "ydt", "split=200", 2, 2, 0, false},
        LineFault{"TwoRepliesRunTogether", "ydt", "twice=1", 1, 1, 0, false},
        LineFault{"ReplyFromAnAddressNotAsked", "ydt", "answeras=9", 1, 1, 0, false}),
    [](const ::testing::TestParamInfo<LineFault> &info) {
        return std::string(info.param.Protocol) + "_" + info.param.Name;
    });

TEST(BusFaultTest, ALateReplyIsNeverTakenForTheNextRequest)
{
    FaultyBus bus;
    bus.Start({"--units", "1", "--set", "1:mains=230,load=40"}, {1});
    bus.Cycle(1); // 30001-30014; online now, so all sub-requests follow
    ASSERT_EQ(bus.Engine->UpsInfo[1].LinkState, kLinkOnline);
    bus.Cycle(1); // 30021-30038
    bus.Cycle(1); // 30081-30091
    const TUpsInfo before = bus.Engine->UpsInfo[1];
    ASSERT_DOUBLE_EQ(before.LoadPercent[0], 40.0);

    // The unit now answers after the engine has given up: each reply arrives
    // while the next request is in flight.
    bus.Command("1:delay=1000");
    const int since = bus.Engine->Debug.AckCnt;
    bus.SendNext(); // 40001-40028
    bus.FinishCycle();
    bus.LetTheLineSettle(); // so the two late replies arrive as two blocks
    bus.SendNext();         // 30001-30014 of the next visit
    bus.FinishCycle();
    ASSERT_TRUE(bus.AwaitBlocks(2, since));
    bus.LetTheLineSettle();

    const TUpsInfo &rec = bus.Engine->UpsInfo[1];
    // The holding registers' reply arrived while 30001-30014 were asked for:
    // rejected, and none of its values stored as input registers. The reply
    // that followed matches its request.
    EXPECT_EQ(bus.Engine->Debug.InvalidFrameCnt[0], 1);
    EXPECT_EQ(rec.Para.VoltLevel, before.Para.VoltLevel);
    EXPECT_DOUBLE_EQ(rec.LoadPercent[0], 40.0);
    EXPECT_DOUBLE_EQ(rec.InputVolt[0], 230.0);
    EXPECT_EQ(rec.LinkState, kLinkOnline);
}

TEST(BusFaultTest, ALateAsciiReplyIsNeverTakenForTheNextCommand)
{
    FaultyBus bus;
    bus.Start({"--units", "1", "--set", "1:mains=220"}, {1}, "ydt");
    for (int command = 0; command < 5; ++command)
        bus.Cycle(1); // 42H, then 43H, 44H, 80H, 82H once online
    const TUpsInfo &rec = bus.Engine->UpsInfo[1];
    ASSERT_EQ(rec.State, kStateOnline);

    // The 42H reply now arrives after the engine has given up, while the
    // 43H is in flight. Its 220.00 V (55F0) read as status words would
    // make CmmState1 0xF055, and EPO.
    bus.Command("1:delay=1000");
    const int since = bus.Engine->Debug.AckCnt;
    bus.SendNext(); // 42H
    bus.FinishCycle();
    bus.LetTheLineSettle();
    bus.SendNext(); // 43H
    bus.FinishCycle();
    ASSERT_TRUE(bus.AwaitBlocks(2, since));
    bus.LetTheLineSettle();

    EXPECT_EQ(bus.Engine->Debug.StrayReplyCnt, 1);
    EXPECT_EQ(bus.Engine->Debug.InvalidFrameCnt[0], 1);
    // The 43H reply that followed is the answer to the 43H.
    EXPECT_EQ(rec.CmmState1, 0xCC00);
    EXPECT_EQ(rec.State, kStateOnline);
    EXPECT_EQ(bus.Events(1), (std::vector<LoggedEvent>{{0, 22, 255}, {1, kStateOnline, 255}}));
}

TEST(BusFaultTest, ASlaveThatStopsAnsweringIsLostOnceAndLoggedBackOnce)
{
    FaultyBus bus;
    bus.Start({"--units", "1"}, {1});
    bus.Cycle(1);
    ASSERT_EQ(bus.Engine->UpsInfo[1].LinkState, kLinkOnline);

    bus.Command("1:silent=1");
    std::vector<int> linkStates;
    for (int i = 0; i < 12; ++i) {
        bus.SilentCycle();
        linkStates.push_back(bus.Engine->UpsInfo[1].LinkState);
    }
    // More than three unanswered transmissions make an error, the tenth a loss.
    EXPECT_EQ(linkStates, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2}));

    // Let the simulator drop the last request while still silent; answered
    // after the switch, its reply would be a late one.
    bus.LetTheLineSettle();
    bus.Command("1:silent=0");
    bus.Cycle(1);
    bus.Cycle(1);
    EXPECT_EQ(bus.Engine->UpsInfo[1].LinkState, kLinkOnline);
    // Its status words were never read, so no state is logged.
    EXPECT_EQ(bus.Events(1), (std::vector<LoggedEvent>{{0, 22, 255}, {0, 18, 255}, {0, 22, 255}}));
}

TEST(BusFaultTest, UnpluggedLineClosesThePortOnceAndReopeningResumesPolling)
{
    FaultyBus bus;
    bus.Start({"--units", "1"}, {1});
    bus.Cycle(1);
    ASSERT_EQ(bus.Engine->UpsInfo[1].LinkState, kLinkOnline);

    // The line goes away in the middle of a request, as an adapter pulled out.
    bus.SendNext();
    bus.Sim.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !bus.Engine->Poll.PortOpened(); }));
    const int sentBefore = bus.Sent;
    for (int i = 0; i < 40; ++i)
        bus.Engine->Poll.Timer1Timer();
    WaitUntil([] { return false; }, 200);
    EXPECT_EQ(bus.PortClosings, 1);
    EXPECT_EQ(bus.Sent, sentBefore);
    // With the port closed every device shows its link down.
    EXPECT_EQ(DeviceNodeLook(QStringLiteral("UPS"), bus.Engine->UpsInfo[1], bus.Engine->Poll.PortOpened(), 0).Icon, kIconOffline);

    // Back again (on a new device, as a replugged adapter may be).
    ASSERT_TRUE(bus.Sim.Start({"--steady", "--units", "1", "--set", "1:mains=240"}))
        << bus.Sim.ErrorText().toStdString();
    bus.Engine->Settings.PortInfo.ComName = bus.Sim.PortPath();
    bus.Engine->Poll.OpenPort();
    ASSERT_TRUE(bus.Engine->Poll.PortOpened());
    // The request cut off by the unplugging finishes its cycle first.
    bus.FinishCycle();
    for (int i = 0; i < 6 && bus.Engine->UpsInfo[1].InputVolt[0] != 240.0; ++i)
        bus.Cycle(1);
    EXPECT_DOUBLE_EQ(bus.Engine->UpsInfo[1].InputVolt[0], 240.0);
    EXPECT_EQ(bus.Engine->UpsInfo[1].LinkState, kLinkOnline);
}

} // namespace
