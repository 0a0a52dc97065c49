#pragma once

#include "protocol/TAsciiProtocol.h"

// The ROrizu protocol (VER 11): 41H voltages, 43H supply and switch items,
// 44H alarm items, E2H phase loads, E3H backup time. Values come as IEEE 754
// singles; the status and alarm items have rules of their own instead of
// the common status and alarm words.
class TRorizuProtocol : public TAsciiProtocol {
public:
    static constexpr std::uint8_t kVersion = 0x11;

    // Status and alarm replies are taken from a device's fifth valid reply
    // on: OkCnt, as it stands before the reply is counted, must reach this.
    static constexpr std::int32_t kMinOkCntForItems = 4;

    explicit TRorizuProtocol(const TBusContext &context);

    // Stores what a reply to a request of this kind (1 to 5) carries.
    static bool DecodeKind(std::uint8_t kind, const TAsciiFrame &reply, TUpsInfo &rec);

    // The operating state the supply items give.
    static std::int32_t StateFromSupplies(const TUpsInfo &rec);

protected:
    bool DecodeInfo(std::uint8_t kind, const TAsciiFrame &reply, TUpsInfo &rec) override
    {
        return DecodeKind(kind, reply, rec);
    }
};
