#include "protocol/ModbusTcpFrame.h"

#include "protocol/ModbusCrc.h"

namespace {

constexpr int kRtuAddressSize = 1;
constexpr int kRtuCrcSize = 2;
// Address, function code, CRC.
constexpr int kRtuMinFrame = 4;

quint16 BigEndianAt(QByteArrayView bytes, qsizetype offset)
{
    return quint16((quint8(bytes[offset]) << 8) | quint8(bytes[offset + 1]));
}

void AppendBigEndian(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
}

} // namespace

TMbapHeader ReadMbapHeader(QByteArrayView adu)
{
    TMbapHeader header;
    header.TransactionId = BigEndianAt(adu, 0);
    header.ProtocolId = BigEndianAt(adu, 2);
    header.Length = BigEndianAt(adu, 4);
    header.UnitId = quint8(adu[6]);
    return header;
}

int ModbusTcpAduLength(QByteArrayView stream)
{
    if (stream.size() >= 4 && BigEndianAt(stream, 2) != 0)
        return -1;
    if (stream.size() < 6)
        return 0;
    const int length = BigEndianAt(stream, 4);
    if (length < kMbapMinLength || length > kMbapMaxLength)
        return -1;
    const int total = kMbapHeaderSize - 1 + length;
    return stream.size() >= total ? total : 0;
}

QByteArray RtuToModbusTcp(QByteArrayView rtu, quint16 transactionId)
{
    const qsizetype unitAndPdu = rtu.size() - kRtuCrcSize;
    if (rtu.size() < kRtuMinFrame || unitAndPdu > kMbapMaxLength)
        return {};
    QByteArray adu;
    adu.reserve(kMbapHeaderSize - kRtuAddressSize + unitAndPdu);
    AppendBigEndian(adu, transactionId);
    AppendBigEndian(adu, 0);
    AppendBigEndian(adu, quint16(unitAndPdu));
    adu.append(rtu.first(unitAndPdu));
    return adu;
}

QByteArray ModbusTcpToRtu(QByteArrayView adu)
{
    const int length = ModbusTcpAduLength(adu);
    if (length <= 0 || length != adu.size())
        return {};
    QByteArray rtu = adu.sliced(kMbapHeaderSize - kRtuAddressSize).toByteArray();
    AppendModbusCrc(rtu);
    return rtu;
}
