#pragma once

#include "model/TUpsInfo.h"
#include "protocol/TUpsCommand.h"

#include <array>
#include <cstdint>
#include <optional>

// The commands the control and parameter windows queue for the Modbus
// master, with the values those commands write. By convention the parameter
// windows use slot 0 (and 1 for the second command of a pair), the battery
// test and on/off windows slot 1.
class TCommandQueue {
public:
    static constexpr int kSlots = 10;
    static constexpr std::uint8_t kPending = 255;

    std::array<TUpsCommand, kSlots> Slots{};
    std::int16_t ControlValue = 0; // value of registers 20001 to 20003
    TUpsPara ParaSetValue;         // write image of registers 40002 to 40029

    // Fills a slot and marks it pending.
    void Queue(int slot, std::uint8_t addr, std::uint8_t funcCode, std::uint32_t startReg,
               std::uint32_t regCount);

    // The lowest pending slot, which is no longer pending afterwards; nothing
    // when no slot waits.
    std::optional<TUpsCommand> TakeNext();

    bool AnyPending() const;
};
