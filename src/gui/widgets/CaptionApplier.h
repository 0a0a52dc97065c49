#pragma once

#include "model/TCaptionRow.h"

#include <vector>

class QObject;

// Sets the texts of a caption table on the controls under root, found by
// object name (root itself included). A control the table names but the
// window does not have is skipped.
void ApplyCaptions(QObject *root, const std::vector<TCaptionRow> &rows);

// The caption a control shows: what ApplyCaptions sets for TCaptionRole::Caption.
QString CaptionOf(const QObject *control);
