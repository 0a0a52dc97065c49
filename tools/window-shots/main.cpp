// window-shots OUTDIR [COMNAME]
// Builds the main window in a scratch program directory with three devices,
// lets it run for a few seconds and saves what it shows, then the control,
// device search, add and property windows, the About box, the software
// parameter window and the Trace window. With COMNAME (a
// pseudo-terminal of upssim) the values come from the bus; without it the
// first device gets sample values.
//
// window-shots --trend OUTDIR RECORDDIR ADDR YYYY-MM-DD
// Saves the trend window of device ADDR over the data log in RECORDDIR: the
// day, the week up to it and its month, and the twelve months up to the end
// of that month, in English and Chinese.
#include "app/SoftwareParaChoices.h"
#include "app/TAppPaths.h"
#include "app/TMonitorState.h"
#include "gui/app/TFrmAbout.h"
#include "gui/app/TFrmMain.h"
#include "gui/app/TFrmSoftwarePara.h"
#include "gui/log/TFrmTrend.h"
#include "gui/widgets/TrendPlot.h"
#include "gui/control/TFrmDataSet.h"
#include "gui/control/TFrmTest.h"
#include "gui/control/TFrmUserSet.h"
#include "gui/control/TfrmPSW.h"
#include "gui/control/TfrmTrunOn.h"
#include "gui/model/TFrmDeviceTree.h"
#include "gui/model/TFrmEquipSearch.h"
#include "gui/model/TFrmNewEquip.h"
#include "gui/model/TFrmProperty.h"
#include "gui/model/TFrmRealTimeView.h"
#include "gui/protocol/TFrmCom.h"
#include "gui/widgets/Theme.h"
#include "model/TDeviceNode.h"
#include "protocol/TPollEngine.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
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

void SampleParameters(TUpsPara &para)
{
    para.ParallelId = 1;
    para.WorkMode = 0;
    para.VoltLevel = 220;
    para.FreqLevel = 50;
    para.ParallelCount = 2;
    para.RedundancyCount = 1;
    para.BypassFreqRange = 5;
    para.BypassVoltMax = 15;
    para.BypassVoltMin = -20;
    para.InvVoltTrim = 15;
    para.BattCells = 32;
    para.BattGroups = 1;
    para.BoostVolt = 235;
    para.FloatVolt = 227;
    para.EodVolt = 180;
    para.BattAh = 100;
    para.PreAlarmTime = 5;
    para.MaxChargeCurrent = 20;
    para.BoostTime = 30;
    para.StatusControl = 0x1000;
    para.OperationMode = 1;
}

// The password prompt, the control windows and the parameter windows, on
// the first device with sample parameters.
void SaveControlWindows(TMonitorState &state, const QString &out, const QString &suffix)
{
    SampleValues(state.UpsInfo[1]);
    SampleParameters(state.UpsInfo[1].Para);
    state.Selection.FSelDevAddr = 1;
    state.ModelName = QStringLiteral("QMX960LD");
    auto portOpen = [] { return true; };

    TfrmPSW prompt(state.ModelName, state.Settings.Language);
    prompt.show();
    Run(100);
    Save(prompt, out + QStringLiteral("/control-password-%1.png").arg(suffix));

    TFrmTest test(state);
    test.show();
    Run(100);
    Save(test, out + QStringLiteral("/control-battery-test-%1.png").arg(suffix));

    TfrmTrunOn turnOn(state);
    turnOn.show();
    Run(100);
    Save(turnOn, out + QStringLiteral("/control-turn-on-%1.png").arg(suffix));
    turnOn.hide();

    TFrmUserSet userSet(state, portOpen);
    userSet.show();
    userSet.Timer1Timer();
    Run(100);
    Save(userSet, out + QStringLiteral("/control-user-set-%1.png").arg(suffix));

    TFrmDataSet dataSet(state, portOpen);
    dataSet.show();
    const struct { int row; const char *name; } rows[] = {{4, "list"}, {11, "number"}, {15, "switches"}};
    for (const auto &r : rows) {
        dataSet.ListBox1Click(r.row);
        Run(100);
        Save(dataSet, out + QStringLiteral("/control-data-set-%1-%2.png").arg(QLatin1String(r.name), suffix));
    }
}

// The search window in the middle of a search with three units found and
// two of them moved into the table, and the add and property windows.
void SaveDeviceWindows(TMonitorState &state, TFrmMain &main, const QString &out, const QString &suffix)
{
    const quint8 language = state.Settings.Language;
    {
        TFrmEquipSearch search(state.DeviceList, state.Engine, nullptr, language, [] {}, &main);
        search.btnSearchClick();
        for (int i = 0; i < 7; ++i)
            search.Search().NextSearchAddr();
        for (std::uint8_t addr : {6, 4, 5})
            search.Search().AddressFound(addr);
        search.btnSelAllClick();
        search.Table().setData(search.Table().index(0, 1), QStringLiteral("Server room"), Qt::EditRole);
        search.show();
        Run(200);
        Save(search, out + QStringLiteral("/search-running-%1.png").arg(suffix));
        while (search.Search().Searching())
            search.Search().NextSearchAddr();
        Run(200);
        Save(search, out + QStringLiteral("/search-completed-%1.png").arg(suffix));
    }
    {
        TFrmNewEquip add(state.DeviceList, language, [] {}, &main);
        add.findChild<QLineEdit *>(QStringLiteral("edtEquipName"))->setText(QStringLiteral("UPS-04"));
        add.show();
        Run(200);
        Save(add, out + QStringLiteral("/add-%1.png").arg(suffix));
    }
    {
        TFrmProperty property(state.DeviceList, 1, language, [] {}, &main);
        property.show();
        Run(200);
        Save(property, out + QStringLiteral("/property-%1.png").arg(suffix));
    }
}

// A Modbus exchange for the Trace window when no simulator is on the line.
void SampleExchange(TPollEngine &engine)
{
    const QByteArray request = QByteArray::fromHex("01047530000E6BCD");
    const QByteArray reply = QByteArray::fromHex("01041C08980898089808980898089801F401F401F4138800000000000000005A3C");
    for (int i = 0; i < 6; ++i) {
        engine.SendFrame(reinterpret_cast<const std::uint8_t *>(request.constData()), int(request.size()));
        engine.Comm1ReceiveData(reinterpret_cast<const std::uint8_t *>(reply.constData()), int(reply.size()));
    }
}

// The About box, the software parameter window and the Trace window.
void SaveServiceWindows(TFrmMain &window, TMonitorState &state, const QString &out, const QString &suffix,
                        bool onBus)
{
    TFrmAbout about(state.Settings.Language, QStringLiteral("1.0.0.1"));
    about.show();
    for (int i = 0; i < 2; ++i)
        about.LabelDoubleClick();
    Run(200);
    Save(about, out + QStringLiteral("/about-%1.png").arg(suffix));

    const quint8 protocol = state.Settings.PortInfo.Protocol;
    TFrmSoftwarePara para(state.Settings, QString(), TAutoStartEntry(QString(), QString(), QString()),
                          SystemSerialDevices(), {});
    para.show();
    Run(200);
    Save(para, out + QStringLiteral("/software-para-%1.png").arg(suffix));
    para.close();
    state.Settings.PortInfo.Protocol = protocol;

    window.ShowTraceWindow();
    TFrmCom *trace = window.TraceWindow();
    if (trace == nullptr)
        return;
    if (!onBus)
        SampleExchange(*window.Engine());
    Run(onBus ? 3000 : 300);
    trace->RefreshTrace();
    Run(100);
    Save(*trace, out + QStringLiteral("/trace-%1.png").arg(suffix));
    trace->hide();
}

int SaveTrendWindows(const QStringList &args)
{
    if (args.size() != 6) {
        qWarning("usage: window-shots --trend OUTDIR RECORDDIR ADDR YYYY-MM-DD");
        return 2;
    }
    const QString out = args[2];
    const QDate date = QDate::fromString(args[5], QStringLiteral("yyyy-MM-dd"));
    QDir().mkpath(out);
    for (quint8 language : {quint8(0), quint8(1)}) {
        const QString suffix = language == 1 ? QStringLiteral("zh") : QStringLiteral("en");
        TFrmTrend window(args[3], language, static_cast<std::uint8_t>(args[4].toInt()), EncodeDateTime(date, QTime(12, 0)));
        window.resize(1280, 760);
        window.show();
        Run(200);
        Save(window, out + QStringLiteral("/trend-day-%1.png").arg(suffix));
        const struct { TFrmTrend::TPeriod period; const char *name; } periods[] = {
            {TFrmTrend::kPeriodWeek, "week"}, {TFrmTrend::kPeriodMonth, "month"}};
        for (const auto &p : periods) {
            window.SetPeriod(p.period);
            window.ShowClick();
            Run(200);
            Save(window, out + QStringLiteral("/trend-%1-%2.png").arg(QLatin1String(p.name), suffix));
        }
        const QDate yearEnd = QDate(date.year(), date.month(), 1).addMonths(1);
        window.findChild<QDateTimeEdit *>(QStringLiteral("dtpFrom"))->setDateTime(QDateTime(yearEnd.addMonths(-12), QTime(0, 0)));
        window.findChild<QDateTimeEdit *>(QStringLiteral("dtpTo"))->setDateTime(QDateTime(yearEnd, QTime(0, 0)));
        window.SetPeriod(TFrmTrend::kPeriodRange);
        window.ShowClick();
        Run(200);
        Save(window, out + QStringLiteral("/trend-year-%1.png").arg(suffix));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Theme::Apply(app);
    if (argc > 1 && QByteArray(argv[1]) == "--trend")
        return SaveTrendWindows(QApplication::arguments());
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
    window.ShowError = [](const QString &text) { qInfo("%s", qPrintable(text)); };
    window.RunModal = [](QDialog &) {};
    window.show();
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
        SaveControlWindows(state, out, suffix);
        SaveDeviceWindows(state, window, out, suffix);
        SaveServiceWindows(window, state, out, suffix, argc > 2);
    }
    window.close();
    return 0;
}
