#pragma once

#include "support/BusFixture.h"

#include <gtest/gtest.h>

// One ASCII protocol object on fresh bus instances, with device 1 online in
// the list, for decoding replies of a chosen kind.
template <typename TProtocol>
struct AsciiProtocolFixture : BusFixture {
    TProtocol Protocol{Context};
    TUpsInfo &Rec = UpsInfo[1];

    AsciiProtocolFixture()
    {
        AddDevices({1});
        Rec.LinkState = kLinkOnline;
    }

    // Builds the request of this kind (ReqStep) to device 1 and decodes a
    // reply carrying info.
    bool Answer(std::uint8_t kind, const QByteArray &info)
    {
        Engine.ReqStep = static_cast<std::uint8_t>(kind - 1);
        Protocol.BuildRequest();
        EXPECT_EQ(Protocol.RequestKind(), kind);
        return DecodeBlock(Protocol, AsciiReply(TProtocol::kVersion, 1, info));
    }
};
