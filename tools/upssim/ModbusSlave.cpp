#include "ModbusSlave.h"

#include "protocol/ModbusCrc.h"

namespace {

constexpr quint8 kReadHolding = 3;
constexpr quint8 kReadInput = 4;
constexpr quint8 kWriteSingle = 6;
constexpr quint8 kWriteMultiple = 16;
constexpr int kMaxReadCount = 125;
constexpr int kMaxWriteCount = 123;

quint8 Byte(QByteArrayView bytes, qsizetype index)
{
    return static_cast<quint8>(bytes[index]);
}

int Word(QByteArrayView bytes, qsizetype index)
{
    return Byte(bytes, index) << 8 | Byte(bytes, index + 1);
}

void AppendWord(QByteArray &frame, int value)
{
    frame.append(static_cast<char>((value >> 8) & 0xFF));
    frame.append(static_cast<char>(value & 0xFF));
}

bool IsInputRegister(int reg)
{
    return reg >= 30001 && reg <= 39999;
}

bool IsHoldingRegister(int reg)
{
    return reg >= 40001 && reg <= 49999;
}

} // namespace

QByteArray ModbusSlave::ExceptionBody(QByteArrayView request, Exception code)
{
    QByteArray body;
    body.append(request[0]);
    body.append(static_cast<char>(Byte(request, 1) | 0x80));
    body.append(static_cast<char>(code));
    return body;
}

SimReply ModbusSlave::Answer(QByteArrayView request)
{
    if (request.size() < 4 || !ModbusCrcMatches(request))
        return {};
    const quint8 address = Byte(request, 0);
    const quint8 function = Byte(request, 1);
    const QByteArrayView body = request.first(request.size() - 2);

    if (address == 0) {
        if (function == kWriteSingle || function == kWriteMultiple)
            for (int each : m_bus.Addresses())
                if (SimUnit *unit = m_bus.Unit(each); !unit->Silent())
                    function == kWriteSingle ? WriteSingle(*unit, body) : WriteMultiple(*unit, body);
        return {};
    }
    SimUnit *unit = m_bus.Unit(address);
    if (!unit || unit->Silent())
        return {};

    // A unit that reports a device failure does nothing else.
    if (unit->Malformed() == SimMalformed::Rtn04) {
        QByteArray failure = ExceptionBody(body, DeviceFailure);
        failure[0] = static_cast<char>(unit->ReplyAddress());
        AppendModbusCrc(failure);
        return SimReply::From(*unit, failure);
    }

    QByteArray reply;
    switch (function) {
    case kReadHolding:
    case kReadInput:
        reply = Read(*unit, body);
        break;
    case kWriteSingle:
        reply = WriteSingle(*unit, body);
        break;
    case kWriteMultiple:
        reply = WriteMultiple(*unit, body);
        break;
    default:
        reply = ExceptionBody(body, IllegalFunction);
        break;
    }

    reply[0] = static_cast<char>(unit->ReplyAddress());
    AppendModbusCrc(reply);
    if (unit->Malformed() == SimMalformed::Checksum)
        reply[reply.size() - 2] = static_cast<char>(reply[reply.size() - 2] ^ 0x5A);
    return SimReply::From(*unit, reply);
}

QByteArray ModbusSlave::Read(SimUnit &unit, QByteArrayView request)
{
    if (request.size() != 6)
        return ExceptionBody(request, IllegalDataValue);
    const int start = Word(request, 2) + 1;
    const int count = Word(request, 4);
    if (count < 1 || count > kMaxReadCount)
        return ExceptionBody(request, IllegalDataValue);

    const bool input = Byte(request, 1) == kReadInput;
    QByteArray values;
    for (int reg = start; reg < start + count; ++reg) {
        const std::optional<quint16> value = unit.ReadRegister(reg);
        if (!value || (input ? !IsInputRegister(reg) : !IsHoldingRegister(reg)))
            return ExceptionBody(request, IllegalDataAddress);
        AppendWord(values, *value);
    }
    // A reply one register short, for tests of the master's count check.
    if (unit.Malformed() == SimMalformed::Length)
        values.chop(2);

    QByteArray reply = request.first(2).toByteArray();
    reply.append(static_cast<char>(values.size()));
    reply.append(values);
    return reply;
}

QByteArray ModbusSlave::WriteSingle(SimUnit &unit, QByteArrayView request)
{
    if (request.size() != 6)
        return ExceptionBody(request, IllegalDataValue);
    const int reg = Word(request, 2) + 1;
    if (!unit.WriteRegister(reg, static_cast<quint16>(Word(request, 4))))
        return ExceptionBody(request, IllegalDataAddress);
    return request.toByteArray();
}

QByteArray ModbusSlave::WriteMultiple(SimUnit &unit, QByteArrayView request)
{
    if (request.size() < 7)
        return ExceptionBody(request, IllegalDataValue);
    const int start = Word(request, 2) + 1;
    const int count = Word(request, 4);
    const int byteCount = Byte(request, 6);
    if (count < 1 || count > kMaxWriteCount || byteCount != 2 * count || request.size() != 7 + byteCount)
        return ExceptionBody(request, IllegalDataValue);
    for (int reg = start; reg < start + count; ++reg)
        if (!unit.IsWritable(reg))
            return ExceptionBody(request, IllegalDataAddress);
    for (int i = 0; i < count; ++i)
        unit.WriteRegister(start + i, static_cast<quint16>(Word(request, 7 + 2 * i)));
    return request.first(6).toByteArray();
}
