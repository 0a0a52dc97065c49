#include "gui/widgets/TrendPlot.h"

#include "log/TrendDecimation.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLeftMargin = 64;
constexpr int kRightMargin = 14;
constexpr int kTopMargin = 6;
constexpr int kTimeAxisHeight = 34;
constexpr int kPaneGap = 10;
constexpr int kMinDrag = 6;
constexpr double kMinSpanDays = 10.0 / 1440; // ten minutes
constexpr double kMaxSpanDays = 20 * 366.0;

// Phases A, B, C in red, green and blue as on the real-time graphs; the
// output side in darker tones of the same.
const QColor kColors[kTrendValueCount] = {
    QColor(220, 40, 40),  QColor(30, 150, 40), QColor(40, 80, 220),  // input
    QColor(150, 20, 90),  QColor(20, 100, 90), QColor(90, 40, 160),  // output
    QColor(230, 110, 20), QColor(90, 170, 20), QColor(20, 150, 200), // load
    QColor(40, 40, 40),                                              // frequency
    QColor(140, 90, 30),                                             // DC voltage
    QColor(0, 140, 140),                                             // capacity
    QColor(190, 30, 170),                                            // support time
};

QString ValueLabel(double value, double step)
{
    const int decimals = step >= 1 ? 0 : (step >= 0.1 ? 1 : 2);
    return QString::number(value, 'f', decimals);
}

} // namespace

TrendPlot::TrendPlot(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(false);
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendPlot::setPanes(std::vector<Pane> panes)
{
    m_panes = std::move(panes);
    m_fixedRanges.assign(m_panes.size(), std::nullopt);
    update();
}

void TrendPlot::setSeriesName(int value, const QString &name)
{
    m_names[value] = name;
    update();
}

QColor TrendPlot::seriesColor(int value)
{
    return kColors[value];
}

void TrendPlot::setSeriesVisible(int value, bool visible)
{
    m_visible[value] = visible;
    update();
}

void TrendPlot::setSeries(const TTrendSeries *series)
{
    m_series = series;
    update();
}

void TrendPlot::setNoDataText(const QString &text)
{
    m_noDataText = text;
    update();
}

void TrendPlot::setViewRange(TDateTime from, TDateTime to)
{
    if (!(to > from))
        return;
    m_from = from;
    m_to = to;
    update();
}

void TrendPlot::resetValueRanges()
{
    m_fixedRanges.assign(m_panes.size(), std::nullopt);
    update();
}

std::vector<int> TrendPlot::shownPanes() const
{
    std::vector<int> shown;
    for (std::size_t pane = 0; pane < m_panes.size(); ++pane)
        if (std::any_of(m_panes[pane].values.begin(), m_panes[pane].values.end(), [this](int v) { return m_visible[v]; }))
            shown.push_back(static_cast<int>(pane));
    return shown;
}

QRect TrendPlot::plotRect() const
{
    return QRect(kLeftMargin, kTopMargin, std::max(1, width() - kLeftMargin - kRightMargin),
                 std::max(1, height() - kTopMargin - kTimeAxisHeight));
}

QRect TrendPlot::paneArea(int shownPane) const
{
    const QRect plot = plotRect();
    const int panes = std::max<int>(1, static_cast<int>(shownPanes().size()));
    const int each = std::max(1, (plot.height() - (panes - 1) * kPaneGap) / panes);
    return QRect(plot.left(), plot.top() + shownPane * (each + kPaneGap), plot.width(), each);
}

TValueRange TrendPlot::paneRange(int shownPane) const
{
    const std::vector<int> shown = shownPanes();
    if (shownPane < 0 || shownPane >= static_cast<int>(shown.size()))
        return {};
    const auto pane = static_cast<std::size_t>(shown[static_cast<std::size_t>(shownPane)]);
    return m_fixedRanges[pane].value_or(autoRange(m_panes[pane], paneArea(shownPane).width()));
}

double TrendPlot::xOf(TDateTime time) const
{
    const QRect plot = plotRect();
    return plot.left() + (time - m_from) / (m_to - m_from) * plot.width();
}

TDateTime TrendPlot::timeAt(double x) const
{
    const QRect plot = plotRect();
    return m_from + (x - plot.left()) / plot.width() * (m_to - m_from);
}

QSize TrendPlot::sizeHint() const
{
    return QSize(900, 560);
}

QSize TrendPlot::minimumSizeHint() const
{
    return QSize(320, 200);
}

TValueRange TrendPlot::autoRange(const Pane &pane, int width) const
{
    double low = INFINITY, high = -INFINITY;
    if (m_series)
        for (int value : pane.values) {
            if (!m_visible[value])
                continue;
            for (const TPlotColumn &column : DecimateTrend(*m_series, value, m_from, m_to, width)) {
                if (column.X < 0 || column.X >= width)
                    continue;
                low = std::min<double>(low, column.Min);
                high = std::max<double>(high, column.Max);
            }
        }
    if (!(low <= high))
        return {0, 1};
    return PaddedRange(low, high);
}

void TrendPlot::paintEvent(QPaintEvent *)
{
    QElapsedTimer timer;
    timer.start();
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const std::vector<int> shown = shownPanes();
    for (std::size_t i = 0; i < shown.size(); ++i)
        paintPane(painter, static_cast<int>(i));
    paintTimeAxis(painter);
    if (!m_series || m_series->Points.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(plotRect(), Qt::AlignCenter, m_noDataText);
    }
    if (m_drag == Drag::Zoom) {
        const QRect band = QRect(m_pressAt, m_dragAt).normalized();
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(40);
        painter.setBrush(fill);
        painter.drawRect(band);
    }
    m_lastPaintMs = timer.nsecsElapsed() / 1e6;
}

void TrendPlot::paintPane(QPainter &painter, int shownPane)
{
    const int paneIndex = shownPanes()[static_cast<std::size_t>(shownPane)];
    const Pane &pane = m_panes[static_cast<std::size_t>(paneIndex)];
    const QRect area = paneArea(shownPane);
    const TValueRange range = paneRange(shownPane);

    const QColor gridColor = palette().color(QPalette::Mid).lighter(150);
    painter.setPen(QPen(gridColor, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    for (const TTimeTick &tick : TimeTicks(m_from, m_to, std::max(2, area.width() / 90))) {
        const double x = xOf(tick.At);
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    const std::vector<double> ticks = ValueTicks(range.Low, range.High, std::max(2, area.height() / 32));
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
    const QFontMetrics metrics(font());
    for (double tick : ticks) {
        const double y = area.bottom() - (tick - range.Low) / (range.High - range.Low) * area.height();
        painter.setPen(QPen(gridColor, 0));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, kLeftMargin - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, ValueLabel(tick, step));
    }

    painter.save();
    painter.setClipRect(area.adjusted(1, 1, -1, -1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int value : pane.values)
        if (m_visible[value])
            paintSeries(painter, area, range, value);
    painter.restore();

    // The title and a legend of the values shown, along the top.
    int x = area.left() + 6;
    const int y = area.top() + metrics.ascent() + 3;
    painter.setPen(palette().color(QPalette::Text));
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(x, y, pane.title);
    x += QFontMetrics(bold).horizontalAdvance(pane.title) + 14;
    painter.setFont(font());
    for (int value : pane.values) {
        if (!m_visible[value])
            continue;
        painter.setPen(QPen(kColors[value], 2));
        painter.drawLine(x, y - metrics.ascent() / 2 + 1, x + 14, y - metrics.ascent() / 2 + 1);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(x + 18, y, m_names[value]);
        x += 18 + metrics.horizontalAdvance(m_names[value]) + 12;
    }
}

void TrendPlot::paintSeries(QPainter &painter, const QRect &area, const TValueRange &range, int value) const
{
    if (!m_series)
        return;
    const std::vector<TPlotColumn> columns = DecimateTrend(*m_series, value, m_from, m_to, area.width());
    auto yOf = [&](double v) { return area.bottom() - (v - range.Low) / (range.High - range.Low) * area.height(); };
    QColor bandColor = kColors[value];
    bandColor.setAlpha(60);
    // Thin cosmetic lines without antialiasing: a year is thousands of
    // steep segments, and a wide or smoothed pen costs a stroke outline for
    // each.
    QPen linePen(kColors[value], 1);
    linePen.setCosmetic(true);
    // Each unbroken run of columns: the band from lowest to highest, then
    // the line through the means.
    for (std::size_t begin = 0; begin < columns.size();) {
        std::size_t end = begin + 1;
        while (end < columns.size() && !columns[end].BreakBefore)
            ++end;
        QPolygonF band, line;
        for (std::size_t i = begin; i < end; ++i) {
            const double x = area.left() + columns[i].X + 0.5;
            band.push_back(QPointF(x, yOf(columns[i].Max)));
            line.push_back(QPointF(x, yOf(columns[i].Mean)));
        }
        for (std::size_t i = end; i-- > begin;)
            band.push_back(QPointF(area.left() + columns[i].X + 0.5, yOf(columns[i].Min) + 0.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(bandColor);
        painter.drawPolygon(band);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(linePen);
        if (line.size() == 1)
            painter.drawEllipse(line.front(), 1.5, 1.5);
        else
            painter.drawPolyline(line);
        begin = end;
    }
}

void TrendPlot::paintTimeAxis(QPainter &painter)
{
    const QRect plot = plotRect();
    const QFontMetrics metrics(font());
    painter.setPen(palette().color(QPalette::Text));
    for (const TTimeTick &tick : TimeTicks(m_from, m_to, std::max(2, plot.width() / 90))) {
        const double x = xOf(tick.At);
        painter.drawLine(QPointF(x, plot.bottom() + 1), QPointF(x, plot.bottom() + 5));
        const int w = metrics.horizontalAdvance(tick.Label);
        painter.drawText(QPointF(std::clamp(x - w / 2.0, 0.0, double(width() - w)), plot.bottom() + 6 + metrics.ascent()),
                         tick.Label);
    }
    // The ends of the period, so that every view says when it is.
    const int y = height() - 3;
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(QPointF(plot.left(), y), FormatTrendTime(m_from));
    const QString end = FormatTrendTime(m_to);
    painter.drawText(QPointF(plot.right() - metrics.horizontalAdvance(end), y), end);
}

void TrendPlot::changeView(TDateTime from, TDateTime to)
{
    const double span = std::clamp(to - from, kMinSpanDays, kMaxSpanDays);
    const double middle = (from + to) / 2;
    setViewRange(middle - span / 2, middle + span / 2);
    emit viewRangeChanged(m_from, m_to);
}

void TrendPlot::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    const double factor = std::pow(0.8, steps);
    const TDateTime at = timeAt(event->position().x());
    const TDateTime from = at - (at - m_from) * factor;
    const TDateTime to = at + (m_to - at) * factor;
    if (to - from < kMinSpanDays || to - from > kMaxSpanDays)
        return;
    setViewRange(from, to);
    emit viewRangeChanged(m_from, m_to);
    event->accept();
}

void TrendPlot::mousePressEvent(QMouseEvent *event)
{
    m_pressAt = m_dragAt = event->position().toPoint();
    m_pressFrom = m_from;
    m_pressTo = m_to;
    if (event->button() == Qt::LeftButton)
        m_drag = Drag::Zoom;
    else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton)
        m_drag = Drag::Pan;
}

void TrendPlot::mouseMoveEvent(QMouseEvent *event)
{
    m_dragAt = event->position().toPoint();
    if (m_drag == Drag::Pan) {
        const double days = (m_dragAt.x() - m_pressAt.x()) / double(plotRect().width()) * (m_pressTo - m_pressFrom);
        setViewRange(m_pressFrom - days, m_pressTo - days);
        emit viewRangeChanged(m_from, m_to);
    } else if (m_drag == Drag::Zoom) {
        update();
    }
}

void TrendPlot::mouseReleaseEvent(QMouseEvent *event)
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    m_dragAt = event->position().toPoint();
    update();
    if (drag != Drag::Zoom)
        return;
    const QRect band = QRect(m_pressAt, m_dragAt).normalized();
    if (band.width() < kMinDrag)
        return;
    // A rectangle within one pane sets that pane's values too.
    const std::vector<int> shown = shownPanes();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QRect area = paneArea(static_cast<int>(i));
        if (band.height() >= kMinDrag && area.contains(band.topLeft()) && area.contains(band.bottomRight())) {
            const TValueRange range = paneRange(static_cast<int>(i));
            auto valueAt = [&](int y) { return range.Low + (area.bottom() - y) / double(area.height()) * (range.High - range.Low); };
            m_fixedRanges[static_cast<std::size_t>(shown[i])] = TValueRange{valueAt(band.bottom()), valueAt(band.top())};
        }
    }
    changeView(timeAt(band.left()), timeAt(band.right()));
}

void TrendPlot::mouseDoubleClickEvent(QMouseEvent *)
{
    m_drag = Drag::None;
    emit resetRequested();
}
