// Runs the monitor as the program does (main window, polling engine, logs,
// offscreen or on a display) in a prepared program directory and reports
// what it costs: CPU share, resident memory, log growth, the main timer's
// status pass and view refresh, and the time to the first painted window.
//
//   orvan-fullload prepare DIR --devices N --port PATH [--events N] [--rec-interval T]
//   orvan-fullload run DIR --seconds S --report FILE
//   orvan-fullload startup DIR --report FILE
//
// "run" drives the main window's timer itself, calling the window's own
// tick at the same 10 ms pace, so that each status pass and view refresh
// can be timed without a hook in the program.
#include "app/AppVersion.h"
#include "app/TAppPaths.h"
#include "app/TMainTicker.h"
#include "app/TMonitorState.h"
#include "app/TSettings.h"
#include "gui/app/TFrmMain.h"
#include "gui/widgets/GuardedApplication.h"
#include "gui/widgets/Theme.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "model/TDeviceList.h"

#include <QCommandLineParser>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <map>
#include <cstdio>
#include <vector>

namespace {

QElapsedTimer gSinceStart; // from the first line of main

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double RssMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Bytes of the files under dir whose names start with prefix.
qint64 FilesSize(const QString &dir, const QString &prefix)
{
    qint64 total = 0;
    QDirIterator it(dir, {prefix + QStringLiteral("*")}, QDir::Files);
    while (it.hasNext())
        total += QFileInfo(it.next()).size();
    return total;
}

struct TCosts {
    std::vector<qint64> Ns;

    void Add(qint64 ns) { Ns.push_back(ns); }
    QString Summary() const
    {
        if (Ns.empty())
            return QStringLiteral("n=0");
        std::vector<qint64> sorted = Ns;
        std::sort(sorted.begin(), sorted.end());
        const auto us = [](qint64 ns) { return QString::number(ns / 1000.0, 'f', 1); };
        return QStringLiteral("n=%1 median=%2us p99=%3us worst=%4us")
            .arg(sorted.size())
            .arg(us(sorted[sorted.size() / 2]), us(sorted[sorted.size() * 99 / 100]), us(sorted.back()));
    }
};

// What the logs grew by: event records by kind and code, and the data log
// runs with their spacing and size.
void ReportLogs(QTextStream &report, const TEventLog &eventLog, const TDataLog &dataLog)
{
    std::map<QString, int> events;
    for (const TEventRec &rec : eventLog.ReadAllEvents()) {
        const QString kind = rec.Kind == 0 ? QStringLiteral("event%1").arg(rec.Code)
                           : rec.Kind == 1 ? QStringLiteral("state")
                                           : QString::fromLatin1(rec.Flag ? "alarm_on" : "alarm_off");
        ++events[kind];
    }
    report << "eventlog_records";
    for (const auto &[kind, count] : events)
        report << " " << kind << "=" << count;
    report << "\n";

    std::map<TDateTime, int> runs;
    for (const TDataRec &rec : TDataLog::ReadDataFile(dataLog.MonthFilePath(LocalNow())))
        ++runs[rec.Time];
    if (runs.empty()) {
        report << "datalog_runs 0\n";
        return;
    }
    std::vector<int> sizes;
    std::vector<double> gaps;
    TDateTime previous = runs.begin()->first;
    for (const auto &[time, count] : runs) {
        sizes.push_back(count);
        if (time != previous)
            gaps.push_back((time - previous) * 86400.0);
        previous = time;
    }
    std::sort(sizes.begin(), sizes.end());
    std::sort(gaps.begin(), gaps.end());
    report << "datalog_runs " << runs.size() << " records_per_run min=" << sizes.front() << " median="
           << sizes[sizes.size() / 2] << " max=" << sizes.back();
    if (!gaps.empty())
        report << " spacing_s min=" << QString::number(gaps.front(), 'f', 1) << " max="
               << QString::number(gaps.back(), 'f', 1);
    report << "\n";
}

int Prepare(const QString &dir, int devices, const QString &port, int events, int recInterval)
{
    const TAppPaths paths = TAppPaths::Beside(dir);
    paths.CreateDirectories();
    TSettings settings;
    settings.PortInfo.ComName = port;
    settings.PortInfo.Protocol = 2;
    settings.RecInterval = recInterval;
    SaveSettings(settings, paths.SettingsFile);

    TDeviceList list;
    for (int addr = 1; addr <= devices; ++addr) {
        TDeviceNode node{};
        node.Addr = static_cast<quint8>(addr);
        node.SetName(TDeviceNode::StoredName(QStringLiteral("UPS %1").arg(addr)));
        list.AddDevice(node);
    }
    list.SaveDeviceList(paths.RecordDir);

    TEventLog log(paths.RecordDir, QString::fromLatin1(kEventLogFileName), paths.BackupDir);
    for (int i = 0; i < events; ++i) {
        TEventRec rec;
        rec.Time = log.Now() - (events - i) / 1440.0;
        rec.Addr = static_cast<std::uint8_t>(1 + i % std::max(devices, 1));
        rec.Kind = static_cast<std::uint8_t>(i % 3);
        rec.Code = rec.Kind == 0 ? 18 + i % 6 : rec.Kind == 1 ? 1 + i % 11 : i % 80;
        rec.Flag = rec.Kind == 2 ? i % 2 : 255;
        log.AppendEvent(rec);
    }
    return 0;
}

// Notes the first paint of the main window.
class FirstPaint : public QObject
{
public:
    qint64 AtMs = -1;
    std::function<void()> Then;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && AtMs < 0) {
            AtMs = gSinceStart.elapsed();
            if (Then)
                QTimer::singleShot(0, Then);
        }
        return QObject::eventFilter(watched, event);
    }
};

int Run(GuardedApplication &app, const QString &dir, int seconds, const QString &reportPath, bool startupOnly)
{
    QFile reportFile(reportPath);
    if (!reportFile.open(QIODevice::WriteOnly | QIODevice::Text))
        return 2;
    QTextStream report(&reportFile);

    Theme::Apply(app);
    const TAppPaths paths = TAppPaths::Beside(dir);
    TMonitorState state;
    TFrmMain window(state, paths, GetVersionString());
    window.AskYesNo = [](const QString &) { return true; };
    window.ShowMessage = [](const QString &) {};
    window.ShowError = [](const QString &text) { std::fprintf(stderr, "error: %s\n", qPrintable(text)); };
    window.RunModal = [](QDialog &) {};
    window.StartEngine();

    FirstPaint paint;
    window.installEventFilter(&paint);
    if (startupOnly) {
        paint.Then = [&] {
            report << "devices " << state.DeviceList.Count() << " first_paint_ms " << paint.AtMs << "\n";
            report.flush();
            window.CloseWithoutQuestion();
            app.quit();
        };
    }
    window.show();
    if (startupOnly)
        return app.exec();

    // The window's own tick, at its own pace, timed by the kind of tick it is.
    window.Timer1().stop();
    TMainTicker shadow;
    TCosts statusTicks, refreshTicks;
    QTimer tick;
    tick.setInterval(TFrmMain::kTimerInterval);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const TMainTicker::TStep step = shadow.Tick();
        QElapsedTimer cost;
        cost.start();
        window.Timer1Timer();
        const qint64 ns = cost.nsecsElapsed();
        if (step.Refresh)
            refreshTicks.Add(ns);
        else if (step.StatusPass)
            statusTicks.Add(ns);
    });
    tick.start();

    const auto sample = [&](const char *when) {
        int online = 0;
        for (int p = 1; p <= state.DeviceList.Count(); ++p)
            online += state.UpsInfo[state.DeviceList.At(p)->Addr].LinkState == 0;
        report << when << " t=" << gSinceStart.elapsed() / 1000 << "s cpu=" << QString::number(CpuSeconds(), 'f', 2)
               << "s rss=" << QString::number(RssMb(), 'f', 1) << "MB online=" << online
               << " eventlog_bytes=" << FilesSize(paths.RecordDir, QStringLiteral("EventLog"))
               << " backups_bytes=" << FilesSize(paths.BackupDir, QStringLiteral("EventLog"))
               << " datalog_bytes=" << FilesSize(paths.RecordDir, QStringLiteral("DataLog")) << "\n";
        report.flush();
    };

    double cpuAtStart = 0;
    qint64 wallAtStart = 0;
    QTimer::singleShot(2000, [&] { // after start-up: the steady state only
        sample("start");
        cpuAtStart = CpuSeconds();
        wallAtStart = gSinceStart.elapsed();
    });
    QTimer minute;
    QObject::connect(&minute, &QTimer::timeout, [&] { sample("sample"); });
    minute.start(60000);
    QTimer::singleShot(seconds * 1000 + 2000, [&] {
        sample("end");
        const double wall = (gSinceStart.elapsed() - wallAtStart) / 1000.0;
        report << "cpu_share_of_one_core " << QString::number(100.0 * (CpuSeconds() - cpuAtStart) / wall, 'f', 3)
               << "%\n";
        report << "first_paint_ms " << paint.AtMs << "\n";
        report << "status_pass_ticks " << statusTicks.Summary() << "\n";
        report << "refresh_ticks " << refreshTicks.Summary() << "\n";
        report << "sent " << state.Debug.SendCnt << " received " << state.Debug.AckCnt << " valid "
               << state.Debug.AckOkCnt << "\n";
        ReportLogs(report, window.EventLog(), window.DataLog());
        report.flush();
        tick.stop();
        window.CloseWithoutQuestion();
        app.quit();
    });
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    gSinceStart.start();
    GuardedApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption devices(QStringLiteral("devices"), QStringLiteral("Devices listed."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("ComName."), QStringLiteral("PATH"), QStringLiteral("COM0"));
    const QCommandLineOption events(QStringLiteral("events"), QStringLiteral("Event records."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption recInterval(QStringLiteral("rec-interval"), QStringLiteral("RecInterval."), QStringLiteral("T"), QStringLiteral("50"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("Length of the run."), QStringLiteral("S"), QStringLiteral("600"));
    const QCommandLineOption reportOption(QStringLiteral("report"), QStringLiteral("Report file."), QStringLiteral("FILE"));
    parser.addOptions({devices, port, events, recInterval, seconds, reportOption});
    parser.addPositionalArgument(QStringLiteral("mode"), QStringLiteral("prepare, run or startup"));
    parser.addPositionalArgument(QStringLiteral("dir"), QStringLiteral("program directory"));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        parser.showHelp(2);
    const QString mode = args[0];
    const QString dir = args[1];
    if (mode == QLatin1String("prepare"))
        return Prepare(dir, parser.value(devices).toInt(), parser.value(port), parser.value(events).toInt(),
                       parser.value(recInterval).toInt());
    if (mode == QLatin1String("run") || mode == QLatin1String("startup"))
        return Run(app, dir, parser.value(seconds).toInt(), parser.value(reportOption), mode == QLatin1String("startup"));
    parser.showHelp(2);
}
