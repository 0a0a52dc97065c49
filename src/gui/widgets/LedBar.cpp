#include "gui/widgets/LedBar.h"

#include "gui/widgets/WidgetPalette.h"
#include "model/ValueFormat.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kFramePadding = 3.0;
constexpr double kMarkGap = 4.0;

bool SameValue(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

QColor Lighter(const QColor &colour)
{
    return colour.lighter(135);
}

} // namespace

LedBar::LedBar(QWidget *parent)
    : QWidget(parent),
      m_scale(LoadPercentScale())
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void LedBar::setScale(const GaugeScale &scale)
{
    m_scale = scale;
    updateGeometry();
    update();
}

void LedBar::setValue(double value)
{
    if (SameValue(value, m_value))
        return;
    const int litBefore = litSegments();
    m_value = value;
    if (litSegments() != litBefore)
        update();
}

int LedBar::litSegments() const
{
    return LitSegments(m_scale, m_value, m_segments);
}

void LedBar::setSegmentCount(int count)
{
    count = std::max(count, 1);
    if (count == m_segments)
        return;
    m_segments = count;
    update();
}

void LedBar::setScaleMarksVisible(bool visible)
{
    if (visible == m_marksVisible)
        return;
    m_marksVisible = visible;
    updateGeometry();
    update();
}

QList<LedBar::Mark> LedBar::marks() const
{
    QList<Mark> result;
    if (!m_marksVisible)
        return result;
    auto percentText = [](double value) { return FormatFixed(value, 0) + QLatin1Char('%'); };
    result.append({m_scale.maximum, percentText(m_scale.maximum)});
    if (m_scale.bands.size() > 1)
        result.append({m_scale.bands.front().to, percentText(m_scale.bands.front().to)});
    return result;
}

double LedBar::marksWidth() const
{
    double widest = 0.0;
    const QFontMetricsF metrics(font());
    for (const Mark &mark : marks())
        widest = std::max(widest, metrics.horizontalAdvance(mark.text));
    return widest > 0.0 ? widest + kMarkGap + 3.0 : 0.0;
}

QSize LedBar::sizeHint() const
{
    const int barWidth = fontMetrics().height() * 2;
    return QSize(qCeil(marksWidth()) + barWidth, std::max(160, fontMetrics().height() * 10));
}

QSize LedBar::minimumSizeHint() const
{
    return QSize(qCeil(marksWidth()) + 12, 60);
}

void LedBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    // Half a text line above and below, so the top mark's text fits.
    const double halfLine = m_marksVisible ? QFontMetricsF(font()).height() / 2.0 : 0.0;
    const QRectF bar(marksWidth(), halfLine, width() - marksWidth(), height() - 2 * halfLine);
    if (bar.width() <= 2 * kFramePadding || bar.height() <= 2 * kFramePadding)
        return;

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1E, 0x22, 0x28));
    painter.drawRoundedRect(bar, 3, 3);
    paintSegments(painter, bar);
    paintMarks(painter, bar);
}

void LedBar::paintSegments(QPainter &painter, const QRectF &bar) const
{
    const QRectF inside = bar.adjusted(kFramePadding, kFramePadding, -kFramePadding, -kFramePadding);
    const double pitch = inside.height() / m_segments;
    const double gap = std::clamp(pitch * 0.25, 0.5, 2.0);
    const int lit = litSegments();
    for (int i = 0; i < m_segments; ++i) {
        const double bottom = inside.bottom() - i * pitch;
        const QRectF segment(inside.left(), bottom - pitch + gap / 2, inside.width(), pitch - gap);
        const QColor colour = WidgetPalette::Band(SegmentColour(m_scale, i, m_segments));
        if (i < lit) {
            QLinearGradient shine(segment.topLeft(), segment.topRight());
            shine.setColorAt(0.0, colour);
            shine.setColorAt(0.5, Lighter(colour));
            shine.setColorAt(1.0, colour);
            painter.setBrush(shine);
        } else {
            painter.setBrush(WidgetPalette::Unlit(colour));
        }
        painter.drawRoundedRect(segment, 1.0, 1.0);
    }
}

void LedBar::paintMarks(QPainter &painter, const QRectF &bar) const
{
    const QRectF inside = bar.adjusted(0, kFramePadding, 0, -kFramePadding);
    const QFontMetricsF metrics(font());
    painter.setFont(font());
    for (const Mark &mark : marks()) {
        const double y = inside.bottom() - ScaleFraction(m_scale, mark.value) * inside.height();
        painter.setPen(QPen(WidgetPalette::Ink(), 1.0));
        painter.drawLine(QPointF(bar.left() - 3.0, y), QPointF(bar.left(), y));
        const QRectF textBox(0, y - metrics.height() / 2, bar.left() - kMarkGap, metrics.height());
        painter.drawText(textBox, Qt::AlignRight | Qt::AlignVCenter, mark.text);
    }
}
