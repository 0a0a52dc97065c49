#include "gui/widgets/ModeDiagram.h"

#include "gui/widgets/WidgetPalette.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

constexpr double kDesignWidth = 460.0;
constexpr double kDesignHeight = 240.0;
constexpr int kAnimationMs = 120;

// Rows of the two inputs and the places of the parts on them.
constexpr double kMainRow = 70.0;
constexpr double kBypassRow = 190.0;
constexpr QPointF kMainsSource(42.0, kMainRow);
constexpr QPointF kBypassSource(42.0, kBypassRow);
constexpr double kSourceRadius = 20.0;
constexpr QRectF kRectifier(100.0, 45.0, 56.0, 50.0);
constexpr QRectF kInverter(254.0, 45.0, 56.0, 50.0);
constexpr QPointF kBusNode(205.0, kMainRow);
constexpr double kBatteryTop = 112.0;
constexpr double kContactIn = 335.0;
constexpr double kContactOut = 365.0;
constexpr double kJunctionX = 392.0;
constexpr QRectF kStaticSwitch(324.0, 48.0, 52.0, 164.0);
constexpr QRectF kLoad(410.0, 46.0, 42.0, 48.0);

enum class BatteryCurrent { Idle, Charging, Discharging };
enum class Badge { None, Eco, Test, Fault };

// What the picture of one mode shows as carrying power.
struct Scene {
    bool inputsPresent;
    bool rectifierOn;
    BatteryCurrent battery;
    bool inverterOn;
    bool inverterFeedsLoad;
    bool bypassFeedsLoad;
    Badge badge;
};

Scene SceneFor(UpsMode mode)
{
    using B = BatteryCurrent;
    switch (mode) {
    case UpsMode::Online: return {true, true, B::Charging, true, true, false, Badge::None};
    case UpsMode::Bypass: return {true, true, B::Charging, false, false, true, Badge::None};
    case UpsMode::Battery: return {false, false, B::Discharging, true, true, false, Badge::None};
    case UpsMode::Test: return {true, false, B::Discharging, true, true, false, Badge::Test};
    case UpsMode::Economy: return {true, true, B::Charging, true, false, true, Badge::Eco};
    case UpsMode::Fault: return {true, false, B::Idle, false, false, false, Badge::Fault};
    case UpsMode::Standby:
    case UpsMode::None: break;
    }
    return {true, true, B::Charging, false, false, false, Badge::None};
}

QColor FaultRed() { return QColor(0xD9, 0x36, 0x2B); }
QColor AmberMark() { return QColor(0xE8, 0x9A, 0x10); }
QColor PartFill(bool active) { return active ? QColor(0xE6, 0xF6, 0xEB) : QColor(0xF2, 0xF3, 0xF5); }
QColor PartLine(bool active) { return active ? WidgetPalette::Energised() : QColor(0x70, 0x77, 0x80); }

QPainterPath Polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it)
        path.lineTo(*it);
    return path;
}

// One period of a sine across `box`, the mark of alternating current.
QPainterPath SineIn(const QRectF &box)
{
    QPainterPath wave;
    const double midY = box.center().y();
    const double quarter = box.width() / 4.0;
    const double amplitude = box.height() / 2.0;
    wave.moveTo(box.left(), midY);
    wave.quadTo(box.left() + quarter, midY - 2 * amplitude, box.left() + 2 * quarter, midY);
    wave.quadTo(box.left() + 3 * quarter, midY + 2 * amplitude, box.right(), midY);
    return wave;
}

// Two lines, the upper solid and the lower dashed: direct current.
void PaintDcMark(QPainter &painter, const QRectF &box)
{
    const QPen pen = painter.pen();
    painter.drawLine(QPointF(box.left(), box.top()), QPointF(box.right(), box.top()));
    QPen dashed = pen;
    dashed.setDashPattern({2.0, 1.5});
    painter.setPen(dashed);
    painter.drawLine(QPointF(box.left(), box.bottom()), QPointF(box.right(), box.bottom()));
    painter.setPen(pen);
}

class ScenePainter
{
public:
    ScenePainter(QPainter &painter, const Scene &scene, int phase, const QFont &font)
        : p(painter), s(scene), m_phase(phase), m_font(font)
    {
    }

    void paint()
    {
        paintStaticSwitchFrame();
        paintWires();
        paintSource(kMainsSource);
        paintSource(kBypassSource);
        paintConverter(kRectifier, s.rectifierOn, true);
        paintConverter(kInverter, s.inverterOn, false);
        paintBattery();
        paintContact(kMainRow, s.inverterFeedsLoad);
        paintContact(kBypassRow, s.bypassFeedsLoad);
        paintJunctionDots();
        paintLoad();
        paintBadge();
    }

private:
    bool loadFed() const { return s.inverterFeedsLoad || s.bypassFeedsLoad; }

    // A wire drawn from where the power comes from to where it goes, so the
    // dashes run with the flow.
    void paintWire(const QPainterPath &path, bool live)
    {
        p.setBrush(Qt::NoBrush);
        if (!live) {
            p.setPen(QPen(WidgetPalette::Inactive(), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(path);
            return;
        }
        p.setPen(QPen(WidgetPalette::Energised(), 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        QPen dashes(QColor(0xD4, 0xF7, 0xDE), 2.0, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
        dashes.setDashPattern({2.0, 4.0});
        // A growing offset moves the pattern back toward the start of the path.
        dashes.setDashOffset(-static_cast<double>(m_phase));
        p.setPen(dashes);
        p.drawPath(path);
    }

    void paintWires()
    {
        const double sourceEdge = kMainsSource.x() + kSourceRadius;
        paintWire(Polyline({{sourceEdge, kMainRow}, {kRectifier.left(), kMainRow}}), s.rectifierOn);
        paintWire(Polyline({{kRectifier.right(), kMainRow}, kBusNode}), s.rectifierOn);
        paintWire(Polyline({kBusNode, {kInverter.left(), kMainRow}}), s.inverterOn);
        const QPainterPath down = Polyline({kBusNode, {kBusNode.x(), kBatteryTop}});
        if (s.battery == BatteryCurrent::Discharging)
            paintWire(down.toReversed(), true);
        else
            paintWire(down, s.battery == BatteryCurrent::Charging);
        paintWire(Polyline({{kInverter.right(), kMainRow}, {kContactIn, kMainRow}}), s.inverterOn);
        paintWire(Polyline({{kContactOut, kMainRow}, {kJunctionX, kMainRow}}), s.inverterFeedsLoad);
        paintWire(Polyline({{sourceEdge, kBypassRow}, {kContactIn, kBypassRow}}), s.bypassFeedsLoad);
        paintWire(Polyline({{kContactOut, kBypassRow}, {kJunctionX, kBypassRow}, {kJunctionX, kMainRow}}),
                  s.bypassFeedsLoad);
        paintWire(Polyline({{kJunctionX, kMainRow}, {kLoad.left(), kMainRow}}), loadFed());
    }

    void paintSource(const QPointF &centre)
    {
        const bool present = s.inputsPresent;
        const QColor line = present ? WidgetPalette::Energised() : FaultRed();
        p.setPen(QPen(line, 2.5));
        p.setBrush(Qt::white);
        p.drawEllipse(centre, kSourceRadius, kSourceRadius);
        p.setPen(QPen(present ? WidgetPalette::Ink() : WidgetPalette::Inactive(), 2.0, Qt::SolidLine,
                      Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(SineIn(QRectF(centre.x() - 11, centre.y() - 5, 22, 10)));
        if (!present) {
            // Crossed out: the supply has failed.
            p.setPen(QPen(FaultRed(), 3.0, Qt::SolidLine, Qt::RoundCap));
            const double d = kSourceRadius * 0.8;
            p.drawLine(centre + QPointF(-d, -d), centre + QPointF(d, d));
            p.drawLine(centre + QPointF(-d, d), centre + QPointF(d, -d));
        }
    }

    // A converter box split by its diagonal: AC over DC for the rectifier,
    // DC over AC for the inverter.
    void paintConverter(const QRectF &box, bool active, bool acIn)
    {
        const bool fault = s.badge == Badge::Fault;
        p.setPen(QPen(fault ? FaultRed() : PartLine(active), 2.5));
        p.setBrush(PartFill(active));
        p.drawRoundedRect(box, 5, 5);
        p.setPen(QPen(WidgetPalette::Ink(), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(box.bottomLeft() + QPointF(6, -6), box.topRight() + QPointF(-6, 6));
        const QRectF upperLeft(box.left() + 8, box.top() + 11, 18, 8);
        const QRectF lowerRight(box.right() - 26, box.bottom() - 19, 18, 8);
        p.setBrush(Qt::NoBrush);
        if (acIn) {
            p.drawPath(SineIn(upperLeft));
            PaintDcMark(p, lowerRight.adjusted(0, 1, 0, -1));
        } else {
            PaintDcMark(p, upperLeft.adjusted(0, 1, 0, -1));
            p.drawPath(SineIn(lowerRight));
        }
    }

    void paintBattery()
    {
        const bool active = s.battery != BatteryCurrent::Idle;
        const QColor line = PartLine(active);
        const double x = kBusNode.x();
        // Two cells: long thin plate (+) over short thick plate (-).
        for (int cell = 0; cell < 2; ++cell) {
            const double y = kBatteryTop + 4 + cell * 16;
            p.setPen(QPen(line, 2.5, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(x - 18, y), QPointF(x + 18, y));
            p.setPen(QPen(line, 5.0, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(x - 9, y + 8), QPointF(x + 9, y + 8));
        }
        p.setPen(QPen(line, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(x, kBatteryTop), QPointF(x, kBatteryTop + 4));
        p.drawLine(QPointF(x, kBatteryTop + 28), QPointF(x, kBatteryTop + 36));
        p.drawLine(QPointF(x - 8, kBatteryTop + 36), QPointF(x + 8, kBatteryTop + 36));
    }

    void paintContact(double row, bool closed)
    {
        const QPointF in(kContactIn, row);
        const QPointF out(kContactOut, row);
        const QPointF blade = closed ? out : QPointF(kContactOut - 4, row - 15);
        p.setPen(QPen(closed ? WidgetPalette::Energised() : QColor(0x70, 0x77, 0x80), 3.0, Qt::SolidLine,
                      Qt::RoundCap));
        p.drawLine(in, blade);
        p.setPen(Qt::NoPen);
        p.setBrush(WidgetPalette::Ink());
        p.drawEllipse(in, 3.2, 3.2);
        p.drawEllipse(out, 3.2, 3.2);
    }

    void paintStaticSwitchFrame()
    {
        QPen frame(QColor(0x9A, 0xA1, 0xAA), 1.2, Qt::DashLine);
        p.setPen(frame);
        p.setBrush(QColor(0xF7, 0xF8, 0xFA));
        p.drawRoundedRect(kStaticSwitch, 6, 6);
    }

    void paintJunctionDots()
    {
        p.setPen(Qt::NoPen);
        p.setBrush(s.rectifierOn || s.inverterOn || s.battery != BatteryCurrent::Idle
                       ? WidgetPalette::Energised()
                       : WidgetPalette::Inactive());
        p.drawEllipse(kBusNode, 4.5, 4.5);
        p.setBrush(loadFed() ? WidgetPalette::Energised() : WidgetPalette::Inactive());
        p.drawEllipse(QPointF(kJunctionX, kMainRow), 4.5, 4.5);
    }

    // A rack of equipment: the load.
    void paintLoad()
    {
        const bool fed = loadFed();
        p.setPen(QPen(PartLine(fed), 2.5));
        p.setBrush(PartFill(fed));
        p.drawRoundedRect(kLoad, 4, 4);
        for (int slot = 0; slot < 3; ++slot) {
            const QRectF unit(kLoad.left() + 7, kLoad.top() + 8 + slot * 12, kLoad.width() - 14, 8);
            p.setPen(QPen(WidgetPalette::Ink(), 1.2));
            p.setBrush(Qt::white);
            p.drawRoundedRect(unit, 1.5, 1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(fed ? WidgetPalette::LampGreen() : WidgetPalette::Inactive());
            p.drawEllipse(QPointF(unit.right() - 4, unit.center().y()), 1.8, 1.8);
        }
    }

    void paintBadge()
    {
        switch (s.badge) {
        case Badge::None: return;
        case Badge::Eco: paintEcoBadge(); return;
        case Badge::Test: paintTestBadge(); return;
        case Badge::Fault: paintFaultBadge(); return;
        }
    }

    void paintEcoBadge()
    {
        QFont bold = m_font;
        bold.setPixelSize(14);
        bold.setBold(true);
        const QRectF pill(180.0, kBypassRow - 34.0, 50.0, 22.0);
        p.setPen(Qt::NoPen);
        p.setBrush(WidgetPalette::Energised());
        p.drawRoundedRect(pill, 11, 11);
        p.setFont(bold);
        p.setPen(Qt::white);
        p.drawText(pill, Qt::AlignCenter, QStringLiteral("ECO"));
    }

    // A stopwatch beside the battery: the battery is under test.
    void paintTestBadge()
    {
        const QPointF centre(kBusNode.x() + 42.0, kBatteryTop + 20.0);
        p.setPen(QPen(AmberMark(), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::white);
        p.drawEllipse(centre, 11.0, 11.0);
        p.drawLine(centre + QPointF(0, -11), centre + QPointF(0, -15));
        p.drawLine(centre + QPointF(-4, -15), centre + QPointF(4, -15));
        p.setPen(QPen(WidgetPalette::Ink(), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(0, -7));
        p.drawLine(centre, centre + QPointF(5, 3));
    }

    // A warning triangle between the converters.
    void paintFaultBadge()
    {
        const QPointF top(kInverter.center().x(), 118.0);
        QPainterPath triangle;
        triangle.moveTo(top);
        triangle.lineTo(top + QPointF(21, 36));
        triangle.lineTo(top + QPointF(-21, 36));
        triangle.closeSubpath();
        p.setPen(QPen(FaultRed().darker(120), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(FaultRed());
        p.drawPath(triangle);
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(top + QPointF(0, 11), top + QPointF(0, 24));
        p.drawPoint(top + QPointF(0, 30));
    }

    QPainter &p;
    const Scene &s;
    int m_phase;
    QFont m_font;
};

} // namespace

ModeDiagram::ModeDiagram(QWidget *parent)
    : QWidget(parent)
{
    m_timer.setInterval(kAnimationMs);
    connect(&m_timer, &QTimer::timeout, this, &ModeDiagram::advance);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void ModeDiagram::setMode(UpsMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    updateTimer();
    update();
}

void ModeDiagram::advance()
{
    if (m_mode == UpsMode::None)
        return;
    m_phase = (m_phase + 1) % kStepsPerDash;
    update();
}

void ModeDiagram::updateTimer()
{
    if (m_mode != UpsMode::None && isVisible())
        m_timer.start();
    else
        m_timer.stop();
}

void ModeDiagram::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateTimer();
}

void ModeDiagram::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    updateTimer();
}

QSize ModeDiagram::sizeHint() const
{
    return QSize(qRound(kDesignWidth), qRound(kDesignHeight));
}

QSize ModeDiagram::minimumSizeHint() const
{
    return QSize(qRound(kDesignWidth / 3), qRound(kDesignHeight / 3));
}

int ModeDiagram::heightForWidth(int width) const
{
    return qRound(width * kDesignHeight / kDesignWidth);
}

void ModeDiagram::paintEvent(QPaintEvent *)
{
    if (m_mode == UpsMode::None)
        return;
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const double scale = std::min(width() / kDesignWidth, height() / kDesignHeight);
    painter.translate((width() - kDesignWidth * scale) / 2.0, (height() - kDesignHeight * scale) / 2.0);
    painter.scale(scale, scale);
    ScenePainter(painter, SceneFor(m_mode), m_phase, font()).paint();
}
