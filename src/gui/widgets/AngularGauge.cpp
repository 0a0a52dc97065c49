#include "gui/widgets/AngularGauge.h"

#include "gui/widgets/WidgetPalette.h"
#include "model/ValueFormat.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDesignSide = 200.0;
constexpr QPointF kCentre(100.0, 100.0);
constexpr double kStartDegrees = 225.0; // the minimum, lower left
constexpr double kSweepDegrees = 270.0; // clockwise up to the lower right
constexpr int kMinorPerMajor = 5;

constexpr double kBezelRadius = 99.0;
constexpr double kFaceRadius = 93.0;
constexpr double kBandRadius = 81.0;
constexpr double kBandWidth = 7.0;
constexpr double kTickOuter = 86.0;
constexpr double kMajorTickInner = 72.0;
constexpr double kMinorTickInner = 79.0;
constexpr double kLabelRadius = 60.0;
constexpr double kNeedleLength = 80.0;

double AngleFor(double fraction)
{
    return kStartDegrees - kSweepDegrees * fraction;
}

QPointF PointAt(double radius, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return kCentre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

QRectF CircleRect(double radius)
{
    return QRectF(kCentre.x() - radius, kCentre.y() - radius, 2 * radius, 2 * radius);
}

QString TickLabel(double value)
{
    return FormatFixed(value, value == std::round(value) ? 0 : 1);
}

bool SameValue(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

AngularGauge::AngularGauge(QWidget *parent)
    : QWidget(parent),
      m_scale{0.0, 300.0, 6, {}},
      m_value(0.0)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void AngularGauge::setScale(const GaugeScale &scale)
{
    m_scale = scale;
    update();
}

void AngularGauge::setValue(double value)
{
    if (SameValue(value, m_value))
        return;
    m_value = value;
    update();
}

void AngularGauge::setUnit(const QString &unit)
{
    if (unit == m_unit)
        return;
    m_unit = unit;
    update();
}

void AngularGauge::setDecimals(int decimals)
{
    decimals = std::clamp(decimals, 0, 6);
    if (decimals == m_decimals)
        return;
    m_decimals = decimals;
    update();
}

void AngularGauge::setCaptionVisible(bool visible)
{
    if (visible == m_captionVisible)
        return;
    m_captionVisible = visible;
    update();
}

QString AngularGauge::captionText() const
{
    const QString number = FormatFixed(m_value, m_decimals);
    return m_unit.isEmpty() ? number : number + QLatin1Char(' ') + m_unit;
}

QSize AngularGauge::sizeHint() const
{
    const int side = std::max(160, fontMetrics().height() * 10);
    return QSize(side, side);
}

QSize AngularGauge::minimumSizeHint() const
{
    return QSize(80, 80);
}

void AngularGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const double side = std::min(width(), height());
    painter.translate((width() - side) / 2.0, (height() - side) / 2.0);
    painter.scale(side / kDesignSide, side / kDesignSide);

    paintFace(painter);
    paintBands(painter);
    paintTicks(painter);
    if (m_captionVisible)
        paintCaption(painter);
    paintNeedle(painter);
}

void AngularGauge::paintFace(QPainter &painter) const
{
    QLinearGradient bezel(0, 0, 0, kDesignSide);
    bezel.setColorAt(0.0, QColor(0x8C, 0x95, 0xA0));
    bezel.setColorAt(1.0, QColor(0x3E, 0x45, 0x4E));
    painter.setPen(Qt::NoPen);
    painter.setBrush(bezel);
    painter.drawEllipse(CircleRect(kBezelRadius));

    QRadialGradient face(kCentre - QPointF(0, 30), kFaceRadius * 1.3);
    face.setColorAt(0.0, Qt::white);
    face.setColorAt(1.0, QColor(0xE3, 0xE7, 0xEC));
    painter.setBrush(face);
    painter.drawEllipse(CircleRect(kFaceRadius));
}

void AngularGauge::paintBands(QPainter &painter) const
{
    const QRectF arcRect = CircleRect(kBandRadius);
    for (const GaugeBand &band : m_scale.bands) {
        const double from = ScaleFraction(m_scale, band.from);
        const double to = ScaleFraction(m_scale, band.to);
        if (to <= from)
            continue;
        painter.setPen(QPen(WidgetPalette::Band(band.colour), kBandWidth, Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        const int start = qRound(AngleFor(from) * 16);
        const int span = qRound(-kSweepDegrees * (to - from) * 16);
        painter.drawArc(arcRect, start, span);
    }
}

void AngularGauge::paintTicks(QPainter &painter) const
{
    const int majors = std::max(m_scale.majorTicks, 2);
    const int intervals = (majors - 1) * kMinorPerMajor;
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i <= intervals; ++i) {
        const bool major = i % kMinorPerMajor == 0;
        const double degrees = AngleFor(static_cast<double>(i) / intervals);
        painter.setPen(QPen(WidgetPalette::Ink(), major ? 2.0 : 1.0, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(PointAt(major ? kMajorTickInner : kMinorTickInner, degrees),
                         PointAt(kTickOuter, degrees));
    }

    QFont labelFont = font();
    labelFont.setPixelSize(15);
    painter.setFont(labelFont);
    painter.setPen(WidgetPalette::Ink());
    for (int i = 0; i < majors; ++i) {
        const double degrees = AngleFor(static_cast<double>(i) / (majors - 1));
        const QPointF at = PointAt(kLabelRadius, degrees);
        const QRectF box(at.x() - 20, at.y() - 9, 40, 18);
        painter.drawText(box, Qt::AlignCenter, TickLabel(MajorTickValue(m_scale, i)));
    }
}

void AngularGauge::paintCaption(QPainter &painter) const
{
    QFont captionFont = font();
    captionFont.setPixelSize(16);
    captionFont.setBold(true);
    painter.setFont(captionFont);
    const QString text = captionText();
    const double textWidth = QFontMetricsF(captionFont).horizontalAdvance(text);
    const double boxWidth = std::clamp(textWidth + 14.0, 64.0, 120.0);
    const QRectF box(kCentre.x() - boxWidth / 2, 146, boxWidth, 24);

    painter.setPen(QPen(QColor(0xB5, 0xBC, 0xC5), 1.0));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(box, 5, 5);
    painter.setPen(WidgetPalette::Ink());
    painter.drawText(box, Qt::AlignCenter, text);
}

void AngularGauge::paintNeedle(QPainter &painter) const
{
    const double degrees = AngleFor(ScaleFraction(m_scale, m_value));
    painter.save();
    painter.translate(kCentre);
    painter.rotate(-degrees);

    // Drawn pointing along +x, then turned to its angle.
    QPainterPath needle;
    needle.moveTo(-14, -3.5);
    needle.lineTo(kNeedleLength, -0.8);
    needle.lineTo(kNeedleLength, 0.8);
    needle.lineTo(-14, 3.5);
    needle.closeSubpath();
    painter.setPen(QPen(QColor(0x8E, 0x1B, 0x14), 0.8));
    painter.setBrush(QColor(0xD9, 0x36, 0x2B));
    painter.drawPath(needle);
    painter.restore();

    QRadialGradient hub(kCentre - QPointF(2.5, 2.5), 10);
    hub.setColorAt(0.0, QColor(0x9A, 0xA3, 0xAE));
    hub.setColorAt(1.0, QColor(0x2B, 0x30, 0x38));
    painter.setPen(Qt::NoPen);
    painter.setBrush(hub);
    painter.drawEllipse(CircleRect(8.0));
}
