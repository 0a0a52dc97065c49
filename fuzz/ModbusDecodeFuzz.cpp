// The Modbus master's reply decoder.
#include "ProtocolFuzzHarness.h"

#include "protocol/TMModbus.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return FuzzDecodeReply<TMModbus>(data, size);
}
