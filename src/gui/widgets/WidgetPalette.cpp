#include "gui/widgets/WidgetPalette.h"

namespace WidgetPalette {

QColor Band(BandColour colour)
{
    switch (colour) {
    case BandColour::Yellow: return QColor(0xF2, 0xC2, 0x1B);
    case BandColour::Green: return QColor(0x2E, 0xB8, 0x5C);
    case BandColour::Red: return QColor(0xE0, 0x3B, 0x2F);
    }
    return Ink();
}

QColor LampGreen() { return QColor(0x3C, 0xE0, 0x5A); }
QColor LampYellow() { return QColor(0xFF, 0xD0, 0x20); }
QColor LampRed() { return QColor(0xF0, 0x3A, 0x2E); }

QColor Ink() { return QColor(0x2B, 0x30, 0x38); }
QColor Inactive() { return QColor(0xA4, 0xAA, 0xB2); }
QColor Energised() { return QColor(0x1F, 0xA8, 0x4F); }

QColor Unlit(const QColor &lit)
{
    QColor off = lit.toHsv();
    off.setHsv(off.hue(), off.saturation() * 45 / 100, off.value() * 30 / 100);
    return off;
}

} // namespace WidgetPalette
