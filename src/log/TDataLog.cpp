#include "log/TDataLog.h"

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
    return TRecordFile(MonthFilePath(rec.Time), TDataRec::kSize).Append(bytes);
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
