// The polling engine at the pace of the bus against the simulator keeping
// the wire time of a real line, and what the fixed pace takes for the same.
//
//   orvan-buspace [--devices 252] [--units 250] [--baud 9600] [--turnaround 5]
//                 [--reply-timeout 500] [--fixed-requests 20] [--upssim PATH]
//
// Devices 1 to --devices are listed; the simulator answers as units 1 to
// --units (Modbus, every unit online). The program measures and prints:
//   - the time from the start until every answering unit is online with its
//     operating state logged (the state of its status block, not the Standby
//     its first block derives from words still 0);
//   - one full round once all are online (from the request of device 1's
//     first sub-request to the next), the wire time of the bytes exchanged
//     in it plus one turnaround per reply (the limit), and their ratio;
//   - the search of addresses 1 to --devices;
//   - the fixed pace: --fixed-requests requests timed and scaled to the
//     requests of one round, beside the figure of its rule (13 ticks of
//     100 ms per request).
#include "model/UpsInfoRules.h"
#include "protocol/TPollEngine.h"
#include "support/BenchBus.h"
#include "support/RunUntil.h"
#include "protocol/TSearchCursor.h"
#include "serial/LineTiming.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <set>
#include <vector>

namespace {

constexpr int kModbus = 2;
constexpr int kStopBits = 1;

// Every address of a range probed once, as the search window does it. The
// reply to the poll request still in flight when the search begins is
// reported too; the window lists an address once, and so does this.
struct RangeSearch : TSearchCursor {
    TEngineState &Engine;
    int Next;
    int Last;
    std::set<int> Found;

    RangeSearch(TEngineState &engine, int first, int last) : Engine(engine), Next(first), Last(last) {}
    std::uint8_t NextSearchAddr() override
    {
        if (Next > Last)
            Engine.SearchMode = 0;
        return static_cast<std::uint8_t>(Next++);
    }
    void AddressFound(std::uint8_t addr) override { Found.insert(addr); }
};

// One frame on the line, as the engine handed it over or received it.
struct TLineEvent {
    qint64 AtMs;
    bool Sent;
    QByteArray Bytes;
};

struct TRound {
    qint64 StartMs = 0;
    qint64 EndMs = 0;
    int BytesOnLine = 0;
    int Replies = 0;
    int Requests = 0;
};

bool IsFirstSubRequestOf(const QByteArray &frame, int addr)
{
    return frame.size() == 8 && static_cast<std::uint8_t>(frame[0]) == addr && frame[1] == 4
           && static_cast<std::uint8_t>(frame[2]) == 0x75 && frame[3] == 0x30;
}

// The round that starts at the first request of device 1's first
// sub-request sent at or after fromMs, up to the next one.
bool FindRound(const std::vector<TLineEvent> &events, qint64 fromMs, TRound *round)
{
    std::size_t start = events.size();
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].Sent && events[i].AtMs >= fromMs && IsFirstSubRequestOf(events[i].Bytes, 1)) {
            start = i;
            break;
        }
    }
    for (std::size_t i = start + 1; i < events.size(); ++i) {
        if (!(events[i].Sent && IsFirstSubRequestOf(events[i].Bytes, 1)))
            continue;
        *round = TRound{events[start].AtMs, events[i].AtMs, 0, 0, 0};
        for (std::size_t j = start; j < i; ++j) {
            round->BytesOnLine += static_cast<int>(events[j].Bytes.size());
            (events[j].Sent ? round->Requests : round->Replies) += 1;
        }
        return true;
    }
    return false;
}

double Seconds(qint64 ms)
{
    return ms / 1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption devicesOption("devices", "Devices listed, 1 to N.", "N", "252");
    const QCommandLineOption unitsOption("units", "Simulated units, 1 to N.", "N", "250");
    const QCommandLineOption baudOption("baud", "Baud rate.", "RATE", "9600");
    const QCommandLineOption turnaroundOption("turnaround", "Unit turnaround, ms.", "MS", "5");
    const QCommandLineOption timeoutOption("reply-timeout", "ReplyTimeout, ms.", "MS", "500");
    const QCommandLineOption fixedOption("fixed-requests", "Requests timed at the fixed pace.", "N", "20");
    const QCommandLineOption upssimOption("upssim", "The simulator program.", "PATH", ORVAN_UPSSIM);
    parser.addOptions({devicesOption, unitsOption, baudOption, turnaroundOption, timeoutOption, fixedOption,
                       upssimOption});
    parser.addHelpOption();
    parser.process(app);
    const int devices = parser.value(devicesOption).toInt();
    const int units = parser.value(unitsOption).toInt();
    const int baud = parser.value(baudOption).toInt();
    const int turnaroundMs = parser.value(turnaroundOption).toInt();
    const int fixedRequests = parser.value(fixedOption).toInt();

    QProcess sim;
    sim.start(parser.value(upssimOption),
              {"--protocol", "modbus", "--units", QStringLiteral("1-%1").arg(units), "--steady", "--baud",
               QString::number(baud), "--turnaround", QString::number(turnaroundMs)});
    if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 2;
    }
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();

    BenchBus bus;
    bus.Settings.PortInfo.ComName = port;
    bus.Settings.PortInfo.BaudRate = baud;
    bus.Settings.PortInfo.Protocol = kModbus;
    bus.Settings.PortInfo.PollMode = 1;
    bus.Settings.PortInfo.ReplyTimeout = parser.value(timeoutOption).toInt();
    bus.ListDevices(devices);

    QElapsedTimer clock;
    std::vector<TLineEvent> line;
    QObject::connect(&bus.Poll, &TPollEngine::frameSent, [&](const QByteArray &frame) {
        line.push_back({clock.elapsed(), true, frame});
    });
    QObject::connect(&bus.Poll, &TPollEngine::frameReceived, [&](const QByteArray &block) {
        line.push_back({clock.elapsed(), false, block});
    });

    // From the start: every answering unit online, its state logged.
    const auto allOnlineWithState = [&] {
        for (int addr = 1; addr <= units; ++addr) {
            const TUpsInfo &rec = bus.UpsInfo[addr];
            if (rec.LinkState != kLinkOnline || rec.PrevState != kStateOnline)
                return false;
        }
        return true;
    };
    clock.start();
    bus.Poll.Start();
    if (!bus.Poll.PortOpened()) {
        std::fprintf(stderr, "the port did not open\n");
        return 2;
    }
    if (!RunUntil(allOnlineWithState, 600000)) {
        std::fprintf(stderr, "not every unit came online with its state\n");
        return 1;
    }
    const qint64 allOnlineMs = clock.elapsed();

    // One full round with every unit online.
    TRound round;
    if (!RunUntil([&] { return FindRound(line, allOnlineMs, &round); }, 600000)) {
        std::fprintf(stderr, "no full round\n");
        return 1;
    }
    const double roundMs = round.EndMs - round.StartMs;
    const double limitMs = WireTimeMs(round.BytesOnLine, baud, kStopBits) + round.Replies * turnaroundMs;
    const int silentDevices = devices - units;

    // The whole address range searched, polling set aside meanwhile.
    RangeSearch search(bus.Engine, 1, devices);
    bus.Poll.SetSearchCursor(&search);
    const qint64 searchStartMs = clock.elapsed();
    bus.Engine.SearchMode = 255;
    RunUntil([&] { return bus.Engine.SearchMode == 0; }, 600000);
    const qint64 searchMs = clock.elapsed() - searchStartMs;
    bus.Poll.SetSearchCursor(nullptr);

    // The fixed pace, on the same bus: so many requests timed.
    bus.Settings.PortInfo.PollMode = 0;
    const int sentBefore = bus.Debug.SendCnt;
    RunUntil([&] { return bus.Debug.SendCnt > sentBefore; }, 10000);
    const qint64 fixedStartMs = clock.elapsed();
    const int fixedFrom = bus.Debug.SendCnt;
    RunUntil([&] { return bus.Debug.SendCnt >= fixedFrom + fixedRequests; }, 600000);
    const double perFixedRequestMs = double(clock.elapsed() - fixedStartMs) / fixedRequests;
    const double fixedRuleMs = 13 * TPollEngine::kTimerInterval;
    bus.Poll.Shutdown();
    sim.kill();
    sim.waitForFinished(5000);

    std::printf("bus: %d devices listed, %d answering, %d baud, turnaround %d ms, ReplyTimeout %d ms\n", devices,
                units, baud, turnaroundMs, bus.Settings.PortInfo.ReplyTimeout);
    std::printf("pace of the bus, one full round: %.2f s (%d requests, %d replies, %d bytes on the line)\n",
                Seconds(roundMs), round.Requests, round.Replies, round.BytesOnLine);
    std::printf("  wire time of its bytes plus turnarounds (the limit): %.2f s\n", Seconds(limitMs));
    std::printf("  ratio round / limit: %.3f (of it the %d silent devices' time-outs: %.2f s)\n", roundMs / limitMs,
                silentDevices,
                Seconds(silentDevices * (WireTimeMs(8, baud, kStopBits) + bus.Settings.PortInfo.ReplyTimeout)));
    std::printf("  from the start to every answering unit online with its state logged: %.2f s"
                " (1.5 x the limit: %.2f s)\n",
                Seconds(allOnlineMs), Seconds(1.5 * limitMs));
    std::printf("search of addresses 1 to %d: %.2f s, %d found\n", devices, Seconds(searchMs),
                static_cast<int>(search.Found.size()));
    std::printf("fixed pace: %.0f ms a request measured over %d requests; the same round of %d requests: %.1f s"
                " measured and scaled, %.1f s by the rule (%.0f ms a request), %.1f times the pace of the bus\n",
                perFixedRequestMs, fixedRequests, round.Requests, Seconds(perFixedRequestMs * round.Requests),
                Seconds(fixedRuleMs * round.Requests), fixedRuleMs, perFixedRequestMs * round.Requests / roundMs);
    return 0;
}
