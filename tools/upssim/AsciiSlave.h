#pragma once

#include "SimBus.h"
#include "SimSlave.h"

#include <optional>

// Slave side of the two ASCII-hex protocols that share the YD/T 1363 frame:
// "~", VER, ADR, CID1 2A, CID2 (RTN in replies), LENGTH with its check
// nibble, INFO, CHKSUM, carriage return. YD/T V3.1 (VER 31) answers 42H, 43H,
// 44H, 80H and 82H with fixed-point values and the status and alarm words;
// ROrizu (VER 11) answers 41H, 43H, 44H, E2H and E3H with floats and status
// and alarm items.
//
// Requests for an address without a unit, or that are not frames at all, get
// no reply. Damaged requests get the error replies of the frame protocol:
// RTN 01 wrong version, 02 checksum error, 03 LENGTH error, 04 unknown
// command.
class AsciiSlave : public SimSlave
{
public:
    enum class Dialect { Ydt, Rorizu };

    enum Rtn {
        Normal = 0x00,
        VersionError = 0x01,
        ChecksumError = 0x02,
        LengthError = 0x03,
        CommandError = 0x04,
    };

    AsciiSlave(SimBus &bus, Dialect dialect) : m_bus(bus), m_dialect(dialect) {}

    SimReply Answer(QByteArrayView request) override;

    // INFO of the reply to a command, laid out at the positions the monitor
    // reads; empty for a command the dialect does not have.
    static std::optional<QByteArray> Info(Dialect dialect, int cid2, const SimReadings &readings);

    // A whole reply frame, spoilt as asked.
    static QByteArray Frame(Dialect dialect, int address, int rtn, const QByteArray &info,
                            SimMalformed malformed = SimMalformed::None);

    // The 8 hex characters of an IEEE 754 single, least significant byte
    // first, as the ROrizu replies carry their values.
    static QByteArray SingleToHex(double value);

private:
    SimBus &m_bus;
    Dialect m_dialect;
};
