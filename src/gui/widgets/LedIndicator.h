#pragma once

#include <QColor>
#include <QWidget>

// A round signal lamp: lit in its colour, or dark in a dull shade of it.
class LedIndicator : public QWidget
{
    Q_OBJECT

public:
    explicit LedIndicator(QWidget *parent = nullptr);

    void setOn(bool on);
    bool isOn() const { return m_on; }

    void setColour(const QColor &colour);
    QColor colour() const { return m_colour; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_on = false;
    QColor m_colour;
};
