#include "protocol/TAsciiFrame.h"

#include "serial/HexHelpers.h"
#include "support/BusFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// The block in a heap buffer of exactly its size, so that a read past its
// end is caught by the address sanitizer.
struct ExactBlock {
    std::vector<std::uint8_t> Bytes;
    explicit ExactBlock(const QByteArray &block) : Bytes(block.begin(), block.end()) {}
    TAsciiFrame Frame() const { return TAsciiFrame(Bytes.data(), static_cast<int>(Bytes.size())); }
};

TEST(TAsciiFrameTest, RequestsCarryNoInfoAndTheirChecksum)
{
    const struct {
        std::uint8_t version;
        std::uint16_t addr;
        std::uint8_t cid2;
        const char *expected;
    } cases[] = {
        {0x11, 1, 0x41, "~11012A410000FDA5\r"},
        {0x31, 1, 0x42, "~31012A420000FDA2\r"},
        {0x31, 0x1F, 0x80, "~311F2A800000FD8A\r"},
        {0x11, 252, 0xE3, "~11FC2AE30000FD6A\r"},
        {0x31, 0x1FE, 0x42, "~31FE2A420000FD78\r"}, // the last two digits of the address
    };
    for (const auto &c : cases) {
        std::array<std::uint8_t, TAsciiFrame::kRequestLength + 1> out{};
        out.back() = 0xAA;
        EXPECT_EQ(TAsciiFrame::BuildRequest(out.data(), c.version, c.addr, c.cid2), 18);
        EXPECT_EQ(Bytes(out.data(), 18), QByteArray(c.expected));
        EXPECT_EQ(out.back(), 0xAA) << "wrote past the request";
    }
}

TEST(TAsciiFrameTest, AFrameIsCompleteAtTheCarriageReturnAfterItsChecksum)
{
    const QByteArray reply = AsciiReply(0x31, 1, "0055F0"); // 24 bytes
    const struct {
        const char *name;
        QByteArray block;
        int expected;
    } cases[] = {
        {"nothing yet", "", 0},
        {"the start only", "~", 0},
        {"all but the end byte", reply.left(23), 0},
        {"the whole reply", reply, 24},
        {"a second reply run on", reply + reply, 24},
        {"garbage first", QByteArray("\x00~31012A\r", 10), -1},
        {"a carriage return too early for a frame", "~3101\r", -1},
        {"a request, the shortest frame", "~31012A420000FDA2\r", 18},
    };
    for (const auto &c : cases) {
        const ExactBlock block(c.block);
        EXPECT_EQ(TAsciiFrame::CompleteLength(block.Bytes.data(), static_cast<int>(block.Bytes.size())), c.expected)
            << c.name;
    }
}

QByteArray Replaced(QByteArray frame, int pos, const char *text)
{
    return frame.replace(pos, static_cast<int>(qstrlen(text)), text);
}

TEST(TAsciiFrameTest, ChecksRunInOrderAndNameTheFirstFailure)
{
    using C = TAsciiFrame::TCheck;
    const QByteArray sound = AsciiReply(0x31, 1, "0055F0");
    QByteArray lowerHeader = sound;
    lowerHeader.replace(5, 2, "2a"); // read as hex: accepted
    lowerHeader.replace(lowerHeader.size() - 5, 4,
                        FrameChecksum(lowerHeader, static_cast<int>(lowerHeader.size() - 6)));
    const QByteArray lowerLength = AsciiReply(0x31, 1, QByteArray(26, '0')).toLower(); // LENGTH 501a

    const struct {
        const char *name;
        QByteArray block;
        C expected;
    } cases[] = {
        {"sound reply", sound, C::CheckPassed},
        {"sound reply without INFO", AsciiReply(0x31, 1, ""), C::CheckPassed},
        {"end byte is not checked", sound.chopped(1) + '\n', C::CheckPassed},
        {"lower-case CID1", lowerHeader, C::CheckPassed},
        {"no start character", Replaced(sound, 0, "!"), C::BadSoi},
        {"other version", AsciiReply(0x11, 1, "0055F0"), C::BadVersion},
        {"other address", AsciiReply(0x31, 2, "0055F0"), C::BadAddress},
        {"CID1 is not 2A", Replaced(sound, 5, "2B"), C::BadCommand},
        {"RTN 04", AsciiReply(0x31, 1, "", 4), C::BadCommand},
        {"LENGTH two too many", Replaced(sound, 9, "8008"), C::BadLength},
        {"lower-case LENGTH", lowerLength, C::BadLength},
        {"damaged INFO", Replaced(sound, 15, "55F1"), C::BadChecksum},
        {"lower-case CHKSUM", sound.left(sound.size() - 5) + sound.right(5).toLower(), C::BadChecksum},
        {"block shorter than a request", sound.left(17), C::BadLength},
        {"block of one start character", "~", C::BadLength},
        {"empty block", "", C::BadLength},
        {"short block without a start character", "0101", C::BadSoi},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExactBlock(c.block).Frame().Check(0x31, 1), c.expected) << c.block.constData();
    }
}

TEST(TAsciiFrameTest, FieldsAreReadOnlyInsideInfo)
{
    // INFO "0012345678" spans positions 13 to 22; CHKSUM follows at 23.
    const ExactBlock block(AsciiReply(0x31, 1, "0012345678"));
    const TAsciiFrame frame = block.Frame();
    EXPECT_EQ(frame.Word(15), 0x1234);
    EXPECT_EQ(frame.Word(19), 0x5678);
    EXPECT_EQ(frame.Word(20), std::nullopt);  // would take a CHKSUM character
    EXPECT_EQ(frame.Byte(21), 0x78);
    EXPECT_EQ(frame.Byte(23), std::nullopt);
    EXPECT_TRUE(frame.Single(15).has_value()); // eight characters from 15 end at 22
    EXPECT_EQ(frame.Single(16), std::nullopt);
    EXPECT_EQ(frame.Word(11), std::nullopt);   // LENGTH is not INFO
    EXPECT_EQ(frame.InfoField(13, 10), frame.InfoField(13, 1));
    EXPECT_EQ(frame.InfoField(13, 11), nullptr);
    EXPECT_EQ(frame.InfoField(-4, 2), nullptr);

    const ExactBlock floats(AsciiReply(0x11, 1, "000000C843"));
    EXPECT_EQ(floats.Frame().Single(15), 400.0);
}

TEST(TAsciiFrameTest, ValueFieldsSkipOrStopAtNonHexCharacters)
{
    const ExactBlock block(AsciiReply(0x31, 1, "001 2F1G2Fa5"));
    const TAsciiFrame frame = block.Frame();
    EXPECT_EQ(frame.Word(15), 0x12F);      // the blank is skipped
    EXPECT_EQ(frame.StatusWord(15), 0x1);  // the blank ends the value
    EXPECT_EQ(frame.Byte(19), 0x1);        // "1G"
    EXPECT_EQ(frame.Word(21), 0x2FA5);     // lower case reads as hex
    EXPECT_EQ(frame.Text2(23), QByteArrayView("a5"));
}

} // namespace
