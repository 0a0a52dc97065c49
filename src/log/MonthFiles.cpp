#include "log/MonthFiles.h"

#include "log/TDataSummary.h"

#include <QDir>
#include <QFile>

namespace {

const QString kDataExtension = QStringLiteral(".dat");
const QString kMonthPrefix = QStringLiteral("DataLog");

} // namespace

QStringList ListMonthEntries(const QString &recordDir)
{
    QDir dir(recordDir);
    // Case-sensitive: only names the data log writes can be deleted through
    // the entry they give.
    dir.setFilter(QDir::Files | QDir::CaseSensitive);
    dir.setNameFilters({QStringLiteral("*") + kDataExtension});
    dir.setSorting(QDir::Unsorted);
    QStringList entries;
    for (const QString &name : dir.entryList()) {
        const QString entry = name.chopped(kDataExtension.size());
        if (entry.startsWith(kMonthPrefix))
            entries.push_back(entry);
    }
    return entries;
}

QString MonthEntryPath(const QString &recordDir, const QString &entry)
{
    return QDir(recordDir).filePath(entry + kDataExtension);
}

bool DeleteMonthEntry(const QString &recordDir, const QString &entry, QString *error)
{
    QFile file(MonthEntryPath(recordDir, entry));
    if (file.remove()) {
        // Its summary goes with it; one left over is never read anyway.
        QFile::remove(TDataSummary::SummaryPathFor(file.fileName()));
        return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}
