#include "app/AppVersion.h"
#include "app/TAppPaths.h"
#include "app/TMonitorState.h"
#include "app/TSingleInstance.h"
#include "app/TTerminationSignals.h"
#include "gui/app/TFrmMain.h"
#include "gui/widgets/GuardedApplication.h"
#include "gui/widgets/Theme.h"

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

} // namespace

int main(int argc, char **argv)
{
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(kAppTitle);

    TSingleInstance instance(TSingleInstance::ServerName(kAppTitle));
    if (instance.ActivateRunning())
        return 0;
    instance.Listen();

    Theme::Apply(app);

    TMonitorState state;
    TFrmMain window(state, TAppPaths::Beside(QCoreApplication::applicationDirPath()), GetVersionString());
    QObject::connect(&instance, &TSingleInstance::activationRequested, &window, [&window] { BringToFront(window); });

    window.StartEngine();

    TTerminationSignals termination;
    QObject::connect(&termination, &TTerminationSignals::terminationRequested, &window,
                     [&window] { window.CloseWithoutQuestion(); });

    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    window.show();
    return app.exec();
}
