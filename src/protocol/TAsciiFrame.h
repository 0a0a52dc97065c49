#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <optional>

// The ASCII-hex frame both ASCII protocols use, a received block seen as one
// reply: "~", VER, ADR, CID1, RTN, LENGTH (with its check nibble), INFO,
// CHKSUM, end byte. Positions are 0-based byte positions in the frame. The
// object only reads the block it was given and never past its end.
class TAsciiFrame {
public:
    // A request carries no INFO; a reply is at least as long.
    static constexpr int kRequestLength = 18;
    static constexpr int kInfoStart = 13;
    static constexpr std::uint8_t kCid1Ups = 0x2A;

    // The first check a reply fails, in the order they are made. The value
    // is the index of the check's ErrCnt entry (A to F).
    enum TCheck : int {
        CheckPassed = -1,
        BadSoi = 0,      // A: no start character
        BadVersion = 1,  // B
        BadAddress = 2,  // C: not the address asked
        BadCommand = 3,  // D: CID1 is not 2A or RTN is not 0
        BadLength = 4,   // E: LENGTH does not match, or a block that begins with "~" is too short to be a frame
        BadChecksum = 5, // F
    };

    // Writes the request without INFO for one command into out, which must
    // hold kRequestLength bytes; returns kRequestLength.
    static int BuildRequest(std::uint8_t *out, std::uint8_t version, std::uint16_t addr,
                            std::uint8_t cid2);

    // The length of the frame a received block begins with, once its
    // closing carriage return has arrived; 0 while it has not; -1 when the
    // block does not begin with "~" or has a carriage return too early to
    // close a frame.
    static int CompleteLength(const std::uint8_t *block, int length);

    TAsciiFrame(const std::uint8_t *buffer, int length);

    // Characters of INFO: the frame less its header, CHKSUM and end byte.
    int InfoLength() const { return static_cast<int>(FBytes.size()) - kRequestLength; }

    // Runs the checks A to F against the version and address asked. The end
    // byte is not checked.
    TCheck Check(std::uint8_t version, std::uint16_t addr) const;

    // The characters at [pos, pos + width) when they lie inside INFO; null
    // otherwise, so a short reply leaves a field as it was.
    const char *InfoField(int pos, int width) const;

    // Field readers; empty when the field is not inside INFO.
    std::optional<std::uint16_t> Word(int pos) const;        // 4 characters, non-hex skipped
    std::optional<std::uint16_t> StatusWord(int pos) const;  // 4 characters, non-hex ends the value
    std::optional<std::uint8_t> Byte(int pos) const;         // 2 characters, non-hex ends the value
    std::optional<double> Single(int pos) const;             // 8 characters, IEEE 754 single
    std::optional<QByteArrayView> Text2(int pos) const;      // 2 characters as they stand

private:
    // Frame characters that end INFO: CHKSUM and the end byte.
    static constexpr int kTrailerLength = 5;

    QByteArrayView FBytes;
};
