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

QByteArray AsciiReply(std::uint8_t version, std::uint8_t addr, const QByteArray &info,
                      std::uint8_t rtn)
{
    const auto hex2 = [](int v) { return WordToHex4(static_cast<quint32>(v)).right(2); };
    QByteArray frame = "~" + hex2(version) + hex2(addr) + "2A" + hex2(rtn);
    frame += LengthField(static_cast<int>(info.size()));
    frame += info;
    frame += FrameChecksum(frame, static_cast<int>(frame.size() - 1));
    return frame + '\r';
}

QByteArray AsciiInfo(int length, const std::vector<std::pair<int, QByteArray>> &fields)
{
    constexpr int kInfoStart = 13;
    QByteArray info(length, '0');
    for (const auto &[pos, text] : fields)
        info.replace(pos - kInfoStart, text.size(), text);
    return info.left(length);
}

std::vector<std::int32_t> AlarmCodes(const TUpsInfo &rec)
{
    return {rec.AlarmList.begin(), rec.AlarmList.begin() + rec.AlarmCount};
}

bool DecodeBlock(TPollProtocol &protocol, const QByteArray &block)
{
    std::vector<std::uint8_t> exact(block.begin(), block.end());
    return protocol.DecodeReply(exact.data(), static_cast<int>(exact.size()));
}
