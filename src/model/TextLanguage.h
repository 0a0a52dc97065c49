#pragma once

#include <QString>
#include <QtGlobal>

// The one rule that picks the language of every text the program shows:
// Chinese for the setting 1, English for any other value.
constexpr bool IsChineseLanguage(quint8 language)
{
    return language == 1;
}

// One caption of a bilingual table, both texts in UTF-8.
inline QString LanguageText(bool chinese, const char *zh, const char *en)
{
    return QString::fromUtf8(chinese ? zh : en);
}
