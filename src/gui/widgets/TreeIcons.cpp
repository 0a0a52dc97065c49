#include "gui/widgets/TreeIcons.h"

#include "gui/widgets/PaintedIcon.h"
#include "gui/widgets/WidgetPalette.h"

#include <QPainter>
#include <QPainterPath>

namespace TreeIcons {

namespace {

constexpr int kSize = 16;

QColor LampColour(TTreeIcon icon)
{
    switch (icon) {
    case kIconOnline: return WidgetPalette::LampGreen();
    case kIconAlarm: return QColor(0xF5, 0x9E, 0x0B);
    default: return QColor(0x8A, 0x93, 0x9D);
    }
}

void PaintCabinet(QPainter &p, TTreeIcon icon)
{
    const QColor body = icon == kIconOffline ? QColor(0x9A, 0xA4, 0xAE) : QColor(0x3A, 0x4C, 0x5F);
    p.setPen(QPen(body.darker(140), 0.8));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 1.5, 9, 13), 1.5, 1.5);
    // Vent slots of the front panel.
    p.setPen(QPen(QColor(0xE6, 0xEB, 0xF0), 0.9));
    for (double y : {4.5, 6.5, 8.5})
        p.drawLine(QPointF(4.5, y), QPointF(9.5, y));
    // The lamp sits on the corner, large enough to read at a glance.
    const QColor lamp = LampColour(icon);
    p.setPen(QPen(lamp.darker(160), 0.8));
    p.setBrush(lamp);
    p.drawEllipse(QPointF(11.5, 11.5), 3.6, 3.6);
    if (icon == kIconAlarm) {
        p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.5, 9.6), QPointF(11.5, 11.9));
        p.drawPoint(QPointF(11.5, 13.4));
    }
}

void PaintChild(QPainter &p)
{
    p.setPen(QPen(QColor(0x1F, 0x7A, 0x8C), 0.9));
    p.setBrush(QColor(0xEA, 0xF5, 0xF7));
    QPainterPath page;
    page.moveTo(3.5, 2.5);
    page.lineTo(10, 2.5);
    page.lineTo(12.5, 5);
    page.lineTo(12.5, 13.5);
    page.lineTo(3.5, 13.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setPen(QPen(QColor(0x1F, 0x7A, 0x8C), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath trace;
    trace.moveTo(5, 10.5);
    trace.lineTo(7, 8);
    trace.lineTo(8.5, 9.5);
    trace.lineTo(11, 6);
    p.drawPath(trace);
}

} // namespace

QIcon Icon(TTreeIcon icon)
{
    return PaintedIcon(QSize(kSize, kSize), [icon](QPainter &p) {
        if (icon == kIconChild)
            PaintChild(p);
        else
            PaintCabinet(p, icon);
    });
}

} // namespace TreeIcons
