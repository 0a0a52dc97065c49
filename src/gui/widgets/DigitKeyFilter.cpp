#include "gui/widgets/DigitKeyFilter.h"

#include "control/DigitKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

void DigitKeyFilter::Install(QLineEdit *box, bool allowPoint)
{
    box->installEventFilter(new DigitKeyFilter(box, allowPoint));
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    for (QChar c : text)
        if (!DigitKeyAllowed(c, FAllowPoint))
            return true;
    return false;
}
