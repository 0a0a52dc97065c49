#include "log/TDataLog.h"

#include "log/TDataSummary.h"
#include "log/TRecordFile.h"

#include <QDir>

TDataLog::TDataLog(const QString &logDir)
    : FLogDir(logDir)
{
}

bool TDataLog::AppendRecord(const TDataRec &rec)
{
    std::uint8_t bytes[TDataRec::kSize];
    rec.WriteTo(bytes);
    const TRecordFile file(MonthFilePath(rec.Time), TDataRec::kSize);
    const qint64 number = file.Count();
    if (!file.Append(bytes))
        return false;
    // The summary follows the month file; when it cannot, it is left
    // behind and rebuilt when a trend wants it, so the record is not lost.
    TDataSummary(file.Path()).Add(rec, static_cast<std::uint32_t>(number));
    return true;
}

qint64 TDataLog::FileRecordCount(const QString &fileName)
{
    return TRecordFile(fileName, TDataRec::kSize).Count();
}

QString TDataLog::MonthFileName(TDateTime time)
{
    // The month comes from the formatted stamp, so a sample always lands in
    // the file whose name matches the time the viewer shows for it.
    const QString stamp = FormatDateTime(time);
    return QStringLiteral("DataLog") + stamp.mid(0, 4) + QLatin1Char('_') + stamp.mid(5, 2)
        + QStringLiteral(".dat");
}

QString TDataLog::MonthFilePath(TDateTime time) const
{
    return QDir(FLogDir).filePath(MonthFileName(time));
}

std::vector<TDataRec> TDataLog::ReadDataFile(const QString &path)
{
    return TRecordFile::ReadAll<TDataRec>(path);
}
