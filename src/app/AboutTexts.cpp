#include "app/AboutTexts.h"

#include "model/TextLanguage.h"

QString AboutTitle(quint8 language)
{
    return LanguageText(IsChineseLanguage(language), "关于", "About");
}

QString AboutProductLine(quint8 language, const QString &versionText)
{
    return LanguageText(IsChineseLanguage(language), "PC监控软件", "PC Monitor Software")
           + QStringLiteral(" Version ") + versionText;
}
