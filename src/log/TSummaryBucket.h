#pragma once

#include "log/TDataRec.h"
#include "log/TrendValues.h"

#include <array>
#include <cstdint>

// What a summary keeps of one device's records in one hour: how many there
// were, where the first and the last of them lie in the month file, and the
// lowest, highest and mean of each value over the records that had it.
// 224 bytes on disk, little-endian; a bucket with records carries a
// checksum of its bytes, an empty one is all zeros.
struct TSummaryBucket {
    static constexpr int kSize = 224;

    struct TStats {
        float Min = 0;
        float Max = 0;
        float Sum = 0;
        std::uint32_t Count = 0; // records that had the value
        float Mean() const { return Count > 0 ? Sum / static_cast<float>(Count) : 0.0f; }
    };

    std::uint32_t Records = 0;
    std::uint32_t FirstRecord = 0; // record numbers in the month file
    std::uint32_t LastRecord = 0;
    std::array<TStats, kTrendValueCount> Values{};

    void Add(const TDataRec &rec, std::uint32_t recordNumber);

    // Whether the bucket could have been written by Add for a file of
    // `fileRecords` records: counts, record numbers and values that agree.
    bool Plausible(std::uint64_t fileRecords) const;

    void WriteTo(std::uint8_t *out) const;
    static TSummaryBucket ReadFrom(const std::uint8_t *in);
    // Whether the bytes are those WriteTo wrote: all zeros, or a bucket
    // whose checksum matches.
    static bool Intact(const std::uint8_t *in);
};

// FNV-1a over the bytes, with the four at `skipAt` read as zeros: the
// checksums of the summary files.
std::uint32_t SummaryChecksum(const std::uint8_t *data, int size, int skipAt);
