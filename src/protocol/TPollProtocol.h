#pragma once

#include <cstdint>

// What the polling engine sees of a bus protocol. The engine decides when a
// request goes out and when a reply comes in; the protocol decides what goes
// out and what a reply means. The engine never branches on the protocol.
class TPollProtocol {
public:
    virtual ~TPollProtocol() = default;

    // Chooses the next request (search probe, queued command or the next
    // poll sub-request) and writes it into the engine's transmit buffer.
    // Shall set FrameLength() to 0 when nothing is to be sent.
    virtual void BuildRequest() = 0;

    // Checks one received block and stores its values in the status record
    // of the current address. Shall return true only for a valid reply, and
    // shall read no byte at or beyond buffer + length.
    virtual bool DecodeReply(const std::uint8_t *buffer, int length) = 0;

    // Length of the frame last built; 0 before the first and after an empty build.
    virtual int FrameLength() const = 0;

    // Bus address of the frame last built; the engine makes it PollAddr.
    virtual std::uint16_t CurrentAddress() const = 0;
};
