#pragma once

#include "protocol/TAsciiFrame.h"
#include "protocol/TAsciiReplyLengths.h"
#include "protocol/TBusContext.h"
#include "protocol/TPollProtocol.h"

#include <array>
#include <cstdint>

struct TUpsInfo;

// What the two ASCII protocols share: five poll commands per online device
// (the first only while its link is lost), the status command as the search
// probe, the frame checks with their ErrCnt counters, and the request kind
// that tells the decoder what the reply answers. Each protocol adds its
// version byte, its command codes and the decoding of INFO.
class TAsciiProtocol : public TPollProtocol {
public:
    // The status command's kind, which is also the search probe.
    static constexpr std::uint8_t kStatusKind = 2;

    void BuildRequest() override;
    bool DecodeReply(const std::uint8_t *buffer, int length) override;
    int FrameLength() const override { return FFrameLength; }
    std::uint16_t CurrentAddress() const override { return FCurAddr; }
    int CompleteFrameLength(const std::uint8_t *block, int length) const override
    {
        return TAsciiFrame::CompleteLength(block, length);
    }

    // 0 when no request waits for its reply, else the ReqStep it was built for.
    std::uint8_t RequestKind() const { return FRequestKind; }

protected:
    using TCommandCodes = std::array<std::uint8_t, 5>; // CID2 by ReqStep - 1

    TAsciiProtocol(const TBusContext &context, std::uint8_t version, const TCommandCodes &commands);

    // Stores what a valid reply to a request of this kind carries. Fields
    // whose positions lie beyond the reply's INFO keep their values.
    // Stores what the reply to a command of this kind carries; false when
    // its INFO ends before a field the command must carry, which makes the
    // reply no answer to it.
    virtual bool DecodeInfo(std::uint8_t kind, const TAsciiFrame &reply, TUpsInfo &rec) = 0;

private:
    // A valid frame that answers another command than the one asked is
    // turned away and counted; true when this one is such a frame.
    bool IsStrayReply(const TAsciiFrame &reply);

    TBusContext FContext;
    TAsciiReplyLengths FReplyLengths;
    std::uint8_t FVersion;
    TCommandCodes FCommands;
    TUpsInfo *FRecord = nullptr; // none for an address beyond the table
    std::uint16_t FCurAddr = 1;  // the first request after start goes to address 1
    std::uint8_t FRequestKind = 0;
    int FFrameLength = 0;
};
