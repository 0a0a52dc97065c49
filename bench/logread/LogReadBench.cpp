// Reading a whole month file as the data log viewer does, and appending one
// event record as the poll path does, against the cost of the bytes alone.
#include "log/TDataLog.h"
#include "log/TEventLog.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString WriteMonthFile(const QTemporaryDir &dir, int records)
{
    const QString path = dir.filePath(QStringLiteral("DataLog2026_01.dat"));
    QByteArray bytes(records * TDataRec::kSize, '\0');
    TDataRec rec;
    rec.Time = 46023.5;
    for (int i = 0; i < records; ++i) {
        rec.Addr = static_cast<std::uint8_t>(i % 252 + 1);
        rec.InputVolt[0] = i;
        rec.WriteTo(reinterpret_cast<std::uint8_t *>(bytes.data()) + i * TDataRec::kSize);
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

void ReadMonthFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = WriteMonthFile(dir, static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TDataLog::ReadDataFile(path));
    state.SetBytesProcessed(state.iterations() * state.range(0) * TDataRec::kSize);
}
BENCHMARK(ReadMonthFile)->Arg(100000)->Unit(benchmark::kMillisecond);

void ReadMonthFileBytesOnly(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = WriteMonthFile(dir, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * TDataRec::kSize);
}
BENCHMARK(ReadMonthFileBytesOnly)->Arg(100000)->Unit(benchmark::kMillisecond);

void AppendEvent(benchmark::State &state)
{
    QTemporaryDir dir;
    TEventLog log(dir.filePath(QStringLiteral("Record")), QStringLiteral("EventLog.dat"),
                  dir.filePath(QStringLiteral("Backup")), [] { return 46023.5; });
    TEventRec rec;
    rec.Kind = kEventKindAlarm;
    for (auto _ : state)
        benchmark::DoNotOptimize(log.AppendEvent(rec));
}
BENCHMARK(AppendEvent)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
