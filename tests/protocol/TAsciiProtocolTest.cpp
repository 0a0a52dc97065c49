#include "protocol/TAsciiProtocol.h"

#include "protocol/TRorizuProtocol.h"
#include "protocol/TYdtV31Protocol.h"
#include "serial/HexHelpers.h"
#include "support/BusFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

enum class Kind { Ydt, Rorizu };

struct AsciiFixture : BusFixture {
    std::unique_ptr<TAsciiProtocol> Protocol;
    std::uint8_t Version;

    explicit AsciiFixture(Kind kind)
    {
        if (kind == Kind::Ydt) {
            Protocol = std::make_unique<TYdtV31Protocol>(Context);
            Version = TYdtV31Protocol::kVersion;
        } else {
            Protocol = std::make_unique<TRorizuProtocol>(Context);
            Version = TRorizuProtocol::kVersion;
        }
    }

    QByteArray Build()
    {
        Protocol->BuildRequest();
        return Bytes(Engine.TxBuf.data(), Protocol->FrameLength());
    }

    bool Decode(const QByteArray &block) { return DecodeBlock(*Protocol, block); }
};

// (address, CID2) of each request built.
std::vector<std::pair<int, QByteArray>> RequestSequence(AsciiFixture &f, int requests)
{
    std::vector<std::pair<int, QByteArray>> seen;
    for (int i = 0; i < requests; ++i) {
        const QByteArray frame = f.Build();
        EXPECT_EQ(frame.size(), 18);
        seen.emplace_back(f.Protocol->CurrentAddress(), frame.mid(7, 2));
    }
    return seen;
}

TEST(TAsciiProtocolTest, FirstRequestGoesToAddressOneThenFiveCommandsPerOnlineDevice)
{
    using Seq = std::vector<std::pair<int, QByteArray>>;
    const struct {
        Kind kind;
        Seq expected;
    } cases[] = {
        {Kind::Ydt, {{1, "42"}, {2, "42"}, {3, "42"}, {3, "43"}, {3, "44"}, {3, "80"}, {3, "82"}, {2, "42"}}},
        {Kind::Rorizu, {{1, "41"}, {2, "41"}, {3, "41"}, {3, "43"}, {3, "44"}, {3, "E2"}, {3, "E3"}, {2, "41"}}},
    };
    for (const auto &c : cases) {
        AsciiFixture f(c.kind);
        f.AddDevices({2, 3}); // address 1 is not in the list and still asked first
        f.UpsInfo[3].LinkState = kLinkError; // only a lost device gets one command
        EXPECT_EQ(RequestSequence(f, static_cast<int>(c.expected.size())), c.expected);
    }
}

TEST(TAsciiProtocolTest, SearchProbesAskForTheStatusAndManualModeBuildsNothing)
{
    for (Kind kind : {Kind::Ydt, Kind::Rorizu}) {
        AsciiFixture f(kind);
        f.AddDevices({2});
        f.Engine.SearchMode = 1;
        f.Engine.SearchAddr = 0x2C;
        const QByteArray probe = f.Build();
        EXPECT_EQ(probe.left(9), QByteArray("~") + WordToHex4(f.Version).right(2) + "2C2A43");
        EXPECT_EQ(f.Protocol->CurrentAddress(), 0x2C);
        EXPECT_EQ(f.Protocol->RequestKind(), TAsciiProtocol::kStatusKind);
        EXPECT_EQ(f.Engine.ReqStep, 0) << "a probe is no poll step";

        f.Engine.SearchMode = 0;
        f.Engine.ManualSendMode = 255;
        EXPECT_TRUE(f.Build().isEmpty());
    }
}

TEST(TAsciiProtocolTest, EachFailedCheckCountsInItsOwnCounter)
{
    for (Kind kind : {Kind::Ydt, Kind::Rorizu}) {
        AsciiFixture f(kind);
        f.Build(); // first command to address 1
        const std::uint8_t other = kind == Kind::Ydt ? TRorizuProtocol::kVersion : TYdtV31Protocol::kVersion;
        QByteArray badSoi = AsciiReply(f.Version, 1, "00");
        badSoi[0] = '#';
        QByteArray badChecksum = AsciiReply(f.Version, 1, "0011");
        badChecksum[15] = '2';
        QByteArray badLength = AsciiReply(f.Version, 1, "00");
        badLength.replace(9, 4, "0000");
        const std::pair<QByteArray, int> cases[] = {
            {badSoi, 0},
            {AsciiReply(other, 1, "00"), 1},
            {AsciiReply(f.Version, 2, "00"), 2},
            {AsciiReply(f.Version, 1, "", 4), 3},
            {badLength, 4},
            {"~", 4},
            {badChecksum, 5},
        };
        for (const auto &[block, counter] : cases) {
            const auto before = f.Debug.ErrCnt;
            EXPECT_FALSE(f.Decode(block)) << block.constData();
            auto expected = before;
            ++expected[static_cast<std::size_t>(counter)];
            EXPECT_EQ(f.Debug.ErrCnt, expected) << block.constData();
        }
        EXPECT_EQ(f.Debug.AckOkCnt, 0);
        EXPECT_EQ(f.Protocol->RequestKind(), 1) << "a rejected block leaves the request open";
        EXPECT_TRUE(f.Decode(AsciiReply(f.Version, 1, "00")));
        EXPECT_EQ(f.Debug.AckOkCnt, 1);
        EXPECT_EQ(f.Protocol->RequestKind(), 0);
    }
}

TEST(TAsciiProtocolTest, ASecondValidReplyToTheSameRequestDecodesNothing)
{
    // 42H and 41H replies whose first input voltage reads 220 V.
    const QByteArray ydtInfo = "0055F0";
    const QByteArray rorizuInfo = "00B83EBE43"; // 380.49 V line, about 219.68 V phase
    for (Kind kind : {Kind::Ydt, Kind::Rorizu}) {
        AsciiFixture f(kind);
        const QByteArray &info = kind == Kind::Ydt ? ydtInfo : rorizuInfo;
        f.Build();
        ASSERT_TRUE(f.Decode(AsciiReply(f.Version, 1, info)));
        const double decoded = f.UpsInfo[1].InputVolt[0];
        EXPECT_GT(decoded, 219.0);
        f.UpsInfo[1].InputVolt[0] = 0;
        EXPECT_TRUE(f.Decode(AsciiReply(f.Version, 1, info)));
        EXPECT_EQ(f.UpsInfo[1].InputVolt[0], 0);
        EXPECT_EQ(f.Debug.AckOkCnt, 2);
    }
}

TEST(TAsciiProtocolTest, ReplyToAnAddressBeyondTheTableIsValidAndStoresNothing)
{
    for (Kind kind : {Kind::Ydt, Kind::Rorizu}) {
        AsciiFixture f(kind);
        f.Engine.SearchMode = 1;
        f.Engine.SearchAddr = 254;
        f.Build();
        EXPECT_TRUE(f.Decode(AsciiReply(f.Version, 254, QByteArray(40, '1'))));
    }
}

} // namespace
