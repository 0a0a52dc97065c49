#pragma once

#include <QFrame>

class QLabel;

// A framed reading: a title over a large value and its unit.
class ValuePanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)

public:
    // The value label carries valueName as its object name, so it can be
    // found like any other field of the window.
    ValuePanel(const QString &panelName, const QString &valueName, const QString &unit,
               QWidget *parent = nullptr);

    QString title() const;
    void setTitle(const QString &title);

    QLabel *valueLabel() const { return m_value; }

private:
    QLabel *m_title;
    QLabel *m_value;
};
