#include "model/TUpsInfoTable.h"

TUpsInfoTable::TUpsInfoTable()
{
    Reset();
}

void TUpsInfoTable::Reset()
{
    for (int addr = 0; addr < kSize; ++addr) {
        TUpsInfo fresh;
        fresh.Addr = static_cast<std::uint8_t>(addr);
        fresh.LinkState = kLinkLost;
        fresh.State = -1;
        fresh.PrevState = -1;
        FRecords[static_cast<std::size_t>(addr)] = fresh;
    }
}
