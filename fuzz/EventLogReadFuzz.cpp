// The event log reader and the viewer's rows and cell texts on any file
// content: time stamps, kinds and codes as a damaged or foreign file may
// hold them.
#include "FuzzFiles.h"

#include "log/TEventFilter.h"
#include "log/TEventLog.h"
#include "log/TEventLogModel.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = QDir(FuzzScratchDir()).filePath(QStringLiteral("EventLog.dat"));
    WriteFuzzFile(path, data, size);

    const std::vector<TEventRec> records = TEventLog::ReadEventFile(path);
    FUZZ_CHECK(records.size() == size / TEventRec::kSize);
    const quint8 language = size % 2;
    for (const TEventRow &row : TEventLogModel::BuildRows(records, TEventFilter{}, language))
        for (int column = 0; column < TEventLogModel::kColumnCount; ++column)
            TEventLogModel::CellText(row, column);
    if (!records.empty()) {
        // The filter of the viewer, set to the first record's day and address.
        const TEventRec &first = records.front();
        const TDateTimeParts parts = DecodeDateTime(first.Time);
        TEventFilter filter;
        filter.Year = static_cast<quint16>(parts.Date.year());
        filter.Month = static_cast<quint16>(parts.Date.month());
        filter.Day = static_cast<quint16>(parts.Date.day());
        filter.Addr = first.Addr;
        TEventLogModel::BuildRows(records, filter, language);
    }
    return 0;
}
