#include "app/TAboutAccess.h"

namespace {

constexpr char16_t kEscape = 27;

bool IsDecimalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TAboutAccess::TKeyAction TAboutAccess::KeyPress(QChar c)
{
    if (c == QChar(kEscape))
        return TKeyAction::Close;
    if (!IsDecimalDigit(c)) {
        FDigits.clear();
        return TKeyAction::HideTrace;
    }
    FDigits.append(c);
    if (FDigits.size() > kMaxDigits)
        FDigits.clear();
    return FDigits == kAccessCode ? TKeyAction::OpenTrace : TKeyAction::None;
}

bool TAboutAccess::DoubleClick()
{
    ++FDoubleClicks;
    return FDoubleClicks >= kDoubleClicksToOpen;
}

void TAboutAccess::Reset()
{
    FDigits.clear();
    FDoubleClicks = 0;
}
