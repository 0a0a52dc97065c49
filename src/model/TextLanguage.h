#pragma once

#include <QtGlobal>

// The one rule that picks the language of every text the program shows:
// Chinese for the setting 1, English for any other value.
constexpr bool IsChineseLanguage(quint8 language)
{
    return language == 1;
}
