#pragma once

#include "model/VoltageTrend.h"

#include <QChartView>

class QLineSeries;
class QValueAxis;

// A line graph of three phase voltages on fixed axes: time 1 to 120 titled
// "Time", voltage 180 to 300 titled "V"; series "A" red, "B" green, "C" blue,
// plain lines without marks. Hovering a line shows the time of the sample.
class VoltageChart : public QChartView
{
    Q_OBJECT

public:
    explicit VoltageChart(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const;

    // Adds one sample to the three series, starting the graph over as the
    // trend does.
    void appendSample(double a, double b, double c, const QString &time);
    const VoltageTrend &trend() const { return m_trend; }

    // One-phase devices: no legend, and the series "B" and "C" not drawn
    // (they still take their points, so the graph restarts as usual).
    void setSinglePhase(bool singlePhase);

    QLineSeries *series(int phase) const { return m_series[phase]; } // 0 = A
    QValueAxis *timeAxis() const { return m_timeAxis; }
    QValueAxis *voltageAxis() const { return m_voltageAxis; }

private:
    void showSampleAt(const QPointF &point, bool hovering);

    VoltageTrend m_trend;
    QLineSeries *m_series[3];
    QValueAxis *m_timeAxis;
    QValueAxis *m_voltageAxis;
};
