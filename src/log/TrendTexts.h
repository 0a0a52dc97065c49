#pragma once

#include "log/TTrendQuery.h"
#include "model/TCaptionRow.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// Captions of the trend window's controls, by object name, in the language
// of the setting.
std::vector<TCaptionRow> TrendWindowCaptions(quint8 language);

// The object name of a value's check box ("ckbInVA" ...).
const char *TrendValueControlName(int value);

// The panes of the trend plot: the values that share a unit, and the title.
struct TTrendPaneTexts {
    QString Title;
    std::vector<int> Values;
};
std::vector<TTrendPaneTexts> TrendPanes(quint8 language);

// What the window says about what it shows and what it is doing.
QString TrendNoDataText(quint8 language);
QString TrendResolutionText(TTrendResolution resolution, quint8 language);
QString TrendPointsText(qsizetype points, quint8 language);
QString TrendDrawnText(double milliseconds, quint8 language);
QString TrendStepText(TTrendQuery::TStep step, const QString &monthFile, quint8 language);
QString TrendSaveFailedText(const QString &path, quint8 language);
