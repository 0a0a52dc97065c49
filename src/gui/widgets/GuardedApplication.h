#pragma once

#include <QApplication>

#include <functional>

// The application object with the program's top-level error handler: an
// exception that escapes a step (a timer tick, a button press) ends that
// step only. Its text is shown in a message box and the program carries on.
class GuardedApplication : public QApplication
{
    Q_OBJECT

public:
    GuardedApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the text of an error that ended a step; a message box unless
    // replaced (tests replace it).
    static void ReportError(const QString &text);
    static void SetErrorReporter(std::function<void(const QString &)> reporter);
};
