#include "protocol/TAsciiReplyLengths.h"

bool TAsciiReplyLengths::InRange(std::uint16_t addr, std::uint8_t kind)
{
    return addr < kAddresses && kind >= 1 && kind <= kCommands;
}

TAsciiReplyLengths::TUnitLengths TAsciiReplyLengths::Unknown()
{
    TUnitLengths lengths;
    lengths.fill(kUnknown);
    return lengths;
}

std::array<TAsciiReplyLengths::TUnitLengths, TAsciiReplyLengths::kAddresses> TAsciiReplyLengths::AllUnknown()
{
    std::array<TUnitLengths, kAddresses> all;
    all.fill(Unknown());
    return all;
}

bool TAsciiReplyLengths::AnswersAnotherCommand(std::uint16_t addr, std::uint8_t kind, int infoLength) const
{
    if (!InRange(addr, kind))
        return false;
    const TUnitLengths &lengths = FLengths[addr];
    if (lengths[kind - 1] == infoLength)
        return false;
    for (int other = 0; other < kCommands; ++other) {
        if (other != kind - 1 && lengths[other] == infoLength)
            return true;
    }
    return false;
}

void TAsciiReplyLengths::Note(std::uint16_t addr, std::uint8_t kind, int infoLength)
{
    if (InRange(addr, kind))
        FLengths[addr][kind - 1] = infoLength;
}

void TAsciiReplyLengths::Forget(std::uint16_t addr)
{
    if (addr < kAddresses)
        FLengths[addr] = Unknown();
}
