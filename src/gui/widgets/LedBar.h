#pragma once

#include "model/GaugeScale.h"

#include <QWidget>

// A vertical bar of LED segments showing a level, each segment in the colour
// of the band under it, lit from the bottom up. Scale marks for the top of
// the scale and for the upper edge of the first band ("150%" and "100%" on
// the load scale) sit to the left of the bar, so they hide with it.
class LedBar : public QWidget
{
    Q_OBJECT

public:
    explicit LedBar(QWidget *parent = nullptr);

    void setScale(const GaugeScale &scale);
    const GaugeScale &scale() const { return m_scale; }

    // The value is kept as given; the bar shows it within the scale.
    void setValue(double value);
    double value() const { return m_value; }
    int litSegments() const;

    void setSegmentCount(int count); // at least 1
    int segmentCount() const { return m_segments; }

    void setScaleMarksVisible(bool visible);
    bool scaleMarksVisible() const { return m_marksVisible; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Mark {
        double value;
        QString text;
    };
    QList<Mark> marks() const;
    double marksWidth() const;
    void paintMarks(QPainter &painter, const QRectF &bar) const;
    void paintSegments(QPainter &painter, const QRectF &bar) const;

    GaugeScale m_scale;
    double m_value = 0.0;
    int m_segments = 30;
    bool m_marksVisible = true;
};
