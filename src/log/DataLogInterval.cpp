#include "log/DataLogInterval.h"

#include <algorithm>

TIntervalField IntervalFieldFor(qint32 recInterval)
{
    const bool recording = recInterval > 0;
    const int seconds = recording ? recInterval / 10 : 600;
    return {recording, std::clamp(seconds, kIntervalFieldMin, kIntervalFieldMax)};
}

qint32 RecIntervalFrom(const TIntervalField &field)
{
    if (!field.Recording)
        return 0;
    return std::clamp(field.Seconds, kIntervalFieldMin, kIntervalFieldMax) * 10;
}
