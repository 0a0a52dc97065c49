#include "log/TDataLogModel.h"

#include "log/ELogFileError.h"
#include "log/RowOrder.h"
#include "log/TRecordFile.h"
#include "model/TextLanguage.h"
#include "model/ValueFormat.h"

#include <cmath>
#include <limits>

namespace {

struct ColumnTitle {
    const char *chinese;
    const char *english;
};

const ColumnTitle kTitles[TDataLogModel::kColumnCount] = {
    {"时间", "Time"},
    {"设备地址", "Address"},
    {"输入A相电压(V)", "InV-A (V)"},
    {"输入B相电压(V)", "InV-B (V)"},
    {"输入C相电压(V)", "InV-C (V)"},
    {"输出A相电压(V)", "OutV-A (V)"},
    {"输出B相电压(V)", "OutV-B (V)"},
    {"输出C相电压(V)", "OutV-C (V)"},
    {"A相负载率(%)", "Load-A (%)"},
    {"B相负载率(%)", "Load-B (%)"},
    {"C相负载率(%)", "Load-C (%)"},
    {"输出频率(Hz)", "OutFreq (Hz)"},
    {"直流输入电压(V)", "DC V(V)"},
    {"电池容量率(%)", "BattCapa (%)"},
    {"电池后备时间(分)", "BattSuppTime(min)"},
};

constexpr double kEmptyCellKey = -std::numeric_limits<double>::infinity();

// The double behind columns 2 to 12.
double MeasuredValue(const TDataRec &rec, int column)
{
    if (column >= 2 && column <= 4)
        return rec.InputVolt[column - 2];
    if (column >= 5 && column <= 7)
        return rec.OutputVolt[column - 5];
    if (column >= 8 && column <= 10)
        return rec.LoadPercent[column - 8];
    return column == 11 ? rec.OutputFreq : rec.DcVolt;
}

bool IsLoadColumn(int column)
{
    return column >= 8 && column <= 10;
}

std::uint16_t BackupMinutes(const TDataRec &rec)
{
    return static_cast<std::uint16_t>(rec.BattBackupTime);
}

double RawSortKey(const TDataRec &rec, int column)
{
    switch (column) {
    case 0:
        return rec.Time;
    case 1:
        return rec.Addr;
    case 13:
        return rec.BattCapacity > 0 ? rec.BattCapacity : kEmptyCellKey;
    case 14:
        return BackupMinutes(rec) > 0 ? BackupMinutes(rec) : kEmptyCellKey;
    default:
        return MeasuredValue(rec, column);
    }
}

// A NaN (a value of a failed division) sorts with the empty cells: a key
// that compares false both ways would break the sort.
double SortKey(const TDataRec &rec, int column)
{
    const double key = RawSortKey(rec, column);
    return std::isnan(key) ? kEmptyCellKey : key;
}

} // namespace

TDataLogModel::TDataLogModel(quint8 language, QObject *parent)
    : TLogGridModel(kColumnCount, kMinDataRows, parent), FLanguage(language)
{
}

QString TDataLogModel::HeaderText(int column, quint8 language)
{
    if (column < 0 || column >= kColumnCount)
        return {};
    return QString::fromUtf8(IsChineseLanguage(language) ? kTitles[column].chinese : kTitles[column].english);
}

QString TDataLogModel::CellText(const TDataRec &rec, int column)
{
    switch (column) {
    case 0:
        return FormatDateTime(rec.Time);
    case 1:
        return QString::number(rec.Addr);
    case 13:
        return rec.BattCapacity > 0 ? QString::number(rec.BattCapacity) : QString();
    case 14:
        return BackupMinutes(rec) > 0 ? QString::number(BackupMinutes(rec)) : QString();
    default:
        if (column < 0 || column >= kColumnCount)
            return {};
        if (IsLoadColumn(column))
            return FormatFixedSignificant(MeasuredValue(rec, column), 4, 0);
        return FormatFixedSignificant(MeasuredValue(rec, column), 5, 1);
    }
}

bool TDataLogModel::Load(const TRecFilter &filter, const std::function<void(qint64, qint64)> &progress)
{
    beginResetModel();
    FRecords.clear();
    bool read = false;
    try {
        read = TRecordFile::ForEachRecord<TDataRec>(
            filter.FileName,
            [&](const TDataRec &rec) {
                if (filter.Matches(rec))
                    FRecords.push_back(rec);
            },
            [&](qint64 done, qint64 total) {
                // Unfiltered, every record is kept: room for all at once
                // spares the copies of a growing vector.
                if (done == 0 && filter.Day == 0 && filter.Addr == 0)
                    FRecords.reserve(static_cast<std::size_t>(total));
                if (progress)
                    progress(done, total);
            });
    } catch (const ELogFileError &) {
        read = false;
    }
    if (!read)
        FRecords.clear();
    ResetOrder(FRecords.size());
    endResetModel();
    return read;
}

void TDataLogModel::ClearGrid()
{
    beginResetModel();
    FRecords.clear();
    FRecords.shrink_to_fit();
    ResetOrder(0);
    endResetModel();
}

QString TDataLogModel::RecordCellText(std::uint32_t record, int column) const
{
    return CellText(FRecords[record], column);
}

void TDataLogModel::Sort(int column, std::uint8_t dir)
{
    if (column < 0 || column >= kColumnCount)
        return;
    ChangeOrder(SortedRowOrder<double>(
        FRecords.size(), [this, column](std::size_t i) { return SortKey(FRecords[i], column); }, dir != 0));
}
