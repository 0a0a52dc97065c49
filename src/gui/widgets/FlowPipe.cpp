#include "gui/widgets/FlowPipe.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

FlowPipe::FlowPipe(QWidget *parent)
    : QWidget(parent)
{
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &FlowPipe::advance);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void FlowPipe::setOrientation(Qt::Orientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    if (orientation == Qt::Horizontal)
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    else
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    updateGeometry();
    update();
}

void FlowPipe::setFlowing(bool flowing)
{
    if (flowing == m_flowing)
        return;
    m_flowing = flowing;
    updateTimer();
    update();
}

void FlowPipe::setDirection(FlowDirection direction)
{
    m_direction = direction;
}

void FlowPipe::setInterval(int ms)
{
    // Setting a running timer's interval restarts its count. The view sets
    // the interval on every refresh, so only a real change may reach the
    // timer, or a slow flow would never get to its next step.
    ms = std::max(ms, 1);
    if (ms != m_timer.interval())
        m_timer.setInterval(ms);
}

void FlowPipe::apply(const BatteryFlow &flow)
{
    setVisible(flow.visible);
    setDirection(flow.direction);
    setInterval(flow.intervalMs);
    setFlowing(flow.flowing);
}

void FlowPipe::advance()
{
    if (!m_flowing)
        return;
    const int step = m_direction == FlowDirection::Forward ? 1 : kStepsPerPitch - 1;
    m_phase = (m_phase + step) % kStepsPerPitch;
    update();
}

void FlowPipe::updateTimer()
{
    if (m_flowing && isVisible())
        m_timer.start();
    else
        m_timer.stop();
}

void FlowPipe::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateTimer();
}

void FlowPipe::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    updateTimer();
}

QSize FlowPipe::sizeHint() const
{
    const int thickness = std::max(12, fontMetrics().height());
    const int length = thickness * 10;
    return m_orientation == Qt::Horizontal ? QSize(length, thickness) : QSize(thickness, length);
}

QSize FlowPipe::minimumSizeHint() const
{
    return m_orientation == Qt::Horizontal ? QSize(24, 6) : QSize(6, 24);
}

void FlowPipe::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // Paint a horizontal pipe; a vertical one is the same pipe turned, with
    // forward running from top to bottom.
    double length = width();
    double thickness = height();
    if (m_orientation == Qt::Vertical) {
        painter.translate(width(), 0);
        painter.rotate(90);
        std::swap(length, thickness);
    }
    if (length <= 2 || thickness <= 2)
        return;

    const QRectF tube(0.5, 0.5, length - 1.0, thickness - 1.0);
    QLinearGradient metal(0, tube.top(), 0, tube.bottom());
    metal.setColorAt(0.0, QColor(0xDD, 0xE0, 0xE4));
    metal.setColorAt(0.45, QColor(0xB9, 0xBE, 0xC5));
    metal.setColorAt(1.0, QColor(0x86, 0x8D, 0x96));
    painter.setPen(QPen(QColor(0x6C, 0x73, 0x7C), 1.0));
    painter.setBrush(metal);
    const double radius = thickness / 2.0;
    painter.drawRoundedRect(tube, radius, radius);
    if (!m_flowing)
        return;

    const double boxHeight = thickness * 0.5;
    const double boxLength = thickness * 0.9;
    const double pitch = thickness * 2.0;
    const double offset = pitch * m_phase / kStepsPerPitch;
    const double top = (thickness - boxHeight) / 2.0;

    QPainterPath inside;
    inside.addRoundedRect(tube.adjusted(2, 2, -2, -2), radius - 2, radius - 2);
    painter.setClipPath(inside);
    QLinearGradient glow(0, top, 0, top + boxHeight);
    glow.setColorAt(0.0, QColor(0x7C, 0xF0, 0x8E));
    glow.setColorAt(1.0, QColor(0x1E, 0xA0, 0x44));
    painter.setPen(QPen(QColor(0x15, 0x6E, 0x30), 0.8));
    painter.setBrush(glow);
    for (double x = offset - pitch; x < length; x += pitch)
        painter.drawRoundedRect(QRectF(x, top, boxLength, boxHeight), 1.5, 1.5);
}
