#pragma once

#include <QChar>
#include <QStringView>

// Which typed characters the number boxes of the control windows take: the
// digits, the point where decimals are wanted, and the control characters
// of copy (3), backspace (8), paste (22) and cut (24). Every other typed
// character is dropped; pasted text is not filtered and is checked when
// the value is used.
bool DigitKeyAllowed(QChar c, bool allowPoint);

// Whether a number box may hold this text, however it got there: typed,
// pasted, dropped or committed by an input method. Digits only, and the
// point where decimals are wanted.
bool DigitTextAllowed(QStringView text, bool allowPoint);
