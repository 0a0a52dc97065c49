#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// Modbus TCP application data units and their RTU twins. An ADU is the MBAP
// header (transaction identifier, protocol identifier 0, length of what
// follows, unit identifier) and the PDU (function code and data); the RTU
// frame of the same request is the unit identifier as bus address, the PDU
// and the CRC. The bus codecs speak RTU; only the Modbus TCP link and the
// simulator's Modbus TCP server translate.

inline constexpr int kMbapHeaderSize = 7;
// The length field counts the unit identifier and the PDU: at least a unit
// identifier and a function code, at most the 253-byte PDU of the standard.
inline constexpr int kMbapMinLength = 2;
inline constexpr int kMbapMaxLength = 254;

struct TMbapHeader
{
    quint16 TransactionId = 0;
    quint16 ProtocolId = 0;
    quint16 Length = 0;
    quint8 UnitId = 0;
};

// Reads the header an ADU begins with; the ADU must hold kMbapHeaderSize bytes.
TMbapHeader ReadMbapHeader(QByteArrayView adu);

// The length of the complete ADU the stream begins with; 0 while more bytes
// are needed to tell or to complete it; -1 when the stream does not begin
// with a Modbus TCP header (protocol identifier not 0, length out of range),
// after which nothing on the stream can be trusted.
int ModbusTcpAduLength(QByteArrayView stream);

// The ADU that carries an RTU frame (address, PDU, CRC) with the given
// transaction identifier. The CRC is dropped, not checked: the frame is our
// own. Empty for a frame too short to hold an address, a function code and
// a CRC, or too long for an ADU.
QByteArray RtuToModbusTcp(QByteArrayView rtu, quint16 transactionId);

// The RTU frame of a complete ADU: unit identifier, PDU, a CRC computed
// for them. Empty when the ADU is not complete and valid.
QByteArray ModbusTcpToRtu(QByteArrayView adu);
