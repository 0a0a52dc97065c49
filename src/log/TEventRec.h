#pragma once

#include "log/DateTime.h"

#include <array>
#include <cstdint>

// Kinds of event records.
enum : std::uint8_t { kEventKindEvent = 0, kEventKindState = 1, kEventKindAlarm = 2 };

// Event codes of kind 0.
enum : std::int32_t {
    kEventCommLost = 18,
    kEventCommError = 19,
    kEventSoftwareOpen = 20,
    kEventSoftwareClosed = 21,
    kEventCommUpbuilt = 22,
    kEventCommRecovered = 23,
};

// Flags: kinds 0 and 1 always carry kFlagNone; alarms say whether they
// occurred or cleared.
enum : std::uint8_t { kAlarmCleared = 0, kAlarmOccurred = 1, kFlagNone = 255 };

// One record of the event log, 48 bytes on disk.
struct TEventRec {
    static constexpr int kSize = 48;

    TDateTime Time = 0;
    std::uint8_t Addr = 0;
    std::uint8_t Kind = 0;
    std::int32_t Code = 0;
    std::uint8_t Flag = 0;
    // The device's status block for link and state events; zeros otherwise.
    std::array<std::uint8_t, 26> StatusWords = {};

    // The on-disk image; padding is written as zeros.
    void WriteTo(std::uint8_t *out) const;
    static TEventRec ReadFrom(const std::uint8_t *in);

    bool operator==(const TEventRec &) const = default;
};
