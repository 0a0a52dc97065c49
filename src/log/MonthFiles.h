#pragma once

#include "log/DateTime.h"

#include <QString>
#include <QStringList>

#include <limits>

// The month files of the data log as the month deletion window lists them:
// "DataLog2009_03" for DataLog2009_03.dat, in the order the directory
// listing gives them.
QStringList ListMonthEntries(const QString &recordDir);

QString MonthEntryPath(const QString &recordDir, const QString &entry);

// Deletes the month file of the entry and its summary. False, with the
// month file still there, when it could not be deleted; `error` then says
// why.
bool DeleteMonthEntry(const QString &recordDir, const QString &entry, QString *error = nullptr);

// The paths of the month files in `recordDir` whose month overlaps
// [from, to), oldest first; the defaults take every month file.
QStringList MonthFilesOfPeriod(const QString &recordDir, TDateTime from = -std::numeric_limits<double>::infinity(),
                               TDateTime to = std::numeric_limits<double>::infinity());
