#include "log/TEventLog.h"

#include "model/TUpsInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

static_assert(std::tuple_size_v<decltype(TEventRec::StatusWords)> == kStatusBlockSize);

TEventLog::TEventLog(const QString &logDir, const QString &logFileName, const QString &backupDir,
                     TClock clock)
    : FLogDir(logDir),
      FLogFileName(logFileName),
      FLogPath(QDir(logDir).filePath(logFileName)),
      FBackupDir(backupDir),
      FClock(std::move(clock)),
      FFile(FLogPath, TEventRec::kSize)
{
}

int TEventLog::RecordCount() const
{
    return static_cast<int>(FFile.Count());
}

bool TEventLog::AppendEvent(const TEventRec &rec)
{
    if (RecordCount() >= kMaxRecords)
        RotateLog();
    std::uint8_t bytes[TEventRec::kSize];
    rec.WriteTo(bytes);
    const bool written = FFile.Append(bytes);
    if (written)
        FNewRecord = 255;
    // A copy: an observer may remove itself while it is called.
    const auto observers = FObservers;
    for (const auto &entry : observers)
        entry.second(rec);
    return written;
}

int TEventLog::AddObserver(TObserver observer)
{
    const int id = FNextObserverId++;
    FObservers.emplace_back(id, std::move(observer));
    return id;
}

void TEventLog::RemoveObserver(int id)
{
    std::erase_if(FObservers, [id](const auto &entry) { return entry.first == id; });
}

QString TEventLog::AutoBackupName(int number)
{
    return QStringLiteral("EventLog_%1.dat").arg(number, 3, 10, QLatin1Char('0'));
}

QString TEventLog::ManualBackupName(int number)
{
    return QStringLiteral("EventLog%1.dat").arg(number);
}

QString TEventLog::NextAutoBackupPath() const
{
    const QDir dir(FBackupDir);
    for (int i = 0; i < kAutoBackupNames; ++i) {
        const QString candidate = dir.filePath(AutoBackupName(i));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}

QString TEventLog::NextManualBackupPath() const
{
    const QDir dir(FBackupDir);
    for (int n = 1;; ++n) {
        const QString candidate = dir.filePath(ManualBackupName(n));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

bool TEventLog::RotateLog()
{
    // Losing the full file's records would be worse than a live file that
    // outgrows its limit, so nothing is emptied unless the copy is safe.
    if (!QDir().mkpath(FBackupDir))
        return false;
    const QString backup = NextAutoBackupPath();
    if (backup.isEmpty() || !QFile::copy(FLogPath, backup))
        return false;
    try {
        FFile.Truncate();
    } catch (const ELogFileError &) {
        return false;
    }
    return true;
}

void TEventLog::ClearLog()
{
    if (!QDir().mkpath(FBackupDir))
        throw ELogFileError(QStringLiteral("Cannot create directory \"%1\".").arg(FBackupDir));
    const QString backup = NextManualBackupPath();
    if (RecordCount() > 0 && !QFile::copy(FLogPath, backup))
        throw ELogFileError(QStringLiteral("Cannot copy \"%1\" to \"%2\"; the event log was not cleared.")
                                .arg(FLogPath, backup));
    FFile.Truncate();
}

void TEventLog::LogSoftwareEvent(int which)
{
    if (which != 0 && which != 1)
        return;
    TEventRec rec;
    rec.Time = Now();
    rec.Addr = 0;
    rec.Kind = kEventKindEvent;
    rec.Code = which == 0 ? kEventSoftwareOpen : kEventSoftwareClosed;
    rec.Flag = kFlagNone;
    AppendEvent(rec);
}

void TEventLog::LogDeviceEvent(int type, const TUpsInfo &info)
{
    TEventRec rec;
    switch (type) {
    case 2: rec.Kind = kEventKindEvent; rec.Code = kEventCommUpbuilt; break;
    case 3: rec.Kind = kEventKindEvent; rec.Code = kEventCommLost; break;
    case 4: rec.Kind = kEventKindEvent; rec.Code = kEventCommRecovered; break;
    case 5: rec.Kind = kEventKindEvent; rec.Code = kEventCommError; break;
    case 6: rec.Kind = kEventKindState; rec.Code = info.State; break;
    default: return;
    }
    rec.Time = Now();
    rec.Addr = info.Addr;
    rec.Flag = kFlagNone;
    WriteStatusBlock(info, rec.StatusWords.data());
    AppendEvent(rec);
}

std::vector<TEventRec> TEventLog::ReadAllEvents() const
{
    return ReadEventFile(FLogPath);
}

std::vector<TEventRec> TEventLog::ReadEventFile(const QString &path)
{
    return TRecordFile::ReadAll<TEventRec>(path);
}
