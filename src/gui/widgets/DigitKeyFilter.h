#pragma once

#include <QObject>

class QLineEdit;

// Keeps a number box to the text DigitTextAllowed takes. Typed characters
// it does not take are dropped (DigitKeyAllowed); keys that type nothing
// (arrows, Delete, shortcuts) keep their meaning. Text that arrives another
// way (pasted, dropped, committed by an input method) is refused whole by a
// validator on the box, so nothing but a number ever stands in it.
class DigitKeyFilter : public QObject
{
public:
    // Installs a filter and a validator, both owned by the box.
    static void Install(QLineEdit *box, bool allowPoint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DigitKeyFilter(QObject *parent, bool allowPoint) : QObject(parent), FAllowPoint(allowPoint) {}

    bool FAllowPoint;
};
