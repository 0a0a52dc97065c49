#pragma once

#include <QObject>

class QLineEdit;

// Drops the typed characters a number box does not take (DigitKeyAllowed);
// keys that type nothing (arrows, Delete, shortcuts) keep their meaning.
class DigitKeyFilter : public QObject
{
public:
    // Installs a filter owned by the box.
    static void Install(QLineEdit *box, bool allowPoint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DigitKeyFilter(QObject *parent, bool allowPoint) : QObject(parent), FAllowPoint(allowPoint) {}

    bool FAllowPoint;
};
