#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Port naming rules. A ComName is a Windows-style "COMn" name, on Linux a
// device path beginning with "/" (USB adapters, /dev/serial/by-id/...,
// pseudo-terminals), or the address of a bus behind the network:
//   tcp://HOST:PORT         the bus bytes through a raw TCP connection (a
//                           serial device server, ser2net, socat)
//   modbus-tcp://HOST:PORT  Modbus TCP to a gateway or a Modbus TCP device
// HOST is a name, an IPv4 address or an IPv6 address in brackets.

// The decimal number spelled by the 4th and 5th characters of comName (the
// text after "COM", at most two characters); 0 when they spell none.
int ComNamePortNumber(const QString &comName);

// Whether the port is to be opened at all for this ComName: a device path
// and a network address always are (a malformed address then says what is
// wrong with it); otherwise the 4th and 5th characters must spell 1 to 256.
// "COMX" or "PORT" open nothing, and that is not an error.
bool ComNameOpensPort(const QString &comName);

// The device the system opens for a port name: on Linux "COMn" is
// /dev/ttyS{n-1}; any other name is left as it stands.
QString SystemPortName(const QString &portName);

enum class TNetworkKind { RawTcp, ModbusTcp };

struct TNetworkAddress
{
    TNetworkKind Kind = TNetworkKind::RawTcp;
    QString Host; // without the brackets of an IPv6 address
    quint16 Port = 0;
};

// Whether the ComName begins with one of the network schemes (any case).
bool IsNetworkPortName(const QString &comName);

// The parts of a network ComName; none, with the reason in *error, when it
// is malformed (no scheme, no host, a bad host, no or a bad port number).
std::optional<TNetworkAddress> ParseNetworkPortName(const QString &comName, QString *error);

// What is wrong with a ComName, for the settings window: empty when it is
// usable or names no port at all.
QString PortNameProblem(const QString &comName);
