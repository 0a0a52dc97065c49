#pragma once

#include <array>
#include <cstdint>

// Twenty diagnostic values written by the windows' timers and shown by the
// Trace window. Entries in use: 0/10/16 main timer interval, ticks, view
// refreshes; 1/11 engine timer interval and ticks; 3/13 user settings
// window timer interval and ticks.
struct TDiagCounters {
    static constexpr int Count = 20;
    std::array<std::int32_t, Count> Entries{};

    std::int32_t &operator[](int index) { return Entries.at(static_cast<std::size_t>(index)); }
    std::int32_t operator[](int index) const { return Entries.at(static_cast<std::size_t>(index)); }
    void Clear() { Entries.fill(0); }
};
