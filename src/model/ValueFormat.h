#pragma once

#include <QString>

// Number texts shown by the real-time view, the log viewers and the control
// windows. All of them use a point as the decimal separator whatever the
// system locale, and round halves away from zero.

// The value rounded to `decimals` places and written with exactly that many
// digits after the point: 219.96 with 1 gives "220.0", 45.6 with 0 gives "46".
QString FormatFixed(double value, int decimals);

// As FormatFixed, but the value is also rounded to at most `significant`
// significant digits: with 5 and 1, 230.46 gives "230.5" and 12345.67 gives
// "12346.0". A value that needs more integer digits than `significant` is
// written in scientific notation ("1.0000E+05").
QString FormatFixedSignificant(double value, int significant, int decimals);

// A voltage field: one decimal and the unit, "220.0 V".
QString FormatVoltage(double volts);

// A load field: a whole number and the unit, "46 %".
QString FormatLoadPercent(double percent);
