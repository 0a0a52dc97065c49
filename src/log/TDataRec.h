#pragma once

#include "log/DateTime.h"
#include "model/TUpsInfo.h"

#include <cstdint>

// One sample of a device's measured values in the data log, 128 bytes on
// disk: time stamp, address and the 112-byte measurement block.
struct TDataRec : TMeasurement {
    static constexpr int kSize = 128;
    // Where the fields are in the record's bytes, for readers that take one
    // field of many records without decoding the rest.
    static constexpr int kAddrAt = 8;
    static constexpr int kMeasurementAt = 16;
    static constexpr int kInputVoltAt = kMeasurementAt;
    static constexpr int kBattCapacityAt = kMeasurementAt + 88;
    static constexpr int kBattBackupTimeAt = kMeasurementAt + 92;

    TDateTime Time = 0; // the recording run, whole seconds
    std::uint8_t Addr = 0;

    // A sample of `info` taken at `time`.
    static TDataRec FromUpsInfo(TDateTime time, const TUpsInfo &info);

    // The on-disk image; padding is written as zeros.
    void WriteTo(std::uint8_t *out) const;
    static TDataRec ReadFrom(const std::uint8_t *in);
};
