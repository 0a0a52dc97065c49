#include "protocol/ModbusCrc.h"

quint16 ModbusCrc(QByteArrayView bytes)
{
    quint16 crc = 0xFFFF;
    for (char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

void AppendModbusCrc(QByteArray &frame)
{
    const quint16 crc = ModbusCrc(frame);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
}

bool ModbusCrcMatches(QByteArrayView frame)
{
    return frame.size() >= 2 && ModbusCrc(frame) == 0;
}
