#include "SiteDataLog.h"

#include "log/TRecFilter.h"

#include <QFile>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace {

// A well-mixed 64-bit hash: the pseudo-random parts of the site.
std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Uniform in [0, 1) for the key.
double Unit(std::uint64_t a, std::uint64_t b, std::uint64_t c = 0)
{
    return static_cast<double>(Mix(a * 1000003 + Mix(b * 7919 + c)) >> 11) / 9007199254740992.0;
}

constexpr double kMinutesPerDay = 1440;

struct TDayEvent {
    double Start = 0;  // minute of the day
    double Length = 0; // minutes; 0 when there is none
    bool Holds(double minute) const { return Length > 0 && minute >= Start && minute < Start + Length; }
};

// About one day in twelve the mains fail for 20 to 110 minutes.
TDayEvent MainsFailure(std::uint8_t addr, qint64 day)
{
    if (Unit(addr, day, 1) >= 1.0 / 12)
        return {};
    return {Unit(addr, day, 2) * (kMinutesPerDay - 120), 20 + Unit(addr, day, 3) * 90};
}

// About one day in nine the unit is off the bus for 1 to 9 hours.
TDayEvent OfflineSpell(std::uint8_t addr, qint64 day)
{
    if (Unit(addr, day, 4) >= 1.0 / 9)
        return {};
    return {Unit(addr, day, 5) * (kMinutesPerDay - 540), 60 + Unit(addr, day, 6) * 480};
}

} // namespace

bool SiteSample(const TSiteDataSpec &spec, std::uint8_t addr, TDateTime time, TDataRec &rec)
{
    const qint64 day = static_cast<qint64>(std::floor(time));
    const double minute = (time - static_cast<double>(day)) * kMinutesPerDay;
    if (spec.OfflineHours && OfflineSpell(addr, day).Holds(minute))
        return false;

    const double dayAngle = 2 * std::numbers::pi * minute / kMinutesPerDay;
    const auto step = static_cast<std::uint64_t>(std::llround(time * 86400));
    auto noise = [&](int channel, double amplitude) { return (Unit(addr, step, 10 + channel) - 0.5) * 2 * amplitude; };

    // Minutes since the mains failed today, or -1; minutes since they came back.
    const TDayEvent failure = MainsFailure(addr, day);
    const bool onBattery = failure.Holds(minute);
    const double sinceReturn = failure.Length > 0 && minute >= failure.Start + failure.Length
        ? minute - failure.Start - failure.Length : -1;

    rec = TDataRec();
    rec.Time = time;
    rec.Addr = addr;
    const double unitOffset = (addr % 7) - 3;
    const double baseLoad = 25 + (addr * 13) % 45;
    const double workHours = std::max(0.0, std::sin((minute / kMinutesPerDay - 0.3) * 2 * std::numbers::pi));
    for (int p = 0; p < 3; ++p) {
        const double mains = 221 + unitOffset * 0.8 - 5.5 * std::cos(dayAngle - p * 0.4) + noise(p, 1.4);
        rec.InputVolt[p] = onBattery ? 0.0 : mains;
        rec.OutputVolt[p] = 220 + (p - 1) * 0.3 + noise(3 + p, 0.4);
        rec.LoadPercent[p] = std::max(0.0, baseLoad + 18 * workHours + p * 3 + noise(6 + p, 2.5));
    }
    rec.OutputFreq = 50 + noise(9, 0.04);

    double capacity = 100;
    if (onBattery)
        capacity = 100 - (minute - failure.Start) * 0.75;
    else if (sinceReturn >= 0)
        capacity = std::min(100.0, 100 - failure.Length * 0.75 + sinceReturn * 0.25);
    rec.BattCapacity = static_cast<std::int32_t>(std::lround(std::max(5.0, capacity)));
    const double load = rec.LoadPercent[0];
    rec.BattBackupTime = static_cast<std::int16_t>(std::lround(rec.BattCapacity * 0.9 * 45 / std::max(load, 10.0)));
    rec.DcVolt = onBattery ? 432 - (100 - rec.BattCapacity) * 0.6 + noise(10, 0.5)
                           : (rec.BattCapacity < 100 ? 446 : 436) + noise(10, 0.3);
    rec.ChargeCurrent = !onBattery && rec.BattCapacity < 100 ? 12.0 : 0.4;
    rec.DischargeCurrent = onBattery ? load * 0.6 : 0.0;
    return true;
}

qint64 WriteSiteMonth(const QString &dir, int year, int month, const TSiteDataSpec &spec, qint64 maxRecords,
                      const std::function<void(qint64)> &progress)
{
    const QString path = TRecFilter::MonthFilePath(dir, year, month);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    const QDate first(year, month, 1);
    const TDateTime start = EncodeDateTime(first, QTime(0, 0));
    const qint64 runs = qint64{first.daysInMonth()} * 86400 / spec.IntervalSeconds;
    std::vector<std::uint8_t> chunk;
    chunk.reserve(4 << 20);
    qint64 written = 0;
    auto flush = [&] {
        if (file.write(reinterpret_cast<const char *>(chunk.data()), static_cast<qint64>(chunk.size()))
            != static_cast<qint64>(chunk.size()))
            throw std::runtime_error("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
        chunk.clear();
    };
    TDataRec rec;
    for (qint64 run = 0; run < runs && written != maxRecords; ++run) {
        // Whole seconds from the first of the month, as the engine stamps them.
        const TDateTime time = start + static_cast<double>(run * spec.IntervalSeconds) / 86400;
        for (int addr = 1; addr <= spec.Units && written != maxRecords; ++addr) {
            if (!SiteSample(spec, static_cast<std::uint8_t>(addr), time, rec))
                continue;
            chunk.resize(chunk.size() + TDataRec::kSize);
            rec.WriteTo(chunk.data() + chunk.size() - TDataRec::kSize);
            ++written;
        }
        if (chunk.size() >= (4u << 20)) {
            flush();
            if (progress)
                progress(written);
        }
    }
    flush();
    if (!file.flush())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    return written;
}
