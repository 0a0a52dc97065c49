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
