#include "app/AppVersion.h"
#include "app/TAppPaths.h"
#include "app/TMonitorState.h"
#include "app/TSingleInstance.h"
#include "app/TTerminationSignals.h"
#include "gui/app/TFrmMain.h"
#include "gui/widgets/GuardedApplication.h"
#include "gui/widgets/Theme.h"
#include "service/TDirectoryLock.h"
#include "service/TServiceHost.h"

#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

#include <cstdio>

namespace {

const QString kAppTitle = QStringLiteral("Orvan 2000");
// How long notifications of the program end may run before the monitor exits.
constexpr int kNotifyGraceMs = 10000;

void BringToFront(QWidget &window)
{
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

// Ends the modal windows of the start-up, innermost first.
void CloseStartUpDialogs()
{
    for (int i = 0; i < 10; ++i) {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

} // namespace

int main(int argc, char **argv)
{
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    // Ties the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvan.Orvan"));

    TSingleInstance instance(TSingleInstance::ServerName(kAppTitle));
    if (!instance.Claim())
        return 0;

    // The headless service may hold the directory of the files. An
    // installed monitor's are its user's own, never those beside /usr/bin.
    const TAppPaths paths = TAppPaths::ForThisProgram();
    paths.CreateDirectories();
    TDirectoryLock lock(paths.DataDir(), QStringLiteral("orvan"));
    if (!lock.TryLock()) {
        std::fprintf(stderr, "orvan: %s\n", lock.ErrorText().toLocal8Bit().constData());
        QMessageBox::critical(nullptr, kAppTitle, lock.ErrorText());
        return 1;
    }

    Theme::Apply(app);

    TMonitorState state;
    TFrmMain window(state, paths, GetVersionString());
    QObject::connect(&instance, &TSingleInstance::activationRequested, &window, [&window] { BringToFront(window); });

    // The same services as the headless service, when the settings enable
    // them; started before the engine so the program start is notified, and
    // so that HTTP answers (with the port closed) while a port that failed
    // at start holds the start-up dialogs open.
    TServiceHost services(window.Core(), LogToStandardError, GetVersionString());
    services.Start();
    // The engine logs the program end while the notifications still listen.
    const auto end = [&](int status) {
        window.Core().Shutdown();
        services.Stop(kNotifyGraceMs);
        return status;
    };

    // Installed before the engine starts: a port that fails at start shows
    // its error and the software parameter window, and a SIGTERM while they
    // are open must still run the close sequence.
    bool terminated = false;
    TTerminationSignals termination;
    QObject::connect(&termination, &TTerminationSignals::terminationRequested, &window, [&] {
        terminated = true;
        CloseStartUpDialogs();
        window.CloseWithoutQuestion();
        QCoreApplication::quit();
    });

    window.StartEngine();
    if (terminated)
        return end(0);

    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    window.show();
    return end(app.exec());
}
