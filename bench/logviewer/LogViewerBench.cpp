// Prints how long the data log viewer takes to load and show, sort and
// export a month file, its memory, and the same steps done the
// straightforward way: a QTableWidget filled cell by cell.
//
// Usage: bench_logviewer [records]   (default 1000000)
#include "app/TSettings.h"
#include "gui/log/TFrmDataLog.h"
#include "gui/widgets/LogGridView.h"
#include "log/GridCsvExport.h"
#include "log/TDataLogModel.h"
#include "log/TRecFilter.h"
#include "log/TRecordFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <fstream>
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

void WriteMonthFile(const QString &path, int records)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QByteArray chunk;
    TDataRec rec;
    for (int i = 0; i < records; ++i) {
        // 20 units every 5 s from the 1st of the month.
        rec.Time = EncodeDateTime(QDate(2026, 1, 1), QTime(0, 0)) + (i / 20) * 5.0 / 86400.0;
        rec.Addr = static_cast<std::uint8_t>(i % 20 + 1);
        for (int p = 0; p < 3; ++p) {
            rec.InputVolt[p] = 220.0 + ((i * 7919 + p * 13) % 400) / 10.0;
            rec.OutputVolt[p] = 230.0 + ((i * 104729 + p) % 100) / 10.0;
            rec.LoadPercent[p] = (i * 31 + p) % 100;
        }
        rec.OutputFreq = 49.9 + (i % 3) / 10.0;
        rec.DcVolt = 400 + i % 50;
        rec.BattCapacity = i % 101;
        rec.BattBackupTime = static_cast<std::int16_t>(i % 120);
        std::uint8_t bytes[TDataRec::kSize];
        rec.WriteTo(bytes);
        chunk.append(reinterpret_cast<const char *>(bytes), TDataRec::kSize);
        if (chunk.size() >= (1 << 22)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;

    QTemporaryDir dir;
    const QString monthFile = TRecFilter::MonthFilePath(dir.path(), 2026, 1);
    WriteMonthFile(monthFile, records);
    std::printf("month file: %d records, %.1f MB\n", records, QFile(monthFile).size() / 1e6);

    TSettings settings;
    const quint8 debugShow = 0;
    const long rssBefore = StatusKb("VmRSS:");
    TFrmDataLog window(dir.path(), settings, debugShow, nullptr,
                       [] { return EncodeDateTime(QDate(2026, 1, 15), QTime(12, 0)); });
    window.resize(1200, 600);

    QElapsedTimer timer;
    timer.start();
    window.show(); // reads the month file and shows the grid
    Settle();
    const double load = Seconds(timer);
    const long rss = StatusKb("VmRSS:") - rssBefore;
    const int rows = window.Model().RowNo();

    auto *grid = window.findChild<LogGridView *>(QStringLiteral("grdRecData"));
    timer.restart();
    // A click on a cell of the column, as a user sorts it.
    const QPoint cell = grid->visualRect(grid->model()->index(0, 2)).center();
    QMouseEvent press(QEvent::MouseButtonPress, cell, grid->viewport()->mapToGlobal(cell), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &press);
    Settle();
    const double sort = Seconds(timer);

    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    timer.restart();
    WriteGridCsv(window.Model(), grid->ShownColumns(), csv);
    const double exportTime = Seconds(timer);
    const qint64 csvBytes = QFile(csv).size();
    const double rawWrite = RawWriteSeconds(dir.filePath(QStringLiteral("raw.bin")), csvBytes);

    if (window.Model().GridCellText(0, 2) > window.Model().GridCellText(1, 2))
        std::printf("warning: the rows are not sorted\n");
    std::printf("\nviewer (QAbstractTableModel + QTableView), %d rows shown\n", rows);
    std::printf("  load and show     %8.3f s\n", load);
    std::printf("  sort by InV-A     %8.3f s\n", sort);
    std::printf("  export to CSV     %8.3f s  (%.1f MB, %.0f MB/s; plain write of as many bytes %.3f s, %.0f MB/s)\n",
                exportTime, csvBytes / 1e6, csvBytes / 1e6 / exportTime, rawWrite, csvBytes / 1e6 / rawWrite);
    std::printf("  memory (RSS grown) %7.0f MB   peak RSS of the process %ld MB\n", rss / 1024.0,
                StatusKb("VmHWM:") / 1024);

    const int baselineRecords = records / kBaselineDivisor;
    const Baseline base = RunBaseline(monthFile, dir.filePath(QStringLiteral("baseline.csv")), baselineRecords);
    const double scale = static_cast<double>(records) / baselineRecords;
    std::printf("\nbaseline (QTableWidget filled cell by cell), run on %d records and scaled by %.0f\n",
                baselineRecords, scale);
    std::printf("  load and show     %8.3f s  -> %8.3f s scaled   ratio %6.1fx\n", base.Load, base.Load * scale,
                base.Load * scale / load);
    std::printf("  sort by InV-A     %8.3f s  -> %8.3f s scaled   ratio %6.1fx  (text order, not by value)\n",
                base.Sort, base.Sort * scale, base.Sort * scale / sort);
    std::printf("  export to CSV     %8.3f s  -> %8.3f s scaled   ratio %6.1fx\n", base.Export, base.Export * scale,
                base.Export * scale / exportTime);
    std::printf("  memory (RSS grown) %7.0f MB -> %7.0f MB scaled\n", base.RssKb / 1024.0, base.RssKb * scale / 1024.0);
    return 0;
}
