// What one request costs the engine's thread with a full bus: 252 online
// units with five alarms each, answered as /metrics and /api/devices.
#include "app/TSettings.h"
#include "log/TEventLog.h"
#include "log/TEventRec.h"
#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"
#include "model/TUpsInfoTable.h"
#include "protocol/TCommDebug.h"
#include "protocol/TEngineState.h"
#include "service/DeviceJson.h"
#include "service/MetricsText.h"
#include "service/THttpData.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct FullBus {
    QTemporaryDir Dir;
    TDeviceList Devices;
    TUpsInfoTable Records;
    TSettings Settings;
    TCommDebug Debug;
    TEngineState Engine;
    TEventLog Log{Dir.filePath("Record"), "EventLog.dat", Dir.filePath("Backup")};
    THttpData Data{Devices, Records, Settings, Debug, Engine, Log, [] { return true; }, [] { return true; }};

    FullBus()
    {
        Settings.PortInfo.Protocol = 2;
        for (int addr = 1; addr <= TDeviceList::kCapacity; ++addr) {
            Devices.AddDevice(TDeviceNode::Make(static_cast<quint8>(addr), QStringLiteral("UPS %1").arg(addr)));
            TUpsInfo &rec = Records[addr];
            rec.LinkState = kLinkOnline;
            rec.State = 4;
            for (int phase = 0; phase < 3; ++phase) {
                rec.InputVolt[phase] = 220.1 + phase;
                rec.OutputVolt[phase] = 230.2;
                rec.LoadPercent[phase] = 41.0;
            }
            for (int i = 0; i < 5; ++i)
                rec.AlarmList[i] = i * 3;
            rec.AlarmCount = 5;
            rec.LastReplyMs = 1767268800000 + addr;
        }
    }
};

// One body for the whole bus, built as a request builds it.
void BuildBody(benchmark::State &state, QByteArray (*build)(const THttpData &))
{
    FullBus bus;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray body = build(bus.Data);
        bytes = body.size();
        benchmark::DoNotOptimize(body.data());
    }
    state.counters["body_bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(BuildBody, Metrics252, &MetricsText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildBody, Devices252, &DevicesJson)->Unit(benchmark::kMillisecond);

// The newest 1000 of a full event log, read from its file each time.
void Events1000Of5001(benchmark::State &state)
{
    FullBus bus;
    TEventRec rec;
    for (int i = 0; i < TEventLog::kMaxRecords; ++i) {
        rec.Addr = static_cast<std::uint8_t>(i % 252 + 1);
        rec.Kind = kEventKindAlarm;
        rec.Code = i % 20;
        rec.Flag = static_cast<std::uint8_t>(i % 2);
        bus.Log.AppendEvent(rec);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(EventsJson(bus.Log.ReadAllEvents(), bus.Devices, 1000).data());
}
BENCHMARK(Events1000Of5001)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
