#pragma once

#include "SimSlave.h"

// The Modbus TCP face of a Modbus RTU slave, as a gateway in front of the
// bus would show it: an ADU becomes the RTU request with the unit identifier
// as address, and the RTU reply the ADU with the request's transaction
// identifier. The reply keeps its unit's delay and line faults, except the
// noise: a TCP connection has no line for it to spoil.
class ModbusTcpSlave : public SimSlave
{
public:
    explicit ModbusTcpSlave(SimSlave &rtu) : m_rtu(rtu) {}

    // adu is one complete ADU, as cut by ModbusTcpAduLength.
    SimReply Answer(QByteArrayView adu) override;

private:
    SimSlave &m_rtu;
};
