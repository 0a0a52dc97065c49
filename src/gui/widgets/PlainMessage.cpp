#include "gui/widgets/PlainMessage.h"

#include <QMessageBox>

void ShowPlainMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, parent != nullptr ? parent->windowTitle() : QString(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}
