#pragma once

#include <array>
#include <cstdint>

// What the ASCII replies of each unit have been like, so that a late reply
// is not stored as the answer to another command. The replies carry no
// echo of the command they answer, but a unit answers each command with an
// INFO of its own fixed length, and the lengths of its commands differ. A
// reply whose INFO has the length this unit gives another command is that
// command's reply (one the engine gave up on, arriving while the next
// command was in flight), not the answer to the command asked.
//
// The lengths are learnt from the replies taken, not laid down, because
// units differ in what they carry beyond the fields the decoders read.
class TAsciiReplyLengths {
public:
    static constexpr int kCommands = 5; // request kinds 1 to 5
    // While a unit's link is lost only its first command is asked. Once the
    // late replies to the others have come in, a length that keeps coming
    // back is the first command's own: another unit now answers at the
    // address, and its lengths are learnt afresh after this many.
    static constexpr int kRepeatsToRelearn = 3;

    // Whether a reply of `infoLength` characters to command `kind` (1 to 5)
    // of the unit at `addr` answers that command; when it does, its length
    // is the command's from now on.
    bool Take(std::uint16_t addr, std::uint8_t kind, int infoLength, bool linkLost);

private:
    static constexpr int kUnknown = -1;
    static constexpr int kAddresses = 256;

    struct TUnit {
        std::array<int, kCommands> Lengths{kUnknown, kUnknown, kUnknown, kUnknown, kUnknown};
        int RepeatsWhileLost = 0;

        bool IsAnotherCommands(std::uint8_t kind, int infoLength) const;
    };

    std::array<TUnit, kAddresses> FUnits{};
};
