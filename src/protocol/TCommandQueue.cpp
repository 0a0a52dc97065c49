#include "protocol/TCommandQueue.h"

void TCommandQueue::Queue(int slot, std::uint8_t addr, std::uint8_t funcCode,
                          std::uint32_t startReg, std::uint32_t regCount)
{
    TUpsCommand &cmd = Slots.at(static_cast<std::size_t>(slot));
    cmd.Addr = addr;
    cmd.FuncCode = funcCode;
    cmd.StartReg = startReg;
    cmd.RegCount = regCount;
    cmd.Pending = kPending;
}

std::optional<TUpsCommand> TCommandQueue::TakeNext()
{
    for (TUpsCommand &cmd : Slots) {
        if (cmd.Pending != 0) {
            cmd.Pending = 0;
            return cmd;
        }
    }
    return std::nullopt;
}

bool TCommandQueue::AnyPending() const
{
    for (const TUpsCommand &cmd : Slots)
        if (cmd.Pending != 0)
            return true;
    return false;
}
