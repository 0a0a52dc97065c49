// The hex and text helpers of the ASCII protocols and the Trace window: no
// input may make them read past their text, and the conversions that are
// meant to be each other's inverse must be.
#include "FuzzFiles.h"

#include "serial/HexHelpers.h"

#include <cstring>
#include <memory>

namespace {

// A heap copy of exactly n bytes, so that a read beyond them is caught.
std::unique_ptr<char[]> Exact(const std::uint8_t *data, std::size_t n)
{
    auto copy = std::make_unique<char[]>(n);
    std::memcpy(copy.get(), data, n);
    return copy;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int width = data[0] % 12;
    const auto text = Exact(data + 1, size - 1);
    const QByteArrayView view(text.get(), static_cast<qsizetype>(size - 1));

    const QByteArray cleaned = CleanHexText(view);
    for (char c : cleaned)
        FUZZ_CHECK(HexCharValue(c) < 16 && (c < 'a' || c > 'f'));
    const QByteArray bytes = HexTextToBytes(view);
    FUZZ_CHECK(bytes.size() == cleaned.size() / 2);
    // Formatting the bytes and parsing the text again gives them back.
    const QString formatted = BytesToHexText(bytes, u" ");
    FUZZ_CHECK(HexTextToBytes(formatted.toLatin1()) == bytes);

    const quint32 value = HexToInt(view, width);
    FUZZ_CHECK(width >= 8 || value < (1u << (4 * width)));
    FrameChecksum(view, static_cast<int>(size) + width - 6);
    Int16ToText(static_cast<int>(value));
    IntToZeroPadded(static_cast<qint64>(value) - 0x7FFFFFFF, width);
    BitIsSet(value, width * 7 - 40);

    const int lengthValue = static_cast<int>(value & 0xFFF);
    const QByteArray lengthField = LengthField(lengthValue);
    FUZZ_CHECK(lengthField.size() == 4 && (Hex4ToWord(lengthField.constData()) & 0x0FFF) == lengthValue);

    if (size >= 5)
        Hex4ToWord(Exact(data + 1, 4).get());
    if (size >= 9)
        HexToSingle(Exact(data + 1, 8).get());
    FUZZ_CHECK(Hex4ToWord(WordToHex4(value).constData()) == (value & 0xFFFF));
    return 0;
}
