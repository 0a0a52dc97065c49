#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

// Texts of the Trace window's panes and grid.

// A pane holding more lines than this is emptied before the next line.
inline constexpr int kTracePaneMaxLines = 400;

// One frame as a pane line. hex: two hex digits and a blank per byte.
// Otherwise the bytes as characters where they print as protocol text
// (carriage return, line feed, "0" to "z" and "~") and 0x7F for every other
// byte, the blank included.
QString TraceFrameLine(QByteArrayView bytes, bool hex);

// The header a network transport carried the next frame in (Modbus TCP's
// MBAP header), as a line of its own above the frame: "MBAP " and the bytes
// in hex whatever the pane's view, since the header is binary.
QString TraceEnvelopeLine(QByteArrayView envelope);

// A grid value: 4 hex digits of its low 16 bits, or decimal.
QString TraceValueText(std::int32_t value, bool hex);

// The message of a manual frame that does not fit the transmit buffer.
QString TraceFrameTooLongText(quint8 language);
