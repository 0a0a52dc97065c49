#pragma once

#include "model/TUpsInfo.h"

#include <array>

// One status record for every bus address 0 to 252, alive for the whole run.
class TUpsInfoTable {
public:
    static constexpr int kSize = 253;

    TUpsInfoTable();

    // Puts every record back to its start-up values: its own address, link
    // lost, no state known, everything else 0.
    void Reset();

    TUpsInfo &operator[](int addr) { return FRecords.at(static_cast<std::size_t>(addr)); }
    const TUpsInfo &operator[](int addr) const { return FRecords.at(static_cast<std::size_t>(addr)); }

    // The record of an address, or null for one beyond the table: device
    // files and search ranges can name addresses the table does not have.
    TUpsInfo *Find(int addr)
    {
        return addr >= 0 && addr < kSize ? &FRecords[static_cast<std::size_t>(addr)] : nullptr;
    }

private:
    std::array<TUpsInfo, kSize> FRecords;
};
