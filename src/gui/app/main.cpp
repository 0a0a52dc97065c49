#include "app/AppVersion.h"
#include "app/TAppPaths.h"
#include "app/TMonitorState.h"
#include "app/TSingleInstance.h"
#include "app/TTerminationSignals.h"
#include "gui/app/TFrmMain.h"
#include "gui/widgets/GuardedApplication.h"
#include "gui/widgets/Theme.h"
#include "service/HttpService.h"
#include "service/THttpServer.h"

#include <QDialog>
#include <QScreen>
#include <QStyle>

namespace {

const QString kAppTitle = QStringLiteral("Orvan 2000");

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

    TSingleInstance instance(TSingleInstance::ServerName(kAppTitle));
    if (!instance.Claim())
        return 0;

    Theme::Apply(app);

    TMonitorState state;
    TFrmMain window(state, TAppPaths::Beside(QCoreApplication::applicationDirPath()), GetVersionString());
    QObject::connect(&instance, &TSingleInstance::activationRequested, &window, [&window] { BringToFront(window); });

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

    // Started before the engine, so that it answers (with the port closed)
    // while a port that failed at start holds the start-up dialogs open.
    const std::unique_ptr<THttpServer> http =
        StartHttpService(window.Paths().SettingsFile,
                         THttpData{state.DeviceList, state.UpsInfo, state.Settings, state.Debug, state.Engine,
                                   window.EventLog(), [&window] { return window.PortOpened(); }},
                         LogToStandardError);

    window.StartEngine();
    if (terminated)
        return 0;

    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    window.show();
    return app.exec();
}
