#pragma once

#include "model/GaugeScale.h"

#include <QWidget>

// A round dial with a needle over a 270-degree scale: ticks and numbers,
// coloured bands and the value written under the hub. Everything is drawn
// from a 200 by 200 design square scaled to the widget, so the dial stays
// sharp at any size and pixel density.
class AngularGauge : public QWidget
{
    Q_OBJECT

public:
    explicit AngularGauge(QWidget *parent = nullptr);

    // Range, ticks and bands; the needle is placed again.
    void setScale(const GaugeScale &scale);
    const GaugeScale &scale() const { return m_scale; }

    // The value is kept as given; only the needle stops at the ends of the
    // scale, so the caption still tells an out-of-range reading.
    void setValue(double value);
    double value() const { return m_value; }

    // Caption under the hub: the value with `decimals` places and the unit.
    void setUnit(const QString &unit);
    QString unit() const { return m_unit; }
    void setDecimals(int decimals);
    int decimals() const { return m_decimals; }
    QString captionText() const;
    // For a view that shows the value in a field of its own.
    void setCaptionVisible(bool visible);
    bool isCaptionVisible() const { return m_captionVisible; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintFace(QPainter &painter) const;
    void paintBands(QPainter &painter) const;
    void paintTicks(QPainter &painter) const;
    void paintCaption(QPainter &painter) const;
    void paintNeedle(QPainter &painter) const;

    GaugeScale m_scale;
    double m_value;
    QString m_unit;
    int m_decimals = 1;
    bool m_captionVisible = true;
};
