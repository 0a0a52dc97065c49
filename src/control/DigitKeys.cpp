#include "control/DigitKeys.h"

bool DigitKeyAllowed(QChar c, bool allowPoint)
{
    const char16_t code = c.unicode();
    if (code >= u'0' && code <= u'9')
        return true;
    if (allowPoint && code == u'.')
        return true;
    return code == 3 || code == 8 || code == 22 || code == 24;
}

bool DigitTextAllowed(QStringView text, bool allowPoint)
{
    for (QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && !(allowPoint && c == u'.'))
            return false;
    }
    return true;
}
