// window-shots OUTDIR [COMNAME]
// Builds the main window in a scratch program directory with three devices,
// lets it run for a few seconds and saves what it shows. With COMNAME (a
// pseudo-terminal of upssim) the values come from the bus; without it the
// first device gets sample values.
#include "app/TAppPaths.h"
#include "app/TFrmMain.h"
#include "app/TMonitorState.h"
#include "model/TDeviceNode.h"
#include "model/TFrmDeviceTree.h"
#include "model/TFrmRealTimeView.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

namespace {

void Run(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void SampleValues(TUpsInfo &rec)
{
    rec.LinkState = kLinkOnline;
    rec.State = 4;
    rec.UpsStateCode = 4;
    for (int i = 0; i < 3; ++i) {
        rec.InputVolt[i] = 219.6 + i;
        rec.OutputVolt[i] = 220.0;
        rec.LoadPercent[i] = 42 + 9 * i;
    }
    rec.OutputFreq = 50.0;
    rec.DcVolt = 432.5;
    rec.BattCapacity = 96;
    rec.BattBackupTime = 38;
    rec.ChargeCurrent = 6.5;
    rec.InputSupply = 1;
    rec.UpsSupply = 1;
    rec.CmmState1 = 0x0012;
    rec.InvState1 = 0x0440;
    rec.AlarmCount = 1;
    rec.AlarmList[0] = 9;
}

void Save(QWidget &window, const QString &path)
{
    window.grab().save(path);
    qInfo("%s", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Theme::Apply(app);
    if (argc < 2) {
        qWarning("usage: window-shots OUTDIR [COMNAME]");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString comName = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/nonexistent");
    QDir().mkpath(out);

    QTemporaryDir programDir;
    const TAppPaths paths = TAppPaths::Beside(programDir.path());
    paths.CreateDirectories();
    QFile settings(paths.SettingsFile);
    settings.open(QIODevice::WriteOnly);
    settings.write(QStringLiteral("[CommPort]\nComName=%1\nProtocol=2\nReadIntervalTimeout=30\n").arg(comName).toUtf8());
    settings.close();

    TMonitorState state;
    for (int addr = 1; addr <= 3; ++addr)
        state.DeviceList.AddDevice(TDeviceNode::Make(static_cast<quint8>(addr),
                                                     QStringLiteral("UPS-%1").arg(addr, 2, 10, QLatin1Char('0'))));
    state.DeviceList.SaveDeviceList(paths.RecordDir);

    TFrmMain window(state, paths, QStringLiteral("1.0.0.1"));
    window.AskYesNo = [](const QString &) { return true; };
    window.show();
    if (argc > 2)
        window.StartEngine();
    if (argc <= 2)
        SampleValues(state.UpsInfo[1]);
    Run(argc > 2 ? 6000 : 800);
    if (argc <= 2)
        SampleValues(state.UpsInfo[1]);

    auto *inner = window.findChild<QTabWidget *>(QStringLiteral("bsSkinPageControl2"));
    for (quint8 language : {quint8(0), quint8(1)}) {
        const QString suffix = language == 1 ? QStringLiteral("zh") : QStringLiteral("en");
        state.Settings.Language = language;
        window.ApplyLanguage();
        window.Tree()->TreeView1Click(window.Tree()->topLevelItem(0));
        if (argc <= 2)
            SampleValues(state.UpsInfo[1]);
        window.RefreshView();
        inner->setCurrentIndex(0);
        Run(300);
        Save(window, out + QStringLiteral("/main-data-%1.png").arg(suffix));
        inner->setCurrentIndex(1);
        Run(300);
        Save(window, out + QStringLiteral("/main-sketch-%1.png").arg(suffix));
        window.View()->ShowGraphPage(true);
        for (int i = 0; i < 40; ++i) {
            if (argc <= 2)
                SampleValues(state.UpsInfo[1]);
            window.RefreshView();
        }
        Run(200);
        Save(window, out + QStringLiteral("/main-graph-%1.png").arg(suffix));
        window.View()->ShowGraphPage(false);
    }
    window.close();
    return 0;
}
