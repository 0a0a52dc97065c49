#include "log/TRecFilter.h"

#include "log/TEventFilter.h"

#include <QDir>

QString TRecFilter::MonthFilePath(const QString &recordDir, int year, int month)
{
    return QDir(recordDir).filePath(QStringLiteral("DataLog%1_%2.dat").arg(year).arg(month, 2, 10, QLatin1Char('0')));
}

bool TRecFilter::Matches(const TDataRec &rec) const
{
    if (Addr != 0 && Addr != rec.Addr)
        return false;
    if (Day == 0)
        return true;
    const TDateFields date = SplitDate(rec.Time);
    return date.Year == Year && date.Month == Month && date.Day == Day;
}
