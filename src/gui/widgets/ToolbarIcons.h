#pragma once

#include <QIcon>

// Line icons of the main toolbar, drawn in the toolbar's light ink so they
// read on its dark slate.
namespace ToolbarIcons {

enum class Glyph { Settings, Language, EventLog, DataLog, LogSetting, About, Exit };

QIcon Icon(Glyph glyph);

} // namespace ToolbarIcons
