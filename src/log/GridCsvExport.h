#pragma once

#include "log/TTextGrid.h"

#include <QString>

#include <functional>
#include <vector>

// The name an export is written under: ".csv" is appended unless the chosen
// name already holds ".csv" somewhere (case-sensitive, so "report.CSV"
// becomes "report.CSV.csv" and "a.csv.txt" stays as it is).
QString CsvFileName(const QString &chosen);

// Hears (rows written, rows in all) while an export runs.
using TExportProgress = std::function<void(int done, int total)>;

// Writes the header and every row of the grid to `path` in GBK, taking the
// given columns from left to right. The file is replaced only once it has
// been written whole; throws ELogFileError when it cannot be written, and an
// existing file of that name is then left as it was.
void WriteGridCsv(const TTextGrid &grid, const std::vector<int> &columns, const QString &path,
                  const TExportProgress &progress = {});
