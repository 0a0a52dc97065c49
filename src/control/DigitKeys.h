#pragma once

#include <QChar>

// Which typed characters the number boxes of the control windows take: the
// digits, the point where decimals are wanted, and the control characters
// of copy (3), backspace (8), paste (22) and cut (24). Every other typed
// character is dropped; pasted text is not filtered and is checked when
// the value is used.
bool DigitKeyAllowed(QChar c, bool allowPoint);
