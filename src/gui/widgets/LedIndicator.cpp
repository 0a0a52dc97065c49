#include "gui/widgets/LedIndicator.h"

#include "gui/widgets/WidgetPalette.h"

#include <QPainter>
#include <QRadialGradient>

LedIndicator::LedIndicator(QWidget *parent)
    : QWidget(parent),
      m_colour(WidgetPalette::LampGreen())
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LedIndicator::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    update();
}

void LedIndicator::setColour(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

QSize LedIndicator::sizeHint() const
{
    const int side = std::max(14, fontMetrics().height());
    return QSize(side, side);
}

QSize LedIndicator::minimumSizeHint() const
{
    return QSize(8, 8);
}

void LedIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height()) - 1.0;
    if (side <= 2.0)
        return;
    const QRectF lamp((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    const QColor body = m_on ? m_colour : WidgetPalette::Unlit(m_colour);

    // A highlight toward the upper left makes the lamp read as a dome.
    QRadialGradient dome(lamp.center() - QPointF(side * 0.18, side * 0.18), side * 0.7);
    dome.setColorAt(0.0, m_on ? body.lighter(170) : body.lighter(150));
    dome.setColorAt(0.6, body);
    dome.setColorAt(1.0, body.darker(m_on ? 130 : 110));
    painter.setPen(QPen(QColor(0x20, 0x24, 0x2A), std::max(1.0, side / 16.0)));
    painter.setBrush(dome);
    painter.drawEllipse(lamp.adjusted(0.5, 0.5, -0.5, -0.5));
}
