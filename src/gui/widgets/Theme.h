#pragma once

class QApplication;

// The monitor's look: light panels that suit the gauges and diagrams, framed
// by a dark slate menu bar, toolbar and status bar, with a font that holds
// the Chinese captions.
namespace Theme {

void Apply(QApplication &app);

// The style sheet alone, for windows shown outside the application's style.
const char *StyleSheet();

} // namespace Theme
