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

    // Where the reply a received block begins with ends, for taking a reply
    // as soon as it is complete instead of after the line's silence. Shall
    // return the length of the complete frame at the start of the block
    // once all of it has arrived, kFrameIncomplete while more bytes are
    // needed to tell, and kNotAFrame when the block does not begin with a
    // frame of this protocol (its end is then the line's silence). Reads no
    // state: any transport may ask it of any block.
    static constexpr int kFrameIncomplete = 0;
    static constexpr int kNotAFrame = -1;
    virtual int CompleteFrameLength(const std::uint8_t *block, int length) const = 0;
};
