#include "gui/widgets/GuardedApplication.h"

#include <QMessageBox>

#include <exception>

namespace {

std::function<void(const QString &)> &Reporter()
{
    static std::function<void(const QString &)> reporter;
    return reporter;
}

} // namespace

GuardedApplication::GuardedApplication(int &argc, char **argv) : QApplication(argc, argv)
{
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ReportError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportError(QStringLiteral("Unknown error"));
    }
    return false;
}

void GuardedApplication::ReportError(const QString &text)
{
    if (Reporter()) {
        Reporter()(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
}

void GuardedApplication::SetErrorReporter(std::function<void(const QString &)> reporter)
{
    Reporter() = std::move(reporter);
}
