#pragma once

#include "model/BatteryFlow.h"

#include <QTimer>
#include <QWidget>

// A grey tube with green boxes that travel along it while current flows.
// Forward runs left to right (top to bottom when vertical), reverse the other
// way. The widget's timer calls advance(); each call moves the boxes one
// step, so the timer interval sets the speed.
class FlowPipe : public QWidget
{
    Q_OBJECT

public:
    // Steps for the boxes to move on by one box pitch.
    static constexpr int kStepsPerPitch = 8;

    explicit FlowPipe(QWidget *parent = nullptr);

    void setOrientation(Qt::Orientation orientation);
    Qt::Orientation orientation() const { return m_orientation; }

    // While the flow is off the boxes are hidden and the animation rests.
    void setFlowing(bool flowing);
    bool isFlowing() const { return m_flowing; }

    void setDirection(FlowDirection direction);
    FlowDirection direction() const { return m_direction; }

    // Time between two steps, at least 1 ms.
    void setInterval(int ms);
    int interval() const { return m_timer.interval(); }

    // Shows or hides the pipe and sets flow, direction and speed at once.
    void apply(const BatteryFlow &flow);

    // Position of the boxes along the tube, 0 to kStepsPerPitch - 1.
    int phase() const { return m_phase; }
    bool isAnimating() const { return m_timer.isActive(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void advance();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateTimer();

    QTimer m_timer;
    Qt::Orientation m_orientation = Qt::Horizontal;
    FlowDirection m_direction = FlowDirection::Forward;
    bool m_flowing = false;
    int m_phase = 0;
};
