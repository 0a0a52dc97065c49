#include "log/MonthFiles.h"

#include "log/TDataSummary.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

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

QStringList MonthFilesOfPeriod(const QString &recordDir, TDateTime from, TDateTime to)
{
    static const QRegularExpression kMonth(QStringLiteral("^DataLog(\\d{4})_(\\d{2})$"));
    std::vector<std::pair<QDate, QString>> months;
    for (const QString &entry : ListMonthEntries(recordDir)) {
        const QRegularExpressionMatch match = kMonth.match(entry);
        const QDate first = match.hasMatch() ? QDate(match.captured(1).toInt(), match.captured(2).toInt(), 1) : QDate();
        if (!first.isValid())
            continue;
        if (EncodeDateTime(first, QTime(0, 0)) < to && EncodeDateTime(first.addMonths(1), QTime(0, 0)) > from)
            months.emplace_back(first, MonthEntryPath(recordDir, entry));
    }
    std::sort(months.begin(), months.end());
    QStringList paths;
    for (const auto &month : months)
        paths.push_back(month.second);
    return paths;
}
