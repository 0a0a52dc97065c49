#pragma once

#include <QtGlobal>

// Time on an asynchronous serial line with 8 data bits and no parity, and
// the one clock both ends of the bus code read. Times are milliseconds.

// Milliseconds since an arbitrary fixed point, on a clock that never jumps:
// the stamps of received blocks and of sent requests compare on it.
qint64 LineClockMs();

// The time `bytes` characters take on the line: a start bit, 8 data bits
// and the stop bits each. 0 for a baud rate of 0 or less.
double WireTimeMs(int bytes, qint32 baudRate, int stopBits);

// The silence that ends a Modbus RTU frame: 3.5 characters, and never less
// than 1.75 ms, the floor the protocol sets for fast lines.
double InterFrameGapMs(qint32 baudRate, int stopBits);

// A duration rounded up to whole milliseconds, as timers take them.
int WholeMsUp(double ms);
