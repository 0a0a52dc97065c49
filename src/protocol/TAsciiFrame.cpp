#include "protocol/TAsciiFrame.h"

#include "serial/HexHelpers.h"

#include <cstring>

namespace {

void PutHex2(std::uint8_t *out, std::uint32_t value)
{
    const QByteArray hex = WordToHex4(value);
    out[0] = static_cast<std::uint8_t>(hex[2]);
    out[1] = static_cast<std::uint8_t>(hex[3]);
}

} // namespace

int TAsciiFrame::BuildRequest(std::uint8_t *out, std::uint8_t version, std::uint16_t addr,
                              std::uint8_t cid2)
{
    out[0] = '~';
    PutHex2(out + 1, version);
    PutHex2(out + 3, addr);
    PutHex2(out + 5, kCid1Ups);
    PutHex2(out + 7, cid2);
    std::memcpy(out + 9, LengthField(0).constData(), 4);
    const QByteArray checksum =
        FrameChecksum(QByteArrayView(out, kRequestLength - 5), kRequestLength - 6);
    std::memcpy(out + 13, checksum.constData(), 4);
    out[17] = '\r';
    return kRequestLength;
}

int TAsciiFrame::CompleteLength(const std::uint8_t *block, int length)
{
    if (length < 1)
        return 0;
    if (block[0] != '~')
        return -1;
    // Every field is hex digits: the first carriage return ends the frame.
    for (int pos = 1; pos < length; ++pos) {
        if (block[pos] == '\r')
            return pos + 1 >= kRequestLength ? pos + 1 : -1;
    }
    return 0;
}

TAsciiFrame::TAsciiFrame(const std::uint8_t *buffer, int length)
    : FBytes(buffer, length > 0 ? length : 0)
{
}

TAsciiFrame::TCheck TAsciiFrame::Check(std::uint8_t version, std::uint16_t addr) const
{
    const int length = static_cast<int>(FBytes.size());
    // A block that does not begin as a frame is none, whatever its length.
    if (length > 0 && FBytes[0] != '~')
        return BadSoi;
    // LENGTH and CHKSUM are found from the end of the block: in anything
    // shorter than a request they would overlap the header or lie before
    // the block's start.
    if (length < kRequestLength)
        return BadLength;
    if (HexToInt(FBytes.sliced(1, 2), 2) != version)
        return BadVersion;
    if (HexToInt(FBytes.sliced(3, 2), 2) != addr)
        return BadAddress;
    if (HexToInt(FBytes.sliced(5, 2), 2) != kCid1Ups || HexToInt(FBytes.sliced(7, 2), 2) != 0)
        return BadCommand;
    if (FBytes.sliced(9, 4) != LengthField(length - kRequestLength))
        return BadLength;
    if (FBytes.sliced(length - 5, 4) != FrameChecksum(FBytes, length - 6))
        return BadChecksum;
    return CheckPassed;
}

const char *TAsciiFrame::InfoField(int pos, int width) const
{
    const qsizetype infoEnd = FBytes.size() - kTrailerLength;
    if (pos < kInfoStart || width < 0 || pos + width > infoEnd)
        return nullptr;
    return FBytes.data() + pos;
}

std::optional<std::uint16_t> TAsciiFrame::Word(int pos) const
{
    if (const char *field = InfoField(pos, 4))
        return Hex4ToWord(field);
    return std::nullopt;
}

std::optional<std::uint16_t> TAsciiFrame::StatusWord(int pos) const
{
    if (const char *field = InfoField(pos, 4))
        return static_cast<std::uint16_t>(HexToInt(QByteArrayView(field, 4), 4));
    return std::nullopt;
}

std::optional<std::uint8_t> TAsciiFrame::Byte(int pos) const
{
    if (const char *field = InfoField(pos, 2))
        return static_cast<std::uint8_t>(HexToInt(QByteArrayView(field, 2), 2));
    return std::nullopt;
}

std::optional<double> TAsciiFrame::Single(int pos) const
{
    if (const char *field = InfoField(pos, 8))
        return HexToSingle(field);
    return std::nullopt;
}

std::optional<QByteArrayView> TAsciiFrame::Text2(int pos) const
{
    if (const char *field = InfoField(pos, 2))
        return QByteArrayView(field, 2);
    return std::nullopt;
}
