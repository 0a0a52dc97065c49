// The polling engine on buses behind the network, against peers that are
// not ours: a pymodbus Modbus TCP server, and socat relaying a TCP port to
// the simulator's serial line as a serial device server would. Real time,
// loopback only.
#include "protocol/TPollEngine.h"

#include "log/TEventRec.h"
#include "model/TUpsInfo.h"
#include "support/EngineOnSim.h"
#include "support/EventWait.h"
#include "support/LoopbackPort.h"
#include "support/PeerProcess.h"
#include "support/TestPaths.h"
#include "support/UpsSimProcess.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kModbusProtocol = 2;
constexpr int kYdtProtocol = 0;

// The engine at the pace of the bus on a network port, quick to declare a
// silent unit lost.
std::unique_ptr<EngineOnSim> NetworkEngine(const QString &portName, std::initializer_list<std::uint8_t> devices,
                                           int protocol = kModbusProtocol)
{
    auto engine = std::make_unique<EngineOnSim>(portName, protocol);
    engine->Settings.RecInterval = 0;
    engine->Settings.PortInfo.PollMode = 1;
    engine->Settings.PortInfo.ReplyTimeout = 200;
    engine->Settings.PortInfo.CommErrCnt = 2;
    engine->Settings.PortInfo.CommLostCnt = 3;
    engine->AddDevices(devices);
    return engine;
}

bool AllInLinkState(const EngineOnSim &engine, std::initializer_list<int> addrs, std::uint8_t state)
{
    return std::all_of(addrs.begin(), addrs.end(), [&](int a) { return engine.UpsInfo[a].LinkState == state; });
}

std::vector<int> LinkEvents(const EngineOnSim &engine, int addr)
{
    std::vector<int> codes;
    const std::map<int, std::vector<LoggedEvent>> events = EventsByAddress(engine.EventLog);
    const auto found = events.find(addr);
    if (found == events.end())
        return codes;
    for (const auto &[kind, code, flag] : found->second)
        if (code == kEventCommUpbuilt || code == kEventCommLost)
            codes.push_back(code);
    return codes;
}

} // namespace

TEST(NetworkBus, UnitsBehindAnIndependentModbusTcpServerAreReadAndAMissingOneStaysLost)
{
    PeerProcess server;
    ASSERT_TRUE(server.Start(QStringLiteral("/usr/bin/python3"), {TestDataPath(QStringLiteral("modbus_tcp_server.py")), "1,2"}))
        << server.ErrorText().toStdString();
    const QString port = server.AwaitOutput(QRegularExpression(QStringLiteral("listening on (\\d+)")));
    ASSERT_FALSE(port.isEmpty()) << server.ErrorText().toStdString()
                                 << " (scripts/deps.sh installs Debian's python3-pymodbus)";

    auto engine = NetworkEngine(QStringLiteral("modbus-tcp://127.0.0.1:") + port, {1, 2, 3});
    engine->Poll.Start();
    ASSERT_TRUE(engine->Poll.PortOpened());
    ASSERT_TRUE(WaitUntil([&] { return engine->UpsInfo[1].OkCnt >= 8 && engine->UpsInfo[2].OkCnt >= 8; }, 30000));

    // Input registers 30001-30003 of unit N hold 2200 + 10 N + i: tenths of a volt.
    for (int unit : {1, 2}) {
        const TUpsInfo &rec = engine->UpsInfo[unit];
        EXPECT_EQ(rec.LinkState, kLinkOnline) << unit;
        for (int phase = 0; phase < 3; ++phase)
            EXPECT_DOUBLE_EQ(rec.InputVolt[phase], (2200 + 10 * unit + phase) / 10.0) << unit << "/" << phase;
    }
    EXPECT_NE(engine->UpsInfo[3].LinkState, kLinkOnline) << "the server has no unit 3";
    EXPECT_EQ(engine->Debug.RepliesInvalidTotal, 0u);
    EXPECT_EQ(engine->Poll.Comm1().LinkStatus().Phase, TLinkPhase::Connected);
}

TEST(NetworkBus, UnitsBehindARawTcpTunnelAreLostWhileItIsDownAndPolledAgainWhenItReturns)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "modbus", "--units", "1,2", "--steady"})) << sim.ErrorText().toStdString();
    const quint16 port = FreeLoopbackPort();
    PeerProcess socat;
    ASSERT_TRUE(StartSocatTunnel(socat, port, sim.PortPath())) << socat.ErrorText().toStdString()
                                                          << " (scripts/deps.sh installs Debian's socat)";

    auto engine = NetworkEngine(QStringLiteral("tcp://127.0.0.1:%1").arg(port), {1, 2});
    engine->Poll.Start();
    ASSERT_TRUE(WaitUntil([&] { return AllInLinkState(*engine, {1, 2}, kLinkOnline); }, 30000));
    EXPECT_DOUBLE_EQ(engine->UpsInfo[1].InputVolt[0], 220.0);

    // The tunnel goes down: the port stays open, the units are declared lost.
    const std::vector<int> eventsBefore[] = {{}, LinkEvents(*engine, 1), LinkEvents(*engine, 2)};
    socat.Kill();
    ASSERT_TRUE(WaitUntil([&] { return AllInLinkState(*engine, {1, 2}, kLinkLost); }, 60000));
    EXPECT_TRUE(engine->Poll.PortOpened());
    EXPECT_NE(engine->Poll.Comm1().LinkStatus().Phase, TLinkPhase::Connected);

    // It comes back: nobody touches the engine, and the units return.
    ASSERT_TRUE(StartSocatTunnel(socat, port, sim.PortPath())) << socat.ErrorText().toStdString();
    QElapsedTimer sinceReturn;
    sinceReturn.start();
    const std::uint64_t validBefore = engine->Debug.RepliesValidTotal;
    ASSERT_TRUE(WaitUntil([&] { return engine->Debug.RepliesValidTotal > validBefore; }, 40000));
    const qint64 firstReplyMs = sinceReturn.elapsed();
    ASSERT_TRUE(WaitUntil([&] { return AllInLinkState(*engine, {1, 2}, kLinkOnline); }, 30000));
    std::printf("[ figures  ] tunnel back to first valid reply: %lld ms; to both units online: %lld ms\n",
                static_cast<long long>(firstReplyMs), static_cast<long long>(sinceReturn.elapsed()));

    for (int unit : {1, 2}) {
        std::vector<int> expected = eventsBefore[unit];
        expected.insert(expected.end(), {kEventCommLost, kEventCommUpbuilt});
        EXPECT_EQ(LinkEvents(*engine, unit), expected) << unit;
    }
}

TEST(NetworkBus, ALateModbusTcpReplyIsCountedAsStrayAndNeverTakenForTheNextRequest)
{
    // Unit 1 answers 350 ms late, after the engine gave up on each request
    // (200 ms) and sent the next one.
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "modbus", "--units", "1,2", "--steady", "--modbus-tcp", "127.0.0.1:0",
                           "--set", "1:delay=350", "--set", "2:mains=231"}))
        << sim.ErrorText().toStdString();
    ASSERT_TRUE(sim.PortPath().startsWith("modbus-tcp://127.0.0.1:")) << sim.PortPath().toStdString();

    auto engine = NetworkEngine(sim.PortPath(), {1, 2});
    engine->Poll.Start();
    ASSERT_TRUE(WaitUntil([&] { return engine->UpsInfo[2].OkCnt >= 8 && engine->Debug.StrayReplyCnt >= 3; }, 30000));
    EXPECT_EQ(engine->UpsInfo[2].LinkState, kLinkOnline);
    EXPECT_DOUBLE_EQ(engine->UpsInfo[2].InputVolt[0], 231.0);
    EXPECT_EQ(engine->UpsInfo[1].OkCnt, 0) << "a late reply was taken";
    EXPECT_NE(engine->UpsInfo[1].LinkState, kLinkOnline);
    EXPECT_EQ(engine->Debug.RepliesInvalidTotal, 0u) << "no late reply reached a decoder";
}

TEST(NetworkBus, AnAsciiProtocolTravelsOverRawTcpAsOnTheLine)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "ydt", "--units", "1", "--steady", "--listen", "127.0.0.1:0", "--set",
                           "1:mains=228"}))
        << sim.ErrorText().toStdString();
    auto engine = NetworkEngine(sim.PortPath(), {1}, kYdtProtocol);
    engine->Poll.Start();
    ASSERT_TRUE(WaitUntil([&] { return engine->UpsInfo[1].OkCnt >= 5; }, 30000));
    EXPECT_EQ(engine->UpsInfo[1].LinkState, kLinkOnline);
    EXPECT_DOUBLE_EQ(engine->UpsInfo[1].InputVolt[0], 228.0);
    EXPECT_EQ(engine->Debug.RepliesInvalidTotal, 0u);
}
