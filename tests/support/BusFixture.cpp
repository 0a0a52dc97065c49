#include "support/BusFixture.h"

#include "protocol/ModbusCrc.h"
#include "serial/HexHelpers.h"

void BusFixture::AddDevices(std::initializer_list<std::uint8_t> addrs)
{
    for (std::uint8_t addr : addrs) {
        TDeviceNode node{};
        node.Addr = addr;
        DeviceList.AddDevice(node);
    }
}

QByteArray Bytes(const std::uint8_t *data, int length)
{
    return QByteArray(reinterpret_cast<const char *>(data), length);
}

QString HexOf(const QByteArray &frame)
{
    return BytesToHexText(frame, u" ").trimmed();
}

QByteArray ModbusReadReply(std::uint8_t addr, std::uint8_t funcCode,
                           const std::vector<std::uint16_t> &values)
{
    QByteArray body;
    body.append(static_cast<char>(addr));
    body.append(static_cast<char>(funcCode));
    body.append(static_cast<char>(values.size() * 2));
    for (std::uint16_t v : values) {
        body.append(static_cast<char>(v >> 8));
        body.append(static_cast<char>(v & 0xFF));
    }
    return WithCrc(body);
}

QByteArray WithCrc(QByteArray body)
{
    AppendModbusCrc(body);
    return body;
}
