// The data log reader and the viewer's cell texts on any month file content:
// doubles that are NaN, infinite or huge, stamps far outside the calendar.
#include "FuzzFiles.h"

#include "log/TDataLog.h"
#include "log/TDataLogModel.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = QDir(FuzzScratchDir()).filePath(QStringLiteral("DataLog2026_03.dat"));
    WriteFuzzFile(path, data, size);

    const std::vector<TDataRec> records = TDataLog::ReadDataFile(path);
    FUZZ_CHECK(records.size() == size / TDataRec::kSize);
    for (const TDataRec &rec : records) {
        for (int column = 0; column < TDataLogModel::kColumnCount; ++column)
            TDataLogModel::CellText(rec, column);
        TDataLog::MonthFileName(rec.Time);
    }
    return 0;
}
