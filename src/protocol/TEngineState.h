#pragma once

#include <array>
#include <cstdint>

// The request state of the bus master, shared between the polling engine,
// the protocol builders and decoders, the search window and the Trace
// window. All of it lives on the main thread.
struct TEngineState {
    static constexpr int TxBufSize = 256;
    static constexpr int RxBufSize = 400;

    std::array<std::uint8_t, TxBufSize> TxBuf{}; // frame being sent
    std::int32_t TxLen = 0;                      // 0 when no frame was built
    std::array<std::uint8_t, RxBufSize> RxBuf{}; // copy of the last received block

    std::uint8_t PollAddr = 0;       // bus address of the request in flight
    std::uint8_t ReqPending = 0;     // 255 while a built request is sent and waited for
    std::uint8_t WaitTicks = 0;      // ticks still to wait after the last transmission
    std::uint8_t SendCount = 0;      // transmissions of the current request so far
    std::uint8_t MaxSend = 0;        // MaxReSend as it was when the request was built
    std::uint8_t ReqStep = 0;        // sub-request of the current device, 1-based
    std::uint8_t ReqSteps = 0;       // sub-requests the current device gets
    std::uint8_t SearchMode = 0;     // non-zero while the equipment search runs
    std::uint8_t SearchAddr = 0;     // address probed in search mode
    std::uint8_t ManualSendMode = 0; // 255 while the Trace window sends by hand
    std::uint8_t PollStepCode = 0;   // branch the last poll step took
    std::uint8_t TxLed = 0;          // 3 on each transmission, counted down by the view
    std::uint8_t RxLed = 0;          // 3 on each receive, counted down by the view
    std::int64_t LastRoundMs = -1;   // how long the last full poll round took; -1 until one ended
};
