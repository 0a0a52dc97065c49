#pragma once

#include "log/TTextGrid.h"

#include <QString>

#include <functional>
#include <vector>

// The name an export is written under: ".csv" is appended unless the chosen
// name already holds ".csv" somewhere (case-sensitive, so "report.CSV"
// becomes "report.CSV.csv" and "a.csv.txt" stays as it is).
QString CsvFileName(const QString &chosen);

// Hears (rows written, rows in all) while an export runs, and returns false
// to cancel it.
using TExportProgress = std::function<bool(int done, int total)>;

// Writes the header and every row of the grid to `path` in GBK, taking the
// given columns from left to right, a block of rows at a time. The file is
// replaced only once it has been written whole: a cancelled export returns
// false, and one that fails throws ELogFileError; either way no part of the
// new file is left and an existing file of that name stays as it was.
bool WriteGridCsv(const TTextGrid &grid, const std::vector<int> &columns, const QString &path,
                  const TExportProgress &progress = {});
