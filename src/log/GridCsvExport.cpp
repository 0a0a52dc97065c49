#include "log/GridCsvExport.h"

#include "log/CommitSaveFile.h"
#include "log/ELogFileError.h"
#include "log/TCsvWriter.h"

#include <QSaveFile>

#include <future>

namespace {

// Rows are made into text in blocks of this many, two blocks at a time: a
// large export is bound by formatting the cells, not by the disk.
constexpr int kBlockRows = 8192;

QString RowLines(const TTextGrid &grid, const std::vector<int> &columns, int from, int to)
{
    QString lines;
    lines.reserve((to - from) * static_cast<int>(columns.size()) * 8);
    for (int row = from; row < to; ++row) {
        for (int column : columns)
            TCsvWriter::AppendField(lines, grid.GridCellText(row, column));
        TCsvWriter::AppendLineEnd(lines);
    }
    return lines;
}

} // namespace

QString CsvFileName(const QString &chosen)
{
    if (chosen.contains(QStringLiteral(".csv"), Qt::CaseSensitive))
        return chosen;
    return chosen + QStringLiteral(".csv");
}

bool WriteGridCsv(const TTextGrid &grid, const std::vector<int> &columns, const QString &path,
                  const TExportProgress &progress)
{
    // Always through a file beside the target, renamed over it at the end:
    // writing the target in place (where the directory takes no new file)
    // would leave it torn by a cancel or a full disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ELogFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));

    const int total = grid.GridRowCount() + 1; // the header line counts as a row
    auto carryOn = [&](int done) { return !progress || progress(done, total); };
    if (!carryOn(0)) {
        file.cancelWriting();
        return false;
    }

    TCsvWriter csv(file);
    for (int column : columns)
        csv.AddCell(grid.GridHeaderText(column));
    csv.EndLine();
    const int rows = grid.GridRowCount();
    for (int from = 0; from < rows; from += 2 * kBlockRows) {
        const int middle = std::min(rows, from + kBlockRows);
        const int to = std::min(rows, middle + kBlockRows);
        grid.PrepareRows(from, to);
        // The prepared rows are only read now, so a second thread may.
        std::future<QString> first = std::async(std::launch::async, RowLines, std::cref(grid), std::cref(columns), from, middle);
        const QString second = RowLines(grid, columns, middle, to);
        csv.AddLines(first.get());
        csv.AddLines(second);
        if (!carryOn(to + 1)) {
            grid.PrepareRows(0, 0);
            file.cancelWriting();
            return false;
        }
    }
    grid.PrepareRows(0, 0);
    csv.Flush();
    if (!CommitSaveFile(file))
        throw ELogFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    carryOn(total);
    return true;
}
