#pragma once

#include "log/TTrendSeries.h"
#include "log/TrendAxes.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

// The plot of the trend window: panes stacked on one real time axis, each
// with its own value axis for the values of one unit. Every value is drawn
// from its min/max per pixel column: a light band from the lowest to the
// highest figure and a line through the means, broken where the device was
// not online. The wheel zooms the time around the mouse, a rectangle dragged
// with the left button zooms into it (its pane's values too), dragging with
// the right or middle button pans, and a double-click asks for the period
// to be shown again.
class TrendPlot : public QWidget
{
    Q_OBJECT

public:
    struct Pane {
        QString title;
        std::vector<int> values;
    };

    explicit TrendPlot(QWidget *parent = nullptr);

    void setPanes(std::vector<Pane> panes);
    void setSeriesName(int value, const QString &name);
    static QColor seriesColor(int value);
    void setSeriesVisible(int value, bool visible);
    bool seriesVisible(int value) const { return m_visible[value]; }

    // The points drawn; not owned, nullptr for none.
    void setSeries(const TTrendSeries *series);
    void setNoDataText(const QString &text);

    // The time shown; the value ranges follow the figures shown unless a
    // rectangle set one.
    void setViewRange(TDateTime from, TDateTime to);
    TDateTime viewFrom() const { return m_from; }
    TDateTime viewTo() const { return m_to; }
    void resetValueRanges();

    // The panes shown (those with a value switched on) and where they lie.
    std::vector<int> shownPanes() const;
    QRect paneArea(int shownPane) const;
    // The value range a shown pane draws.
    TValueRange paneRange(int shownPane) const;

    // How long the last paint took, in milliseconds.
    double lastPaintMs() const { return m_lastPaintMs; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void viewRangeChanged(TDateTime from, TDateTime to);
    void resetRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QRect plotRect() const;
    double xOf(TDateTime time) const;
    TDateTime timeAt(double x) const;
    TValueRange autoRange(const Pane &pane, int width) const;
    void paintPane(QPainter &painter, int shownPane);
    void paintSeries(QPainter &painter, const QRect &area, const TValueRange &range, int value) const;
    void paintTimeAxis(QPainter &painter);
    void changeView(TDateTime from, TDateTime to);

    std::vector<Pane> m_panes;
    std::array<QString, kTrendValueCount> m_names;
    std::array<bool, kTrendValueCount> m_visible{};
    std::vector<std::optional<TValueRange>> m_fixedRanges; // by pane
    const TTrendSeries *m_series = nullptr;
    QString m_noDataText;
    TDateTime m_from = 0;
    TDateTime m_to = 1;
    double m_lastPaintMs = 0;

    enum class Drag { None, Zoom, Pan };
    Drag m_drag = Drag::None;
    QPoint m_pressAt;
    QPoint m_dragAt;
    TDateTime m_pressFrom = 0;
    TDateTime m_pressTo = 0;
};
