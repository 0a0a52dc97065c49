#pragma once

#include "model/TCaptionRow.h"

#include <QString>
#include <QtGlobal>

#include <vector>

struct TUpsInfo;
struct TUpsPara;

// What the user settings window shows: its captions, and the text of each
// value box for a parameter block.
namespace UserSetTexts {

// The text of one value box, by the box's object name.
struct TValueText {
    const char *Box;
    QString Text;
};

// Every value box, in screen order.
const std::vector<const char *> &ValueBoxes();

// The texts of every value box for `para`; the operation mode in the
// language of the setting, the rest the same in both.
std::vector<TValueText> ValueTexts(const TUpsPara &para, quint8 language);

// Window title, Set button, labels and the battery group.
std::vector<TCaptionRow> Captions(quint8 language);

// The operation mode exists only on the model with register 40029.
bool OperationModeShown(const QString &modelName);

// Values are shown only while the port is open and the device online;
// otherwise the boxes are emptied.
bool ShowsValues(bool portOpened, const TUpsInfo &rec);

} // namespace UserSetTexts
