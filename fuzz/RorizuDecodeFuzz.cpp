// The ROrizu decoder: the shared ASCII frame checks and the INFO decoding.
#include "ProtocolFuzzHarness.h"

#include "protocol/TRorizuProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return FuzzDecodeReply<TRorizuProtocol>(data, size);
}
