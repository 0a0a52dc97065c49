#pragma once

#include "protocol/TSearchCursor.h"

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <vector>

struct TEngineState;

// The equipment search as the engine and the search window share it: the
// address range with its coupled limits, the engine's SearchMode, the
// address last handed out (CurAddr) and the addresses that answered, kept
// unique and in ascending order. The search window is a view on it.
class TEquipSearch : public TSearchCursor
{
public:
    static constexpr int kFirstAddr = 1;
    static constexpr int kLastAddr = 252;
    static constexpr std::uint8_t kSearchOn = 255;

    explicit TEquipSearch(TEngineState &engine);

    // The range: the start never passes the end. A value outside its
    // limits is brought back within them.
    int StartAddr() const { return FStart; }
    int EndAddr() const { return FEnd; }
    void SetStartAddr(int addr);
    void SetEndAddr(int addr);
    int StartMaximum() const { return FEnd; }
    int EndMinimum() const { return FStart; }

    bool Searching() const;
    // Starts from the start address with an empty found list, or stops;
    // the search button does one or the other.
    void StartSearch();
    void StopSearch();
    void ToggleSearch();

    // True once a search has run to its end, until the next one starts;
    // stopping by hand leaves it as it was.
    bool Completed() const { return FCompleted; }
    std::uint8_t CurAddr() const { return FCurAddr; }
    const std::vector<std::uint8_t> &Found() const { return FFound; }

    std::uint8_t NextSearchAddr() override;
    void AddressFound(std::uint8_t addr) override;

    // Called after every change of the search state or of the found list,
    // for the view to follow.
    std::function<void()> Changed;

private:
    void NotifyChanged();

    TEngineState &FEngine;
    int FStart = 1;
    int FEnd = 16;
    std::uint8_t FCurAddr = 0;
    bool FCompleted = false;
    std::vector<std::uint8_t> FFound;
};
