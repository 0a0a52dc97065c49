#pragma once

#include "model/TCaptionRow.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// Texts of the equipment search, add and property windows in the language
// of the Language setting.

struct TEquipSearchTexts {
    QString SearchButton; // no search running
    QString StopButton;   // a search running
    QString Completed;    // shown once a search has run to its end
    QString AddrHeader;
    QString NameHeader;
    QString CloseRefused;
    QString AddrUsed;
    QString AlreadyInTable;
    QString NameMissing;
    QString NothingToAppend;
};

TEquipSearchTexts EquipSearchTexts(quint8 language);
// Captions and hints of the search window's controls.
std::vector<TCaptionRow> EquipSearchCaptions(quint8 language);

// Messages of the add and property windows. Their English empty-name texts
// differ in one letter's case.
struct TEquipEditTexts {
    QString NameEmpty;
    QString AddrEmpty; // add window only
    QString NameTooLong;
};

TEquipEditTexts NewEquipTexts(quint8 language);
TEquipEditTexts PropertyTexts(quint8 language);
std::vector<TCaptionRow> NewEquipCaptions(quint8 language);
std::vector<TCaptionRow> PropertyCaptions(quint8 language);
