// Prints how long the data log viewer takes to open a month file, list one
// day and one device of it, sort it by several columns and export it, and
// the memory it takes, sampled from outside the program; and, unless
// --no-baseline, the same steps done the straightforward way: a
// QTableWidget filled cell by cell.
//
// Usage: bench_logviewer [records] [--no-baseline] [--no-export] [--dir DIR]
//   records        samples in the month file (default 1000000): 252 units, at
//                  the interval that fits them into January 2026 (11249280
//                  is a full month at one minute)
//   --no-baseline  only our model, for runs on big files
//   --no-export    leave out the CSV export (it writes a file as large as the
//                  month file)
//   --dir DIR      keep the month file in DIR and use it again when it is
//                  there with as many records
#include "OutsideMemorySampler.h"
#include "SiteDataLog.h"
#include "app/TSettings.h"
#include "gui/log/TFrmDataLog.h"
#include "gui/widgets/LogGridView.h"
#include "log/GridCsvExport.h"
#include "log/TDataLogModel.h"
#include "log/TRecFilter.h"
#include "log/TRecordFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

// The baseline fills a widget item per cell, which takes minutes for a
// million rows; it runs on a tenth and its times are scaled up.
constexpr int kBaselineDivisor = 10;

long StatusKb(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}

double Seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

constexpr int kSiteUnits = 252;

// 252 units from 1 January 2026, every interval that fits `records` of them
// into the month.
void WriteMonthFile(const QString &dir, qint64 records)
{
    TSiteDataSpec spec;
    spec.Units = kSiteUnits;
    const qint64 runs = (records + kSiteUnits - 1) / kSiteUnits;
    spec.IntervalSeconds = static_cast<int>(std::max<qint64>(1, 31LL * 86400 / std::max<qint64>(runs, 1)));
    WriteSiteMonth(dir, 2026, 1, spec, records);
}

double RawWriteSeconds(const QString &path, qint64 bytes)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const QByteArray block(1 << 20, 'x');
    for (qint64 left = bytes; left > 0; left -= block.size())
        file.write(block.constData(), std::min<qint64>(left, block.size()));
    file.close();
    return Seconds(timer);
}

struct Baseline {
    double Load = 0;
    double Sort = 0;
    double Export = 0;
    long RssKb = 0;
};

Baseline RunBaseline(const QString &monthFile, const QString &csvPath, int records)
{
    Baseline result;
    const long before = StatusKb("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    QTableWidget table(records + 1, TDataLogModel::kColumnCount);
    for (int column = 0; column < TDataLogModel::kColumnCount; ++column)
        table.setHorizontalHeaderItem(column, new QTableWidgetItem(TDataLogModel::HeaderText(column, 0)));
    int row = 0;
    TRecordFile::ForEachRecord<TDataRec>(
        monthFile,
        [&](const TDataRec &rec) {
            if (row >= records)
                return;
            for (int column = 0; column < TDataLogModel::kColumnCount; ++column)
                table.setItem(row, column, new QTableWidgetItem(TDataLogModel::CellText(rec, column)));
            ++row;
        },
        [](qint64, qint64) {});
    table.resize(1200, 600);
    table.show();
    Settle();
    result.Load = Seconds(timer);
    result.RssKb = StatusKb("VmRSS:") - before;

    timer.restart();
    table.sortItems(2, Qt::AscendingOrder);
    Settle();
    result.Sort = Seconds(timer);

    timer.restart();
    QFile file(csvPath);
    file.open(QIODevice::WriteOnly);
    for (int r = 0; r < table.rowCount(); ++r) {
        QString line;
        for (int column = 0; column < table.columnCount(); ++column) {
            if (const QTableWidgetItem *item = table.item(r, column))
                line += item->text();
            line += u',';
        }
        line += QStringLiteral("\r\n");
        file.write(line.toLatin1());
    }
    file.close();
    result.Export = Seconds(timer);
    return result;
}

double Mb(long kb)
{
    return kb / 1024.0;
}

struct Bench {
    OutsideMemorySampler &Sampler;
    long StartAnonKb = 0;
    long PeakAnonKb = 0;

    // Times one step, with the memory the sampler saw while it ran.
    template <typename Step>
    double Run(const char *name, Step step)
    {
        Sampler.Mark();
        QElapsedTimer timer;
        timer.start();
        step();
        Settle();
        const double seconds = Seconds(timer);
        const OutsideMemorySampler::Figures after = Sampler.Read();
        PeakAnonKb = std::max(PeakAnonKb, after.PeakRssAnonKb);
        std::printf("  %-28s %8.3f s   RssAnon %+7.1f MB (peak %+7.1f MB)   RSS %7.1f MB\n", name, seconds,
                    Mb(after.RssAnonKb - StartAnonKb), Mb(after.PeakRssAnonKb - StartAnonKb), Mb(after.VmRssKb));
        return seconds;
    }
};

// A click on a cell of the column, as a user sorts it.
void ClickCell(LogGridView *grid, int column)
{
    const QPoint cell = grid->visualRect(grid->model()->index(0, column)).center();
    QMouseEvent press(QEvent::MouseButtonPress, cell, grid->viewport()->mapToGlobal(cell), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &press);
}

void ChooseMode(TFrmDataLog &window, int mode)
{
    window.findChild<QGroupBox *>(QStringLiteral("rdDataViewMode"))->findChildren<QRadioButton *>()[mode]->click();
}

bool SortedAscending(const TDataLogModel &model, int column)
{
    for (int row = 1; row < std::min(model.RowNo(), 2000); ++row)
        if (model.GridCellText(row - 1, column).toDouble() > model.GridCellText(row, column).toDouble())
            return false;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    OutsideMemorySampler sampler; // before any thread: it forks
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qint64 records = 1000000;
    bool baseline = true;
    bool exportCsv = true;
    QString keepDir;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--no-baseline"))
            baseline = false;
        else if (args[i] == QLatin1String("--no-export"))
            exportCsv = false;
        else if (args[i] == QLatin1String("--dir") && i + 1 < args.size())
            keepDir = args[++i];
        else
            records = args[i].toLongLong();
    }
    if (records < 1 || records > 4000000000LL) {
        std::fprintf(stderr, "usage: bench_logviewer [records] [--no-baseline] [--no-export] [--dir DIR]\n");
        return 2;
    }

    QTemporaryDir scratch;
    const QString dir = keepDir.isEmpty() ? scratch.path() : keepDir;
    QDir().mkpath(dir);
    const QString monthFile = TRecFilter::MonthFilePath(dir, 2026, 1);
    if (QFile(monthFile).size() != records * TDataRec::kSize) {
        QElapsedTimer made;
        made.start();
        WriteMonthFile(dir, records);
        std::printf("month file written in %.1f s\n", Seconds(made));
    }
    std::printf("month file: %lld records, %.1f MB, %s\n", static_cast<long long>(records),
                QFile(monthFile).size() / 1e6, qPrintable(monthFile));

    TSettings settings;
    const quint8 debugShow = 0;
    Bench bench{sampler};
    const OutsideMemorySampler::Figures start = sampler.Mark();
    bench.StartAnonKb = start.RssAnonKb;
    std::printf("\nviewer (QAbstractTableModel + QTableView); memory sampled from outside every 2 ms\n");
    std::printf("  at start: RssAnon %.1f MB, RssFile %.1f MB, RSS %.1f MB; changes below are from here\n",
                Mb(start.RssAnonKb), Mb(start.RssFileKb), Mb(start.VmRssKb));

    auto window = std::make_unique<TFrmDataLog>(dir, settings, debugShow, nullptr,
                                                [] { return EncodeDateTime(QDate(2026, 1, 15), QTime(12, 0)); });
    window->resize(1200, 600);
    auto *grid = window->findChild<LogGridView *>(QStringLiteral("grdRecData"));
    auto *search = window->findChild<QPushButton *>(QStringLiteral("btnSearch"));
    const TDataLogModel &model = window->Model();

    const double load = bench.Run("open the whole month", [&] { window->show(); });
    const int rows = model.RowNo();
    std::printf("    %d rows listed\n", rows);
    const double sort = bench.Run("sort by InV-A", [&] { ClickCell(grid, 2); });
    if (!SortedAscending(model, 2))
        std::printf("warning: the rows are not sorted\n");
    bench.Run("sort by InV-A descending", [&] { ClickCell(grid, 2); });
    bench.Run("sort by Time", [&] { ClickCell(grid, 0); });
    bench.Run("sort by Address", [&] { ClickCell(grid, 1); });
    bench.Run("sort by BattCapa", [&] { ClickCell(grid, 13); });
    bench.Run("sort by Load-B", [&] { ClickCell(grid, 9); });

    double exportTime = 0;
    qint64 csvBytes = 0;
    const QString csv = QDir(dir).filePath(QStringLiteral("export.csv"));
    if (exportCsv) {
        exportTime = bench.Run("export to CSV", [&] { WriteGridCsv(model, grid->ShownColumns(), csv); });
        csvBytes = QFile(csv).size();
        std::printf("    %.1f MB, %.0f MB/s\n", csvBytes / 1e6, csvBytes / 1e6 / exportTime);
    }

    ChooseMode(*window, 1);
    window->findChild<QSpinBox *>(QStringLiteral("spedtDateD"))->setValue(15);
    bench.Run("one day (15 January)", [&] { search->click(); });
    std::printf("    %d rows listed\n", model.RowNo());
    bench.Run("sort the day by OutV-A", [&] { ClickCell(grid, 5); });
    ChooseMode(*window, 0);
    window->findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
    window->findChild<QSpinBox *>(QStringLiteral("SpinAddr"))->setValue(100);
    bench.Run("one device (address 100)", [&] { search->click(); });
    std::printf("    %d rows listed\n", model.RowNo());
    bench.Run("sort the device by InV-A", [&] { ClickCell(grid, 2); });
    window->findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(false);
    bench.Run("the whole month again", [&] { search->click(); });
    window.reset();
    const OutsideMemorySampler::Figures end = sampler.Read();
    std::printf("  highest RssAnon over all steps: %+.1f MB above the start (%.1f MB); after closing %+.1f MB\n",
                Mb(bench.PeakAnonKb - bench.StartAnonKb), Mb(bench.PeakAnonKb), Mb(end.RssAnonKb - bench.StartAnonKb));

    if (!baseline) {
        QFile::remove(csv);
        return 0;
    }
    const double rawWrite = exportCsv ? RawWriteSeconds(QDir(dir).filePath(QStringLiteral("raw.bin")), csvBytes) : 0;
    QFile::remove(QDir(dir).filePath(QStringLiteral("raw.bin")));
    QFile::remove(csv);
    if (exportCsv)
        std::printf("  plain write of as many bytes as the export: %.3f s, %.0f MB/s\n", rawWrite,
                    csvBytes / 1e6 / rawWrite);
    const int baselineRecords = static_cast<int>(std::max<qint64>(1, records / kBaselineDivisor));
    const Baseline base = RunBaseline(monthFile, QDir(dir).filePath(QStringLiteral("baseline.csv")), baselineRecords);
    QFile::remove(QDir(dir).filePath(QStringLiteral("baseline.csv")));
    const double scale = static_cast<double>(records) / baselineRecords;
    std::printf("\nbaseline (QTableWidget filled cell by cell), run on %d records and scaled by %.0f\n",
                baselineRecords, scale);
    std::printf("  load and show     %8.3f s  -> %8.3f s scaled   ratio %6.1fx\n", base.Load, base.Load * scale,
                base.Load * scale / load);
    std::printf("  sort by InV-A     %8.3f s  -> %8.3f s scaled   ratio %6.1fx  (text order, not by value)\n",
                base.Sort, base.Sort * scale, base.Sort * scale / sort);
    if (exportCsv)
        std::printf("  export to CSV     %8.3f s  -> %8.3f s scaled   ratio %6.1fx\n", base.Export,
                    base.Export * scale, base.Export * scale / exportTime);
    std::printf("  memory (RSS grown) %7.0f MB -> %7.0f MB scaled\n", base.RssKb / 1024.0, base.RssKb * scale / 1024.0);
    return 0;
}
