// The YD/T V3.1 decoder: the shared ASCII frame checks and the INFO decoding.
#include "ProtocolFuzzHarness.h"

#include "protocol/TYdtV31Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return FuzzDecodeReply<TYdtV31Protocol>(data, size);
}
