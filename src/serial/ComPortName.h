#pragma once

#include <QString>

// Port naming rules. A ComName is either a Windows-style "COMn" name or,
// on Linux, a device path beginning with "/" (USB adapters,
// /dev/serial/by-id/..., pseudo-terminals).

// The decimal number spelled by the 4th and 5th characters of comName (the
// text after "COM", at most two characters); 0 when they spell none.
int ComNamePortNumber(const QString &comName);

// Whether the port is to be opened at all for this ComName: a device path
// always is; otherwise the 4th and 5th characters must spell 1 to 256.
// "COMX" or "PORT" open nothing, and that is not an error.
bool ComNameOpensPort(const QString &comName);

// The device the system opens for a port name: on Linux "COMn" is
// /dev/ttyS{n-1}; any other name is left as it stands.
QString SystemPortName(const QString &portName);
