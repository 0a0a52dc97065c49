#include "serial/LineTiming.h"

#include <chrono>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kStartAndDataBits = 1 + 8;
constexpr double kGapCharacters = 3.5;
constexpr double kMinGapMs = 1.75;

} // namespace

qint64 LineClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

double WireTimeMs(int bytes, qint32 baudRate, int stopBits)
{
    if (baudRate <= 0 || bytes <= 0)
        return 0.0;
    return bytes * double(kStartAndDataBits + stopBits) * 1000.0 / baudRate;
}

double InterFrameGapMs(qint32 baudRate, int stopBits)
{
    if (baudRate <= 0)
        return kMinGapMs;
    return std::max(kMinGapMs, kGapCharacters * (kStartAndDataBits + stopBits) * 1000.0 / baudRate);
}

int WholeMsUp(double ms)
{
    return ms <= 0 ? 0 : static_cast<int>(std::ceil(ms));
}
