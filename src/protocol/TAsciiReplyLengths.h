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

    // Whether a reply of `infoLength` characters to command `kind` (1 to 5)
    // of the unit at `addr` is one this unit gives another command.
    bool AnswersAnotherCommand(std::uint16_t addr, std::uint8_t kind, int infoLength) const;

    // A reply to `kind` was taken: its length is the command's from now on.
    void Note(std::uint16_t addr, std::uint8_t kind, int infoLength);

    // Forgets a unit's lengths; for a unit whose link is lost, which may
    // come back as another unit.
    void Forget(std::uint16_t addr);

private:
    static constexpr int kUnknown = -1;
    static constexpr int kAddresses = 256;
    using TUnitLengths = std::array<int, kCommands>;

    static bool InRange(std::uint16_t addr, std::uint8_t kind);
    static TUnitLengths Unknown();
    static std::array<TUnitLengths, kAddresses> AllUnknown();

    std::array<TUnitLengths, kAddresses> FLengths = AllUnknown();
};
