#pragma once

// Feeds one received block to a protocol's frame end and decoder the way the
// serial port and the polling engine do: after the engine has built a request (a poll sub-request of
// some device, a search probe or a queued command), cut to the engine's
// receive buffer, and as a heap copy of exactly the block's size so that
// AddressSanitizer sees any read past its end.
//
// Input: byte 0 chooses the engine state, bytes 1-5 a queued command, the
// rest is the block.

#include "model/UpsInfoRules.h"
#include "support/BusFixture.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// The addresses the harness's device list holds.
inline constexpr std::uint8_t kFuzzDevices[] = {1, 2, 0x7F, 252};

template <typename Protocol>
int FuzzDecodeReply(const std::uint8_t *data, std::size_t size)
{
    constexpr std::size_t kHeader = 6;
    if (size < kHeader)
        return 0;
    const std::uint8_t scenario = data[0];
    const std::uint8_t otherAddr = data[1]; // of a search probe or a command

    // One set of bus instances for the whole run, put back before each input
    // where it can have changed: making 253 fresh records per input would
    // cost more than the decoding.
    static BusFixture bus;
    static const TUpsInfoTable pristine;
    static const TDeviceList devices = [] {
        BusFixture listed;
        listed.AddDevices({kFuzzDevices[0], kFuzzDevices[1], kFuzzDevices[2], kFuzzDevices[3]});
        return listed.DeviceList;
    }();
    bus.Engine = TEngineState{};
    bus.CmdQueue = TCommandQueue{};
    bus.DeviceList = devices;
    bus.Debug = TCommDebug{};
    bus.ModelName = (scenario & 0x20) ? QStringLiteral("QMX960LD") : QString();
    std::uint8_t touched[] = {0, kFuzzDevices[0], kFuzzDevices[1], kFuzzDevices[2], kFuzzDevices[3], otherAddr};
    for (std::uint8_t addr : touched) {
        if (addr >= TUpsInfoTable::kSize)
            continue;
        bus.UpsInfo[addr] = pristine[addr];
        if (scenario & 0x40)
            bus.UpsInfo[addr].LinkState = kLinkOnline;
    }
    Protocol protocol(bus.Context);

    // Walk the poll sequence some steps, as the engine would have.
    for (int i = 0; i < (scenario & 0x07); ++i)
        protocol.BuildRequest();
    if (scenario & 0x08) {
        bus.Engine.SearchMode = 1;
        bus.Engine.SearchAddr = otherAddr;
    }
    if (scenario & 0x10) {
        const std::uint32_t start = 20000u + static_cast<std::uint32_t>((data[3] << 8 | data[4]) % 31000);
        bus.CmdQueue.Queue(data[5] % 10, otherAddr, data[2], start, data[5]);
    }
    if (scenario & 0x18)
        protocol.BuildRequest();

    const std::size_t length = std::min<std::size_t>(size - kHeader, TEngineState::RxBufSize);
    const auto block = std::make_unique<std::uint8_t[]>(length);
    if (length > 0)
        std::memcpy(block.get(), data + kHeader, length);
    // Where the frame ends, as the serial port asks at the pace of the bus.
    const int frameLength = protocol.CompleteFrameLength(block.get(), static_cast<int>(length));
    if (frameLength > static_cast<int>(length))
        __builtin_trap();
    protocol.DecodeReply(block.get(), static_cast<int>(length));
    return 0;
}
