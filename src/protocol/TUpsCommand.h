#pragma once

#include <cstdint>

// One queued control or parameter command. The control windows fill a slot
// and set Pending; the Modbus request builder takes the lowest pending slot
// in place of a poll request. The values written are not here: they come
// from the queue's ControlValue and ParaSetValue.
struct TUpsCommand {
    std::uint8_t Pending = 0;   // 255 = waiting to be sent; 0 once taken
    std::uint8_t Addr = 0;      // bus address of the target device
    std::uint8_t FuncCode = 0;  // Modbus function: 3/4 read, 6 write one, 16 write several
    std::uint32_t StartReg = 0; // first register, 5-digit numbering (20001, 30001, 40001)
    std::uint32_t RegCount = 0; // registers to read, or to write with function 16
};
