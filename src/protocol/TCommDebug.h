#pragma once

#include <array>
#include <cstdint>

// Exchange statistics of the bus, shared by the engine and the protocol
// decoders and shown by the Trace window. One instance per program run.
struct TCommDebug {
    std::int32_t SendCnt = 0;   // frames handed to the serial port
    std::int32_t AckCnt = 0;    // blocks received
    std::int32_t AckOkCnt = 0;  // blocks that passed the protocol's frame checks
    std::array<std::int32_t, 6> ErrCnt{}; // ASCII frame check failures A to F
    // Replies not taken because they answer some other request: they began
    // before the request in flight was sent, or they are the reply of
    // another command (a late reply). Shown after the failures as "G".
    std::int32_t StrayReplyCnt = 0;
    double Rate = 0.0;          // AckOkCnt * 100 / SendCnt, as of the last refresh
    std::uint8_t DebugShow = 0; // 255 while the debug displays are switched on

    // Totals since the program started, for the metrics endpoint: neither
    // the Trace window's "Clear" nor a wrap of the counters above resets them.
    std::uint64_t FramesSentTotal = 0;
    std::uint64_t RepliesValidTotal = 0;
    std::uint64_t RepliesInvalidTotal = 0;

    // Entry 0 counts blocks the selected decoder rejected; the rest stay 0.
    std::array<std::int32_t, 101> InvalidFrameCnt{};

    // The reply rate in percent; 0 before anything was sent.
    void RefreshRate() { Rate = SendCnt > 0 ? AckOkCnt * 100.0 / SendCnt : 0.0; }

    // The Trace window's "Clear": exchange and failure counters back to 0.
    void ClearExchangeCounters()
    {
        SendCnt = 0;
        AckCnt = 0;
        AckOkCnt = 0;
        ErrCnt.fill(0);
        StrayReplyCnt = 0;
    }
};
