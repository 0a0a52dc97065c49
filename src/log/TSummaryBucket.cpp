#include "log/TSummaryBucket.h"

#include "model/LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kChecksumAt = 12;
constexpr int kValuesAt = 16;
constexpr int kStatsSize = 16;
static_assert(kValuesAt + kTrendValueCount * kStatsSize == TSummaryBucket::kSize);

} // namespace

void TSummaryBucket::Add(const TDataRec &rec, std::uint32_t recordNumber)
{
    if (Records == 0)
        FirstRecord = recordNumber;
    FirstRecord = std::min(FirstRecord, recordNumber);
    LastRecord = std::max(LastRecord, recordNumber);
    ++Records;
    for (int value = 0; value < kTrendValueCount; ++value) {
        const double number = TrendValueOf(rec, value);
        if (std::isnan(number))
            continue;
        const auto f = static_cast<float>(std::clamp(number, -1e30, 1e30));
        TStats &stats = Values[static_cast<std::size_t>(value)];
        stats.Min = stats.Count == 0 ? f : std::min(stats.Min, f);
        stats.Max = stats.Count == 0 ? f : std::max(stats.Max, f);
        stats.Sum += f;
        ++stats.Count;
    }
}

bool TSummaryBucket::Plausible(std::uint64_t fileRecords) const
{
    if (Records == 0)
        return FirstRecord == 0 && LastRecord == 0
            && std::all_of(Values.begin(), Values.end(), [](const TStats &s) { return s.Count == 0; });
    if (FirstRecord > LastRecord || LastRecord >= fileRecords || LastRecord - FirstRecord + 1 < Records)
        return false;
    return std::all_of(Values.begin(), Values.end(), [this](const TStats &s) {
        return s.Count <= Records && std::isfinite(s.Sum)
            && (s.Count == 0 || (std::isfinite(s.Min) && std::isfinite(s.Max) && s.Min <= s.Max));
    });
}

void TSummaryBucket::WriteTo(std::uint8_t *out) const
{
    std::memset(out, 0, kSize);
    PutLE(out, Records);
    PutLE(out + 4, FirstRecord);
    PutLE(out + 8, LastRecord);
    for (int value = 0; value < kTrendValueCount; ++value) {
        const TStats &stats = Values[static_cast<std::size_t>(value)];
        std::uint8_t *at = out + kValuesAt + value * kStatsSize;
        PutLE(at, stats.Min);
        PutLE(at + 4, stats.Max);
        PutLE(at + 8, stats.Sum);
        PutLE(at + 12, stats.Count);
    }
    if (Records > 0)
        PutLE(out + kChecksumAt, SummaryChecksum(out, kSize, kChecksumAt));
}

bool TSummaryBucket::Intact(const std::uint8_t *in)
{
    if (GetLE<std::uint32_t>(in) == 0)
        return std::all_of(in, in + kSize, [](std::uint8_t b) { return b == 0; });
    return GetLE<std::uint32_t>(in + kChecksumAt) == SummaryChecksum(in, kSize, kChecksumAt);
}

std::uint32_t SummaryChecksum(const std::uint8_t *data, int size, int skipAt)
{
    std::uint32_t hash = 2166136261u;
    for (int i = 0; i < size; ++i) {
        const std::uint8_t byte = i >= skipAt && i < skipAt + 4 ? 0 : data[i];
        hash = (hash ^ byte) * 16777619u;
    }
    return hash;
}

TSummaryBucket TSummaryBucket::ReadFrom(const std::uint8_t *in)
{
    TSummaryBucket bucket;
    bucket.Records = GetLE<std::uint32_t>(in);
    bucket.FirstRecord = GetLE<std::uint32_t>(in + 4);
    bucket.LastRecord = GetLE<std::uint32_t>(in + 8);
    for (int value = 0; value < kTrendValueCount; ++value) {
        TStats &stats = bucket.Values[static_cast<std::size_t>(value)];
        const std::uint8_t *at = in + kValuesAt + value * kStatsSize;
        stats.Min = GetLE<float>(at);
        stats.Max = GetLE<float>(at + 4);
        stats.Sum = GetLE<float>(at + 8);
        stats.Count = GetLE<std::uint32_t>(at + 12);
    }
    return bucket;
}
