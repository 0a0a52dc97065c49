// Prints how long the trend window takes to read and draw one device's
// values over month files: a day and a week from every sample, a month and
// twelve months from the hourly summaries, and a zoom from the year into a
// week. Each period is shown twice: the first time may have summaries to
// build and month files to read from the disk, the second shows what the
// user sees from then on. Reading and drawing are timed apart.
//
// Usage: bench_trend RECORDDIR ADDR YYYY-MM-DD [--rebuild]
//   the day is YYYY-MM-DD, the week the seven days up to it, the month its
//   month and the year the twelve months up to the end of that month;
//   --rebuild times building the summaries of those months first (it
//   deletes and builds them again)
#include "gui/log/TFrmTrend.h"
#include "gui/widgets/TrendPlot.h"
#include "log/TDataSummary.h"
#include "log/TTrendQuery.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

void Show(TFrmTrend &window, const char *name)
{
    for (const char *pass : {"first", "again"}) {
        QElapsedTimer timer;
        timer.start();
        window.ShowClick();
        const double total = timer.nsecsElapsed() / 1e6;
        window.Plot()->repaint();
        std::printf("  %-34s %-6s %8.1f ms   (%zu points; a repaint alone %.1f ms)\n", name, pass, total,
                    window.Series().Points.size(), window.Plot()->lastPaintMs());
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool rebuild = args.size() == 5 && args[4] == QLatin1String("--rebuild");
    const QDate date = args.size() == 4 || rebuild ? QDate::fromString(args[3], QStringLiteral("yyyy-MM-dd")) : QDate();
    if (!date.isValid()) {
        std::fprintf(stderr, "usage: bench_trend RECORDDIR ADDR YYYY-MM-DD [--rebuild]\n");
        return 2;
    }
    const QString dir = args[1];
    const auto addr = static_cast<std::uint8_t>(args[2].toInt());
    const QDate yearEnd = QDate(date.year(), date.month(), 1).addMonths(1);
    const TTrendQuery query(dir);
    const QStringList months = query.MonthFiles(EncodeDateTime(yearEnd.addMonths(-12), QTime(0, 0)),
                                                EncodeDateTime(yearEnd, QTime(0, 0)));
    qint64 bytes = 0;
    int current = 0;
    for (const QString &month : months) {
        bytes += QFileInfo(month).size();
        current += TDataSummary(month).State() == TDataSummary::TState::Current;
    }
    std::printf("%lld month files of the year, %.1f MB; %d with a current summary\n",
                static_cast<long long>(months.size()), bytes / 1e6, current);
    if (rebuild)
        for (const QString &month : months) {
            const TDataSummary summary(month);
            QFile::remove(summary.SummaryPath());
            QElapsedTimer timer;
            timer.start();
            summary.Rebuild();
            std::printf("  summary of %s (%.1f MB) built in %.2f s, %.1f MB\n", qPrintable(QFileInfo(month).fileName()),
                        QFileInfo(month).size() / 1e6, timer.nsecsElapsed() / 1e9,
                        QFileInfo(summary.SummaryPath()).size() / 1e6);
        }

    TFrmTrend window(dir, 0, addr, EncodeDateTime(date, QTime(12, 0)));
    window.resize(1280, 760);
    window.Prompts.ShowError = [](QWidget *, const QString &message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    };
    window.show();
    QApplication::processEvents();
    std::printf("\ndevice %d, window 1280 x 760 (read, then drawn)\n", addr);
    Show(window, "day, every sample");
    window.SetPeriod(TFrmTrend::kPeriodWeek);
    Show(window, "week, every sample");
    window.SetPeriod(TFrmTrend::kPeriodMonth);
    Show(window, "month, hourly summary");
    window.findChild<QDateTimeEdit *>(QStringLiteral("dtpFrom"))->setDateTime(QDateTime(yearEnd.addMonths(-12), QTime(0, 0)));
    window.findChild<QDateTimeEdit *>(QStringLiteral("dtpTo"))->setDateTime(QDateTime(yearEnd, QTime(0, 0)));
    window.SetPeriod(TFrmTrend::kPeriodRange);
    Show(window, "twelve months, hourly summary");

    // The wheel from the year down to a week around the day: the window
    // reads the samples of the week when the zoom comes to rest.
    const TDateTime middle = EncodeDateTime(date, QTime(0, 0));
    window.Plot()->setViewRange(middle - 3.5, middle + 3.5);
    QElapsedTimer timer;
    timer.start();
    window.ReloadForView();
    std::printf("  %-34s %-6s %8.1f ms   (%zu points)\n", "zoom from the year into a week", "", timer.nsecsElapsed() / 1e6,
                window.Series().Points.size());
    return 0;
}
