#include "ModbusTcpSlave.h"

#include "protocol/ModbusCrc.h"
#include "protocol/ModbusTcpFrame.h"

SimReply ModbusTcpSlave::Answer(QByteArrayView adu)
{
    const QByteArray request = ModbusTcpToRtu(adu);
    if (request.isEmpty())
        return {};
    SimReply reply = m_rtu.Answer(request);
    // A gateway drops a bus reply whose CRC is wrong, so the client sees a
    // unit that does not answer. A reply that is short or carries another
    // address (malformed=length, answeras=) still makes a sound ADU and
    // reaches the client as it is.
    if (reply.bytes.isEmpty() || !ModbusCrcMatches(reply.bytes))
        return {};
    reply.bytes = RtuToModbusTcp(reply.bytes, ReadMbapHeader(adu).TransactionId);
    reply.faults.noiseAfterMs = -1;
    return reply;
}
