#pragma once

#include "model/TCaptionRow.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// Captions of the real-time view's panes (tabs, gauge labels, value panel
// titles, graph titles, the supply rows), in the language of the setting.
std::vector<TCaptionRow> RealTimeViewCaptions(quint8 language);

// Words of the two supply rows.
struct TSupplyTexts {
    QString NoSupply;
    QString Mains;
    QString Battery;
    QString Inverter;
    QString Bypass;
    QString Eco;
};

TSupplyTexts SupplyTexts(quint8 language);

// Caption of the only output label left when the output side shows one phase.
QString SinglePhaseOutputCaption(quint8 language);

// Child node captions of every device in the tree: "Real-time Info", "Graph".
std::vector<QString> DeviceChildCaptions(quint8 language);
