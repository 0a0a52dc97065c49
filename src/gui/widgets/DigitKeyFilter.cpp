#include "gui/widgets/DigitKeyFilter.h"

#include "control/DigitKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

class DigitTextValidator : public QValidator
{
public:
    DigitTextValidator(QObject *parent, bool allowPoint) : QValidator(parent), FAllowPoint(allowPoint) {}

    State validate(QString &input, int &) const override
    {
        return DigitTextAllowed(input, FAllowPoint) ? Acceptable : Invalid;
    }

private:
    bool FAllowPoint;
};

} // namespace

void DigitKeyFilter::Install(QLineEdit *box, bool allowPoint)
{
    box->installEventFilter(new DigitKeyFilter(box, allowPoint));
    box->setValidator(new DigitTextValidator(box, allowPoint));
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
