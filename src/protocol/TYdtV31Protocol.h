#pragma once

#include "protocol/TAsciiProtocol.h"

// The YD/T V3.1 protocol (VER 31): 42H voltages, 43H status words, 44H alarm
// words, 80H loads and battery group currents, 82H backup time and battery
// capacity, in fixed point. Its status and alarm words are those of the
// Modbus protocol, so the common state, switch and alarm rules apply.
class TYdtV31Protocol : public TAsciiProtocol {
public:
    static constexpr std::uint8_t kVersion = 0x31;

    explicit TYdtV31Protocol(const TBusContext &context);

    // Stores what a reply to a request of this kind (1 to 5) carries.
    static bool DecodeKind(std::uint8_t kind, const TAsciiFrame &reply, TUpsInfo &rec);

protected:
    bool DecodeInfo(std::uint8_t kind, const TAsciiFrame &reply, TUpsInfo &rec) override
    {
        return DecodeKind(kind, reply, rec);
    }
};
