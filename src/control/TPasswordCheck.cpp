#include "control/TPasswordCheck.h"

#include "model/TextLanguage.h"

namespace {

const QLatin1String kPassword("LQW4817");

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

TPasswordCheck::TOutcome TPasswordCheck::Confirm(const QString &entry)
{
    if (CheckPassword(TrimEntry(entry)))
        return TOutcome::Accepted;
    ++FWrongEntries;
    return FWrongEntries >= kMaxTries ? TOutcome::GiveUp : TOutcome::TryAgain;
}

bool TPasswordCheck::CheckPassword(const QString &text)
{
    FModelName = text;
    return text == kPassword;
}

QString TPasswordCheck::TrimEntry(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlankOrControl(text.at(first)))
        ++first;
    while (last > first && IsBlankOrControl(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

QString TPasswordCheck::InvalidText(quint8 language)
{
    return LanguageText(IsChineseLanguage(language), "密码无效", "Password is invalid.");
}
