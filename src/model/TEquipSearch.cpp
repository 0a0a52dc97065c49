#include "model/TEquipSearch.h"

#include "protocol/TEngineState.h"

#include <algorithm>

TEquipSearch::TEquipSearch(TEngineState &engine) : FEngine(engine) {}

void TEquipSearch::SetStartAddr(int addr)
{
    FStart = std::clamp(addr, kFirstAddr, FEnd);
}

void TEquipSearch::SetEndAddr(int addr)
{
    FEnd = std::clamp(addr, FStart, kLastAddr);
}

bool TEquipSearch::Searching() const
{
    return FEngine.SearchMode != 0;
}

void TEquipSearch::StartSearch()
{
    FEngine.SearchMode = kSearchOn;
    FCurAddr = static_cast<std::uint8_t>(FStart - 1);
    FFound.clear();
    FCompleted = false;
    NotifyChanged();
}

void TEquipSearch::StopSearch()
{
    FEngine.SearchMode = 0;
    NotifyChanged();
}

void TEquipSearch::ToggleSearch()
{
    if (Searching())
        StopSearch();
    else
        StartSearch();
}

std::uint8_t TEquipSearch::NextSearchAddr()
{
    // The end is read at every step, so narrowing the range while a search
    // runs takes effect at once. CurAddr stays within 0..253.
    ++FCurAddr;
    if (FCurAddr > FEnd) {
        FEngine.SearchMode = 0;
        FCompleted = true;
    }
    NotifyChanged();
    return FCurAddr;
}

void TEquipSearch::AddressFound(std::uint8_t addr)
{
    const auto at = std::lower_bound(FFound.begin(), FFound.end(), addr);
    if (at != FFound.end() && *at == addr)
        return;
    FFound.insert(at, addr);
    NotifyChanged();
}

void TEquipSearch::NotifyChanged()
{
    if (Changed)
        Changed();
}
