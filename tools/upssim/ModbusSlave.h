#pragma once

#include "SimBus.h"
#include "SimSlave.h"

// Modbus RTU slave for every unit on the bus. The address field of a frame
// holds the register number minus one (30001 is 0x7530), so input, holding
// and control registers share one address space. Function 4 reads 3xxxx
// registers, function 3 reads 4xxxx registers, functions 6 and 16 write
// 2xxxx, 4xxxx and 50000. Frames with a bad CRC or for an address without a
// unit get no reply; broadcast writes (address 0) are carried out silently.
class ModbusSlave : public SimSlave
{
public:
    enum Exception : quint8 {
        IllegalFunction = 1,
        IllegalDataAddress = 2,
        IllegalDataValue = 3,
        DeviceFailure = 4,
    };

    explicit ModbusSlave(SimBus &bus) : m_bus(bus) {}

    SimReply Answer(QByteArrayView request) override;

private:
    QByteArray Read(SimUnit &unit, QByteArrayView request);
    QByteArray WriteSingle(SimUnit &unit, QByteArrayView request);
    QByteArray WriteMultiple(SimUnit &unit, QByteArrayView request);
    static QByteArray ExceptionBody(QByteArrayView request, Exception code);

    SimBus &m_bus;
};
