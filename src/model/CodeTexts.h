#pragma once

#include <QString>
#include <QtGlobal>

// Words for the codes that status records and the event log carry as
// numbers, in the language of the Language setting (Chinese for 1, English
// otherwise). A code a table does not hold gives an empty text, which every
// caller treats as nothing to show.

// Link and software events, codes 18 to 23.
QString GetEventText(qint32 code, quint8 language);

// Operating states 1 to 11, and 18 for a device whose link is down.
QString GetStateText(qint32 code, quint8 language);

// Alarms 0 to 210 of the Modbus, YD/T and ROrizu alarm words and items.
QString GetAlarmText(qint32 code, quint8 language);
