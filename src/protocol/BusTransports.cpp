#include "protocol/BusTransports.h"

#include "app/TPortInfo.h"
#include "serial/ComPortName.h"
#include "serial/ECommsError.h"
#include "serial/TComm.h"
#include "serial/TNetworkTransport.h"

namespace {

bool IsModbusProtocol(quint8 protocol)
{
    return protocol == 2 || protocol == 3;
}

} // namespace

std::unique_ptr<TBusTransport> MakeBusTransport(const TPortInfo &port)
{
    if (!IsNetworkPortName(port.ComName))
        return std::make_unique<TComm>();
    QString error;
    const std::optional<TNetworkAddress> address = ParseNetworkPortName(port.ComName, &error);
    if (!address)
        throw ECommsError(error.toStdString());
    if (address->Kind == TNetworkKind::RawTcp)
        return std::make_unique<TRawTcpTransport>();
    if (!IsModbusProtocol(port.Protocol))
        throw ECommsError("Modbus TCP carries the Modbus protocol only: choose Modbus as the protocol, "
                          "or reach the bus through tcp://HOST:PORT");
    return std::make_unique<TModbusTcpTransport>();
}
