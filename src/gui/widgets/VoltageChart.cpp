#include "gui/widgets/VoltageChart.h"

#include "model/ValueFormat.h"

#include <QLineSeries>
#include <QToolTip>
#include <QValueAxis>
#include <cmath>

VoltageChart::VoltageChart(QWidget *parent)
    : QChartView(parent),
      m_timeAxis(new QValueAxis),
      m_voltageAxis(new QValueAxis)
{
    auto *chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignRight);

    m_timeAxis->setRange(1, VoltageTrend::kRestartCount);
    m_timeAxis->setTitleText(QStringLiteral("Time"));
    m_timeAxis->setLabelFormat(QStringLiteral("%d"));
    // Round tick values; the range's own ends (1 and 120) would put them at
    // fractions.
    m_timeAxis->setTickType(QValueAxis::TicksDynamic);
    m_timeAxis->setTickAnchor(0);
    m_timeAxis->setTickInterval(20);
    m_voltageAxis->setRange(180, 300);
    m_voltageAxis->setTitleText(QStringLiteral("V"));
    m_voltageAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    chart->addAxis(m_voltageAxis, Qt::AlignLeft);

    const struct {
        const char *name;
        QColor colour;
    } phases[] = {{"A", Qt::red}, {"B", QColor(0x00, 0x99, 0x00)}, {"C", Qt::blue}};
    for (int i = 0; i < 3; ++i) {
        m_series[i] = new QLineSeries;
        m_series[i]->setName(QString::fromLatin1(phases[i].name));
        m_series[i]->setPen(QPen(phases[i].colour, 1.5));
        chart->addSeries(m_series[i]);
        m_series[i]->attachAxis(m_timeAxis);
        m_series[i]->attachAxis(m_voltageAxis);
        connect(m_series[i], &QLineSeries::hovered, this, &VoltageChart::showSampleAt);
    }
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
}

void VoltageChart::setTitle(const QString &title)
{
    chart()->setTitle(title);
}

QString VoltageChart::title() const
{
    return chart()->title();
}

void VoltageChart::appendSample(double a, double b, double c, const QString &time)
{
    const double x = m_trend.count();
    if (m_trend.append({a, b, c, time})) {
        for (QLineSeries *series : m_series)
            series->clear();
        return;
    }
    m_series[0]->append(x, a);
    m_series[1]->append(x, b);
    m_series[2]->append(x, c);
}

void VoltageChart::setSinglePhase(bool singlePhase)
{
    chart()->legend()->setVisible(!singlePhase);
    m_series[1]->setVisible(!singlePhase);
    m_series[2]->setVisible(!singlePhase);
}

void VoltageChart::showSampleAt(const QPointF &point, bool hovering)
{
    const long index = std::lround(point.x());
    if (!hovering || index < 0 || index >= m_trend.count()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(), m_trend.samples()[index].time + QStringLiteral("  ")
                                           + FormatVoltage(point.y()));
}
