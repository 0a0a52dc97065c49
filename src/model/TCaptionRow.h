#pragma once

#include <QString>

// Which text of a control a caption row sets.
enum class TCaptionRole {
    Caption, // what the control shows: title of a window, menu, group, tab or
             // chart; text of a label, button or menu item
    Hint     // the tool tip
};

// One row of a caption table: the control by its object name, the role and
// the text in the language asked for.
struct TCaptionRow {
    const char *ObjectName;
    TCaptionRole Role;
    QString Text;
};
