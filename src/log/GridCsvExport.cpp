#include "log/GridCsvExport.h"

#include "log/ELogFileError.h"
#include "log/TCsvWriter.h"

#include <QSaveFile>

namespace {

// Often enough for the bar to move smoothly, rarely enough not to cost.
constexpr int kProgressEveryRows = 4096;

} // namespace

QString CsvFileName(const QString &chosen)
{
    if (chosen.contains(QStringLiteral(".csv"), Qt::CaseSensitive))
        return chosen;
    return chosen + QStringLiteral(".csv");
}

void WriteGridCsv(const TTextGrid &grid, const std::vector<int> &columns, const QString &path,
                  const TExportProgress &progress)
{
    QSaveFile file(path);
    // A target in a directory we may not create files in is still written.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw ELogFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));

    const int total = grid.GridRowCount() + 1; // the header line counts as a row
    auto report = [&](int done) {
        if (progress)
            progress(done, total);
    };
    report(0);

    TCsvWriter csv(file);
    for (int column : columns)
        csv.AddCell(grid.GridHeaderText(column));
    csv.EndLine();
    for (int row = 0; row < grid.GridRowCount(); ++row) {
        for (int column : columns)
            csv.AddCell(grid.GridCellText(row, column));
        csv.EndLine();
        if ((row + 2) % kProgressEveryRows == 0)
            report(row + 2);
    }
    csv.Flush();
    if (!file.commit())
        throw ELogFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    report(total);
}
