#pragma once

#include "model/UpsMode.h"

#include <QTimer>
#include <QWidget>

class QPainter;
class QPainterPath;

// The sketch map's picture of the UPS in one operating mode: a single-line
// diagram of mains and bypass inputs, rectifier, battery, inverter, static
// switch and load, with the paths that carry power drawn green and dashes
// running along them in the direction of the flow. The mode None draws
// nothing. The widget's timer calls advance() to move the dashes on.
class ModeDiagram : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kStepsPerDash = 6;

    explicit ModeDiagram(QWidget *parent = nullptr);

    void setMode(UpsMode mode);
    UpsMode mode() const { return m_mode; }

    int phase() const { return m_phase; }
    bool isAnimating() const { return m_timer.isActive(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

public slots:
    void advance();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateTimer();

    QTimer m_timer;
    UpsMode m_mode = UpsMode::Standby;
    int m_phase = 0;
};
