#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// CRC-16/MODBUS: initial value 0xFFFF, reflected polynomial 0xA001, no final
// XOR. On the wire the low byte goes first.
quint16 ModbusCrc(QByteArrayView bytes);

// Appends the CRC of everything already in the frame, low byte first.
void AppendModbusCrc(QByteArray &frame);

// A frame whose trailing CRC matches: the CRC over the whole frame, its own
// CRC included, comes out 0. Frames shorter than a CRC never match.
bool ModbusCrcMatches(QByteArrayView frame);
