#pragma once

#include "model/GaugeScale.h"

#include <QColor>

// The colours our widgets share, so gauges, bars and lamps agree on what
// "green" means.
namespace WidgetPalette {

QColor Band(BandColour colour);

// Lamps: the transmit indicator lights green, the receive indicator yellow.
QColor LampGreen();
QColor LampYellow();
QColor LampRed();

QColor Ink();       // outlines and text
QColor Inactive();  // paths and parts without power
QColor Energised(); // paths carrying power

// A lamp or segment that is off: the colour, much darker and duller.
QColor Unlit(const QColor &lit);

} // namespace WidgetPalette
