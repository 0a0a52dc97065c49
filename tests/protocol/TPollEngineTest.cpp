#include "protocol/TPollEngine.h"

#include "app/TSettings.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "model/UpsInfoRules.h"
#include "protocol/TDiagCounters.h"
#include "protocol/TSearchCursor.h"
#include "serial/ECommsError.h"
#include "support/BusFixture.h"
#include "support/EventWait.h"
#include "serial/LineTiming.h"
#include "support/PtyPair.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <map>
#include <vector>

namespace {

// A UPS on the other side of the engine: answers a read with the registers
// it holds (0 for the rest) and echoes writes.
struct FakeUps {
    std::uint8_t Addr = 1;
    std::map<std::uint32_t, std::uint16_t> Registers;
    std::vector<QByteArray> Received;

    // The reply to a frame, or nothing when the frame is not for this unit.
    QByteArray Answer(const QByteArray &frame)
    {
        if (frame.size() < 8 || static_cast<std::uint8_t>(frame[0]) != Addr)
            return {};
        Received.push_back(frame);
        const auto func = static_cast<std::uint8_t>(frame[1]);
        if (func != 3 && func != 4)
            return frame;
        const auto word = [&](int i) {
            return static_cast<std::uint32_t>((static_cast<std::uint8_t>(frame[i]) << 8) |
                                              static_cast<std::uint8_t>(frame[i + 1]));
        };
        const std::uint32_t start = word(2) + 1;
        std::vector<std::uint16_t> values;
        for (std::uint32_t reg = start; reg < start + word(4); ++reg)
            values.push_back(Registers.count(reg) ? Registers.at(reg) : 0);
        return ModbusReadReply(Addr, func, values);
    }
};

// A search over a fixed range, as the search window runs it.
struct RangeSearch : TSearchCursor {
    TEngineState &Engine;
    int Cur;
    int Last;
    std::vector<int> Found;

    RangeSearch(TEngineState &engine, int first, int last)
        : Engine(engine), Cur(first - 1), Last(last)
    {
    }
    std::uint8_t NextSearchAddr() override
    {
        ++Cur;
        if (Cur > Last)
            Engine.SearchMode = 0;
        return static_cast<std::uint8_t>(Cur);
    }
    void AddressFound(std::uint8_t addr) override { Found.push_back(addr); }
};

struct EngineFixture : BusFixture {
    QTemporaryDir Dir;
    TDateTime Now = EncodeDateTime(QDate(2026, 3, 1), QTime(12, 0, 0, 400));
    TClock Clock = [this] { return Now; };
    TSettings Settings;
    TEventLog EventLog{Dir.filePath("Record"), "EventLog.dat", Dir.filePath("Backup"), Clock};
    TDataLog DataLog{Dir.filePath("Record")};
    TDiagCounters Diag;
    TPollEngine Poll{Context, Settings, EventLog, DataLog, Diag, Clock};
    std::vector<QByteArray> Sent;

    EngineFixture()
    {
        Settings.PortInfo.Protocol = 2;
        QObject::connect(&Poll, &TPollEngine::frameSent,
                         [this](const QByteArray &frame) { Sent.push_back(frame); });
    }

    void Deliver(const QByteArray &block)
    {
        Poll.Comm1ReceiveData(reinterpret_cast<const std::uint8_t *>(block.constData()),
                              static_cast<int>(block.size()));
    }

    // Runs poll steps; the unit answers each frame at once. Returns the
    // 1-based steps in which a frame went out.
    std::vector<int> Run(int steps, FakeUps *ups = nullptr)
    {
        std::vector<int> sendSteps;
        for (int step = 1; step <= steps; ++step) {
            const std::size_t before = Sent.size();
            Poll.PollStep();
            if (Sent.size() == before)
                continue;
            sendSteps.push_back(step);
            if (ups) {
                const QByteArray reply = ups->Answer(Sent.back());
                if (!reply.isEmpty())
                    Deliver(reply);
            }
        }
        return sendSteps;
    }

    // How many events of this kind and code were logged.
    int EventCount(int kind, int code) const
    {
        int count = 0;
        for (const TEventRec &rec : EventLog.ReadAllEvents())
            count += rec.Kind == kind && rec.Code == code;
        return count;
    }

    // (kind, code, flag) of every logged event, oldest first.
    std::vector<std::tuple<int, int, int>> Events() const
    {
        std::vector<std::tuple<int, int, int>> out;
        for (const TEventRec &rec : EventLog.ReadAllEvents())
            out.emplace_back(rec.Kind, rec.Code, rec.Flag);
        return out;
    }
};

TEST(TPollEngineTest, EachRequestIsSentMaxReSendMinusOneTimesAnsweredOrNot)
{
    const struct {
        int maxReSend;
        std::vector<int> sendSteps;
    } cases[] = {
        {2, {2, 15, 28}},     // build, send, 10 waits, give up: 13 steps a request
        {3, {2, 13, 26, 37}}, // twice, 11 steps apart, although answered
        {1, {}},
        {0, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.maxReSend);
        EngineFixture f;
        f.AddDevices({1});
        f.Settings.PortInfo.MaxReSend = static_cast<std::uint8_t>(c.maxReSend);
        FakeUps ups;
        ups.Addr = 0; // the very first request goes to address 0
        EXPECT_EQ(f.Run(40, &ups), c.sendSteps);
    }
}

TEST(TPollEngineTest, UnitThatFallsSilentIsLoggedLostOnce)
{
    EngineFixture f;
    f.AddDevices({1, 2});
    FakeUps ups;
    ups.Addr = 2;
    f.Run(13 * 12, &ups);
    ASSERT_EQ(f.UpsInfo[2].LinkState, kLinkOnline);

    ups.Addr = 99; // unplugged
    f.Run(13 * 250, &ups);
    EXPECT_EQ(f.UpsInfo[2].LinkState, kLinkLost);
    EXPECT_EQ(f.UpsInfo[2].NoReplyCnt, 100);
    EXPECT_EQ(f.EventCount(0, 18), 1) << "Communication lost";
}

TEST(TPollEngineTest, ValidReplyRunsLinkStateAndAlarmRulesInOrder)
{
    EngineFixture f;
    f.AddDevices({1});
    FakeUps ups;
    ups.Registers = {{30084, 0x0080}, {30086, 0x0001}}; // bypass, alarm code 15
    f.Run(13 * 8, &ups);

    using Ev = std::tuple<int, int, int>;
    const std::vector<Ev> expected = {
        {0, 22, 255},          // Communication upbuilt
        {1, kStateFault, 255}, // once the status block with its alarm word is read
        {2, 15, 1},
    };
    EXPECT_EQ(f.Events(), expected);
    EXPECT_EQ(f.UpsInfo[1].RxCnt, f.UpsInfo[1].OkCnt);

    // An invalid block counts as received, but runs no rule.
    const int rxBefore = f.UpsInfo[1].RxCnt;
    f.Deliver(QByteArray::fromHex("01040000"));
    EXPECT_EQ(f.Debug.InvalidFrameCnt[0], 1);
    EXPECT_EQ(f.UpsInfo[1].RxCnt, rxBefore + 1);
}

TEST(TPollEngineTest, UnknownProtocolSendsNothingAndRejectsEveryBlock)
{
    EngineFixture f;
    f.AddDevices({1});
    f.Settings.PortInfo.Protocol = 5;
    EXPECT_TRUE(f.Run(30).empty());
    f.Deliver(ModbusReadReply(0, 4, std::vector<std::uint16_t>(14, 0)));
    EXPECT_EQ(f.Debug.AckCnt, 1);
    EXPECT_EQ(f.Debug.InvalidFrameCnt[0], 1);
    EXPECT_EQ(f.Engine.ReqPending, 0);
}

TEST(TPollEngineTest, NoCommandGoesToTheBroadcastAddressAndNoPollBeyond252)
{
    EngineFixture f;
    f.AddDevices({0, 253, 7});
    f.CmdQueue.Queue(1, 0, 6, 20003, 1); // a command with no device selected
    f.Run(13 * 8);
    ASSERT_FALSE(f.Sent.empty());
    for (const QByteArray &frame : f.Sent) {
        EXPECT_NE(static_cast<quint8>(frame[1]), 6) << HexOf(frame).toStdString();
        EXPECT_NE(static_cast<quint8>(frame[0]), 253) << HexOf(frame).toStdString();
    }
    EXPECT_FALSE(f.CmdQueue.AnyPending());
}

TEST(TPollEngineTest, SearchProbesTheRangeThenSendsTheCommandQueuedMeanwhile)
{
    EngineFixture f;
    f.AddDevices({1});
    RangeSearch search(f.Engine, 5, 6);
    f.Poll.SetSearchCursor(&search);
    f.Engine.SearchMode = 255;
    f.CmdQueue.Queue(1, 1, 6, 20003, 1);
    f.CmdQueue.ControlValue = 10;
    FakeUps ups;
    ups.Addr = 6;

    f.Run(13 * 2 + 1, &ups);
    ASSERT_EQ(f.Sent.size(), 2u);
    EXPECT_EQ(HexOf(f.Sent[0].left(2)), "05 04");
    EXPECT_EQ(HexOf(f.Sent[1].left(2)), "06 04");
    EXPECT_EQ(search.Found, std::vector<int>{6});
    EXPECT_EQ(f.Engine.PollStepCode, TPollEngine::StepSearchEnded);
    EXPECT_TRUE(f.CmdQueue.AnyPending());

    f.Run(2);
    ASSERT_EQ(f.Sent.size(), 3u);
    EXPECT_EQ(HexOf(f.Sent[2].left(6)), "01 06 4E 22 00 0A");
}

TEST(TPollEngineTest, DataLogWritesOnlineDevicesInListOrderAtTheInterval)
{
    EngineFixture f;
    f.Settings.RecInterval = 600;
    f.AddDevices({5, 3, 2});
    const auto tick = [&](int seconds) {
        f.Now += seconds / 86400.0;
        f.Poll.Timer1Timer();
    };

    tick(0);
    // Measured from day 0, far more seconds than 32 bits hold.
    EXPECT_EQ(f.Poll.LogElapsed, std::numeric_limits<std::int32_t>::max());
    EXPECT_FALSE(QDir(f.Dir.filePath("Record")).exists("DataLog2026_03.dat"));

    f.UpsInfo[5].LinkState = kLinkOnline;
    f.UpsInfo[2].LinkState = kLinkOnline;
    f.UpsInfo[3].LinkState = kLinkError;
    f.UpsInfo[5].InputVolt[0] = 220.5;
    tick(59);
    EXPECT_EQ(f.Poll.LogElapsed, 59);
    tick(1);
    EXPECT_EQ(f.Poll.LogElapsed, 60);

    const auto records = TDataLog::ReadDataFile(f.DataLog.MonthFilePath(f.Now));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Addr, 5);
    EXPECT_EQ(records[0].InputVolt[0], 220.5);
    EXPECT_EQ(records[1].Addr, 2);
    EXPECT_EQ(FormatDateTime(records[1].Time), "2026-03-01 12:01:00");
    EXPECT_EQ(records[0].Time, records[1].Time);

    EXPECT_EQ(f.Diag[1], TPollEngine::kTimerInterval);
    EXPECT_EQ(f.Diag[11], 3);
}

TEST(TPollEngineTest, StartAndShutdownAreLoggedOnce)
{
    EngineFixture f;
    int failures = 0;
    QObject::connect(&f.Poll, &TPollEngine::portOpenFailed, [&] { ++failures; });
    f.Settings.PortInfo.ComName = "COMX"; // names no port: nothing opened, nothing reported
    f.Poll.Start();
    EXPECT_FALSE(f.Poll.PortOpened());
    EXPECT_EQ(failures, 0);

    f.Settings.PortInfo.ComName = f.Dir.filePath("no-such-tty");
    EXPECT_THROW(f.Poll.OpenPort(), ECommsError);
    f.Poll.Shutdown();
    f.Poll.Shutdown();

    using Ev = std::tuple<int, int, int>;
    EXPECT_EQ(f.Events(), (std::vector<Ev>{{0, 20, 255}, {0, 21, 255}}));
}

TEST(TPollEngineTest, FailedOpenAtStartIsReportedAndTheEngineIdles)
{
    EngineFixture f;
    int failures = 0;
    QObject::connect(&f.Poll, &TPollEngine::portOpenFailed, [&] { ++failures; });
    f.Settings.PortInfo.ComName = f.Dir.filePath("no-such-tty");
    f.Settings.PortInfo.StopBits = 3;
    f.Poll.Start();
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(f.Settings.PortInfo.StopBits, 1);
    f.Poll.Timer1Timer();
    EXPECT_TRUE(f.Sent.empty());
}

TEST(TPollEngineTest, UnpluggedPortIsSeenClosedAndPollingStops)
{
    EngineFixture f;
    PtyPair line;
    f.AddDevices({1});
    f.Settings.PortInfo.ComName = line.SlavePath();
    std::vector<bool> portStates;
    QObject::connect(&f.Poll, &TPollEngine::portStateChanged,
                     [&](bool opened) { portStates.push_back(opened); });
    f.Poll.OpenPort();
    ASSERT_TRUE(f.Poll.PortOpened());
    f.Poll.Timer1Timer();
    f.Poll.Timer1Timer();
    ASSERT_EQ(f.Sent.size(), 1u);
    ASSERT_TRUE(WaitUntil([&] { return !line.ReadAvailableFromMaster().isEmpty(); }));

    line.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return !f.Poll.PortOpened(); }));
    EXPECT_EQ(portStates, (std::vector<bool>{true, false}));
    for (int i = 0; i < 30; ++i)
        f.Poll.Timer1Timer();
    EXPECT_EQ(f.Sent.size(), 1u);
}

TEST(TPollEngineTest, ABlockThatBeganBeforeItsRequestWasSentIsNotDecoded)
{
    EngineFixture f;
    f.AddDevices({1});
    qint64 now = 1000;
    f.Poll.SetLineClock([&] { return now; });
    FakeUps ups;
    ups.Addr = 0; // the very first request goes to address 0
    ups.Registers = {{30001, 2200}};

    f.Poll.PollStep(); // built, to go out on the next tick
    const QByteArray request = Bytes(f.Engine.TxBuf.data(), f.Engine.TxLen);
    // A late reply to some earlier request lands before this one is sent...
    f.Deliver(ups.Answer(request));
    EXPECT_EQ(f.UpsInfo[0].OkCnt, 0);
    now = 1100;
    f.Poll.PollStep();
    ASSERT_EQ(f.Sent.size(), 1u);
    // ...or began to before it and ended after.
    const QByteArray reply = ups.Answer(request);
    f.Poll.Comm1ReceiveData(reinterpret_cast<const std::uint8_t *>(reply.constData()),
                            static_cast<int>(reply.size()), 1099);
    EXPECT_EQ(f.UpsInfo[0].OkCnt, 0);
    EXPECT_EQ(f.UpsInfo[0].InputVolt[0], 0.0);
    EXPECT_EQ(f.Debug.StrayReplyCnt, 2);
    EXPECT_EQ(f.Debug.InvalidFrameCnt[0], 2);
    EXPECT_EQ(f.UpsInfo[0].RxCnt, 2);

    // The reply that began once the request was out is its answer.
    f.Poll.Comm1ReceiveData(reinterpret_cast<const std::uint8_t *>(reply.constData()),
                            static_cast<int>(reply.size()), 1100);
    EXPECT_EQ(f.UpsInfo[0].OkCnt, 1);
    EXPECT_DOUBLE_EQ(f.UpsInfo[0].InputVolt[0], 220.0);
}

// The engine at the pace of the bus, on a real line where nobody answers:
// the test plays the unit by handing its replies to the engine, and stands
// in for the pace's timers by calling what they call when they run out.
struct PacedEngine : EngineFixture {
    PtyPair Line;

    PacedEngine()
    {
        Settings.PortInfo.PollMode = 1;
        Settings.PortInfo.ComName = Line.SlavePath();
        Poll.OpenPort();
    }

    // The unit answers the last frame sent, if it is for it.
    void Answer(FakeUps &ups)
    {
        const QByteArray reply = ups.Answer(Sent.back());
        if (!reply.isEmpty())
            Deliver(reply);
    }

    // Start registers of the frames sent, as "addr:register".
    std::vector<std::string> Requests() const
    {
        std::vector<std::string> out;
        for (const QByteArray &frame : Sent) {
            const int reg = ((static_cast<std::uint8_t>(frame[2]) << 8) | static_cast<std::uint8_t>(frame[3])) + 1;
            out.push_back(std::to_string(static_cast<std::uint8_t>(frame[0])) + ":" + std::to_string(reg));
        }
        return out;
    }
};

TEST(TPollEngineTest, AtTheBusPaceAValidReplyEndsTheWaitAndTheNextRequestFollowsTheSilence)
{
    PacedEngine f;
    ASSERT_TRUE(f.Poll.PortOpened());
    f.AddDevices({1});
    FakeUps ups;

    f.Poll.Timer1Timer(); // the tick finds nothing under way and starts the cycle
    ASSERT_EQ(f.Sent.size(), 1u);
    EXPECT_TRUE(f.Poll.Pace().AwaitingReply());
    EXPECT_EQ(f.Engine.WaitTicks, 0);
    for (int i = 0; i < 20; ++i)
        f.Poll.Timer1Timer(); // ticks send nothing while a reply is awaited
    EXPECT_EQ(f.Sent.size(), 1u);

    f.Poll.ReplyTimedOut(); // nobody at address 0
    for (int exchange = 0; exchange < 5; ++exchange) {
        f.Answer(ups);
        EXPECT_EQ(f.Engine.ReqPending, 0);
        EXPECT_FALSE(f.Poll.Pace().AwaitingReply());
        EXPECT_TRUE(f.Poll.Pace().FreeingLine());
        f.Poll.Timer1Timer(); // nor while the line falls silent
        f.Poll.StepAtBusPace(); // the line is free
    }
    EXPECT_EQ(f.Requests(), (std::vector<std::string>{"0:30001", "1:30001", "1:30021", "1:30081", "1:40001",
                                                      "1:30001", "1:30021"}));
    EXPECT_EQ(f.UpsInfo[1].TxCnt, 6);
    EXPECT_EQ(f.UpsInfo[1].OkCnt, 5);
    EXPECT_EQ(f.Engine.PollStepCode, TPollEngine::StepWaitOver);
}

TEST(TPollEngineTest, AtTheBusPaceAnUnansweredRequestGoesOutMaxReSendMinusOneTimes)
{
    for (const int maxReSend : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(maxReSend);
        PacedEngine f;
        f.AddDevices({1});
        f.Settings.PortInfo.MaxReSend = static_cast<std::uint8_t>(maxReSend);
        f.Poll.StepAtBusPace();
        for (int i = 0; i < 6; ++i)
            f.Poll.ReplyTimedOut();
        const std::vector<std::string> requests = f.Requests();
        const auto toZero = std::count(requests.begin(), requests.end(), "0:30001");
        EXPECT_EQ(toZero, std::max(0, maxReSend - 1));
    }
}

TEST(TPollEngineTest, AtTheBusPaceOnlyTheValidReplyEndsTheWait)
{
    PacedEngine f;
    f.AddDevices({1});
    f.Settings.PortInfo.MaxReSend = 3;
    FakeUps ups;
    ups.Addr = 0;
    f.Poll.StepAtBusPace();

    // A block that began before the request left, garbage, another
    // unit's reply: the reply asked for may still come.
    const QByteArray reply = ups.Answer(f.Sent.back());
    f.Poll.Comm1ReceiveData(reinterpret_cast<const std::uint8_t *>(reply.constData()),
                            static_cast<int>(reply.size()), LineClockMs() - 1000);
    f.Deliver(QByteArray::fromHex("00ff7e55"));
    f.Deliver(ModbusReadReply(7, 4, std::vector<std::uint16_t>(14, 0)));
    EXPECT_TRUE(f.Poll.Pace().AwaitingReply());
    EXPECT_EQ(f.Sent.size(), 1u);

    // No valid reply in time: the request goes again.
    f.Poll.ReplyTimedOut();
    ASSERT_EQ(f.Sent.size(), 2u);
    EXPECT_EQ(f.Sent[1], f.Sent[0]);

    // Answered: a second copy of the reply answers nothing, and the
    // request is not sent a third time.
    f.Answer(ups);
    EXPECT_FALSE(f.Poll.Pace().AwaitingReply());
    const int okCnt = f.UpsInfo[0].OkCnt;
    f.Answer(ups);
    EXPECT_EQ(f.UpsInfo[0].OkCnt, okCnt);
    EXPECT_EQ(f.Debug.StrayReplyCnt, 2);
    f.Poll.StepAtBusPace();
    EXPECT_EQ(f.Requests().back(), "1:30001");
}

TEST(TPollEngineTest, AtTheBusPaceASilentUnitIsLostByTheSameCounts)
{
    PacedEngine f;
    f.AddDevices({1});
    FakeUps ups;
    f.Poll.StepAtBusPace();
    f.Poll.ReplyTimedOut(); // address 0
    f.Answer(ups);
    f.Poll.StepAtBusPace();
    ASSERT_EQ(f.UpsInfo[1].LinkState, kLinkOnline);

    std::vector<int> linkStates;
    for (int i = 0; i < 12; ++i) {
        f.Poll.ReplyTimedOut();
        linkStates.push_back(f.UpsInfo[1].LinkState);
    }
    EXPECT_EQ(linkStates, (std::vector<int>{0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(f.EventCount(0, 18), 1) << "Communication lost";
}

TEST(TPollEngineTest, ThePaceCanBeChangedInTheMiddleOfACycle)
{
    PacedEngine f;
    f.AddDevices({1});
    f.Poll.Timer1Timer();
    ASSERT_EQ(f.Sent.size(), 1u);

    // To the fixed pace while a reply is awaited: the request is given up
    // on the next tick and the ticks take over.
    f.Settings.PortInfo.PollMode = 0;
    f.Poll.Timer1Timer();
    EXPECT_FALSE(f.Poll.Pace().AwaitingReply());
    EXPECT_EQ(f.Run(13).size(), 1u);
    ASSERT_EQ(f.Sent.size(), 2u);

    // And back, in the middle of the ten waiting ticks.
    f.Settings.PortInfo.PollMode = 1;
    for (int i = 0; i < 10 && f.Sent.size() == 2u; ++i)
        f.Poll.Timer1Timer();
    EXPECT_EQ(f.Sent.size(), 3u);
    EXPECT_TRUE(f.Poll.Pace().AwaitingReply());
}

} // namespace
