#include "gui/widgets/ToolbarIcons.h"

#include "gui/widgets/PaintedIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace ToolbarIcons {

namespace {

constexpr int kSize = 24;
const QColor kInk(0xE4, 0xEB, 0xF2);
const QColor kAccent(0x4F, 0xC3, 0xD6);

void Settings(QPainter &p)
{
    // A cog: eight teeth around a ring.
    p.save();
    p.translate(12, 12);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        p.drawRoundedRect(QRectF(-1.8, -10, 3.6, 5), 0.8, 0.8);
        p.rotate(45);
    }
    p.setPen(QPen(kInk, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 5.6, 5.6);
    p.setPen(QPen(kAccent, 1.8));
    p.drawEllipse(QPointF(0, 0), 2.2, 2.2);
    p.restore();
}

void Language(QPainter &p)
{
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.drawEllipse(QRectF(8, 3, 8, 18));
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
}

void Page(QPainter &p)
{
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4.5, 2.5, 15, 19), 2, 2);
}

void EventLog(QPainter &p)
{
    Page(p);
    for (int row = 0; row < 4; ++row) {
        const double y = 7 + row * 4;
        p.setPen(QPen(kAccent, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(8, y));
        p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.5, y), QPointF(16.5, y));
    }
}

void DataLog(QPainter &p)
{
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3), QPointF(3.5, 20.5));
    p.drawLine(QPointF(3.5, 20.5), QPointF(21, 20.5));
    p.setBrush(kAccent);
    p.setPen(Qt::NoPen);
    const double heights[4] = {6, 11, 8, 14};
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(6.5 + i * 3.7, 19 - heights[i], 2.6, heights[i]), 0.6, 0.6);
}

void LogSetting(QPainter &p)
{
    // Three sliders.
    const double knobs[3] = {8, 15, 11};
    for (int i = 0; i < 3; ++i) {
        const double y = 6 + i * 6;
        p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, y), QPointF(20.5, y));
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(knobs[i], y), 2.4, 2.4);
    }
}

void About(QPainter &p)
{
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setPen(QPen(kAccent, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(QPointF(12, 7.5));
    p.drawLine(QPointF(12, 11), QPointF(12, 17));
}

void Exit(QPainter &p)
{
    // The power symbol.
    p.setPen(QPen(QColor(0xFF, 0x8A, 0x7A), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 5, 16, 16), 120 * 16, 300 * 16);
    p.drawLine(QPointF(12, 3), QPointF(12, 12));
}

void PaintGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Settings: Settings(p); break;
    case Glyph::Language: Language(p); break;
    case Glyph::EventLog: EventLog(p); break;
    case Glyph::DataLog: DataLog(p); break;
    case Glyph::LogSetting: LogSetting(p); break;
    case Glyph::About: About(p); break;
    case Glyph::Exit: Exit(p); break;
    }
}

} // namespace

QIcon Icon(Glyph glyph)
{
    return PaintedIcon(QSize(kSize, kSize), [glyph](QPainter &p) { PaintGlyph(p, glyph); });
}

} // namespace ToolbarIcons
