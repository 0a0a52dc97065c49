#pragma once

#include <QString>
#include <QtGlobal>

// Title of the About box.
QString AboutTitle(quint8 language);

// The product line: the product text, " Version " and the version text,
// which is empty when the build carries none.
QString AboutProductLine(quint8 language, const QString &versionText);
