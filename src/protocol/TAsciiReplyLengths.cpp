#include "protocol/TAsciiReplyLengths.h"

bool TAsciiReplyLengths::TUnit::IsAnotherCommands(std::uint8_t kind, int infoLength) const
{
    if (Lengths[kind - 1] == infoLength)
        return false;
    for (int other = 0; other < kCommands; ++other) {
        if (other != kind - 1 && Lengths[other] == infoLength)
            return true;
    }
    return false;
}

bool TAsciiReplyLengths::Take(std::uint16_t addr, std::uint8_t kind, int infoLength, bool linkLost)
{
    if (addr >= kAddresses || kind < 1 || kind > kCommands)
        return true;
    TUnit &unit = FUnits[addr];
    if (unit.IsAnotherCommands(kind, infoLength)) {
        if (!linkLost || ++unit.RepeatsWhileLost < kRepeatsToRelearn)
            return false;
        unit = TUnit{};
    }
    unit.Lengths[kind - 1] = infoLength;
    unit.RepeatsWhileLost = 0;
    return true;
}
