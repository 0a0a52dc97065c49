#include "log/TDataLogModel.h"

#include "log/DropPages.h"
#include "log/ELogFileError.h"
#include "log/KeySort.h"
#include "log/RowOrder.h"
#include "log/TRecordFile.h"
#include "model/TextLanguage.h"
#include "model/ValueFormat.h"

#include "model/LittleEndian.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <numeric>

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

// The sort key of a column read straight from the record's bytes: sorting a
// month reads one field of every record and decodes nothing else.
double RawSortKey(const std::uint8_t *bytes, int column)
{
    switch (column) {
    case 0:
        return GetLE<double>(bytes);
    case 1:
        return bytes[TDataRec::kAddrAt];
    case 13: {
        const auto capacity = GetLE<std::int32_t>(bytes + TDataRec::kBattCapacityAt);
        return capacity > 0 ? capacity : kEmptyCellKey;
    }
    case 14: {
        const auto minutes = GetLE<std::uint16_t>(bytes + TDataRec::kBattBackupTimeAt);
        return minutes > 0 ? minutes : kEmptyCellKey;
    }
    default:
        return GetLE<double>(bytes + TDataRec::kInputVoltAt + 8 * (column - 2));
    }
}

// A NaN (a value of a failed division) sorts with the empty cells: a key
// that compares false both ways would break the sort.
double SortKey(const std::uint8_t *bytes, int column)
{
    const double key = RawSortKey(bytes, column);
    return std::isnan(key) ? kEmptyCellKey : key;
}

// Puts the sorted entries' record numbers into `rows` (as many as entries).
// The numbers are first gathered at the front of the entries' own buffer and
// the rest of it is given back, so that the entries and a second full list
// of rows are never held at once.
void WriteSortedRows(TSortEntry *entries, std::size_t n, std::vector<std::uint32_t> &rows)
{
    auto *bytes = reinterpret_cast<unsigned char *>(entries);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t record = entries[i].Record; // entry i lies past the numbers written so far
        std::memcpy(bytes + i * sizeof record, &record, sizeof record);
    }
    DropPages(bytes + n * sizeof(std::uint32_t), n * (sizeof(TSortEntry) - sizeof(std::uint32_t)));
    std::memcpy(rows.data(), bytes, n * sizeof(std::uint32_t));
}

std::size_t WordsFor(std::uint32_t records)
{
    return (std::size_t{records} + 63) / 64;
}

bool IsListed(const std::vector<std::uint64_t> &listed, std::uint32_t record)
{
    return (listed[record / 64] >> (record % 64)) & 1;
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
        return ValueText(column, MeasuredValue(rec, column));
    }
}

QString TDataLogModel::ValueText(int column, double value)
{
    if (column == 13 || column == 14)
        return value > 0 ? QString::number(std::llround(value)) : QString();
    if (IsLoadColumn(column))
        return FormatFixedSignificant(value, 4, 0);
    return FormatFixedSignificant(value, 5, 1);
}

void TDataLogModel::Allocating(std::size_t bytes) const
{
    if (BeforeAllocate)
        BeforeAllocate(bytes);
}

QString TDataLogModel::OutOfMemoryText(qint64 records) const
{
    return IsChineseLanguage(FLanguage)
        ? QStringLiteral("内存不足，无法处理 %1 条记录。").arg(records)
        : QStringLiteral("Not enough memory for %1 records.").arg(records);
}

void TDataLogModel::Clear()
{
    FFile.Close();
    FListed = {};
    FPrepared = {};
    ResetOrder(0);
}

std::vector<std::uint32_t> TDataLogModel::MatchingRecords(const TRecFilter &filter,
                                                          const std::function<void(qint64, qint64)> &progress)
{
    const std::uint32_t count = FFile.Count();
    auto report = [&](qint64 done) {
        if (progress)
            progress(done, count);
        return true;
    };
    report(0);
    Allocating(WordsFor(count) * sizeof(std::uint64_t));
    if (filter.MatchesAll()) {
        FListed.assign(WordsFor(count), ~std::uint64_t{0});
        if (count % 64 != 0)
            FListed.back() = (std::uint64_t{1} << (count % 64)) - 1;
        Allocating(std::size_t{count} * sizeof(std::uint32_t));
        std::vector<std::uint32_t> rows(count);
        std::iota(rows.begin(), rows.end(), 0u);
        report(count);
        return rows;
    }

    FListed.assign(WordsFor(count), 0);
    const TDayOfStamp day(filter.Year, filter.Month, filter.Day);
    std::size_t matches = 0;
    FFile.Scan(
        0, count,
        [&](std::uint32_t record, const std::uint8_t *bytes) {
            if (filter.Addr != 0 && filter.Addr != bytes[TDataRec::kAddrAt])
                return;
            if (filter.Day != 0 && !day.Holds(GetLE<double>(bytes)))
                return;
            FListed[record / 64] |= std::uint64_t{1} << (record % 64);
            ++matches;
        },
        report);
    Allocating(matches * sizeof(std::uint32_t));
    std::vector<std::uint32_t> rows;
    rows.reserve(matches);
    for (std::size_t word = 0; word < FListed.size(); ++word)
        for (std::uint64_t bits = FListed[word]; bits != 0; bits &= bits - 1)
            rows.push_back(static_cast<std::uint32_t>(word * 64 + std::countr_zero(bits)));
    return rows;
}

bool TDataLogModel::Load(const TRecFilter &filter, const std::function<void(qint64, qint64)> &progress)
{
    beginResetModel();
    Clear();
    FLastError.clear();
    bool read = false;
    try {
        if (FFile.Open(filter.FileName)) {
            ResetOrder(MatchingRecords(filter, progress));
            read = true;
        }
    } catch (const ELogFileError &) {
        Clear();
    } catch (const std::bad_alloc &) {
        const qint64 records = FFile.Count();
        Clear();
        FLastError = OutOfMemoryText(records);
    }
    endResetModel();
    return read;
}

void TDataLogModel::ClearGrid()
{
    beginResetModel();
    Clear();
    endResetModel();
}

QString TDataLogModel::RecordCellText(std::uint32_t record, int column) const
{
    return CellText(FFile.Record(record), column);
}

QString TDataLogModel::GridCellText(int row, int column) const
{
    const int prepared = row - FPreparedFrom;
    if (prepared >= 0 && prepared < static_cast<int>(FPrepared.size()) && row < RowNo())
        return column >= 0 && column < kColumnCount ? CellText(FPrepared[prepared], column) : QString();
    return TLogGridModel::GridCellText(row, column);
}

void TDataLogModel::PrepareRows(int from, int to) const
{
    FPrepared.clear();
    from = std::max(from, 0);
    to = std::min(to, RowNo());
    FPreparedFrom = from;
    if (from >= to)
        return;
    // Read the block's records in file order, runs of neighbours at once.
    std::vector<std::pair<std::uint32_t, int>> byRecord;
    byRecord.reserve(static_cast<std::size_t>(to - from));
    for (int row = from; row < to; ++row)
        byRecord.emplace_back(RecordAt(row), row - from);
    std::sort(byRecord.begin(), byRecord.end());
    FPrepared.resize(byRecord.size());
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < byRecord.size();) {
        std::size_t run = 1;
        while (i + run < byRecord.size() && run < TDataFileReader::kBlockRecords
               && byRecord[i + run].first == byRecord[i].first + run)
            ++run;
        bytes.resize(run * TDataRec::kSize);
        FFile.ReadBlock(byRecord[i].first, static_cast<std::uint32_t>(run), bytes.data());
        for (std::size_t k = 0; k < run; ++k)
            FPrepared[static_cast<std::size_t>(byRecord[i + k].second)] = TDataRec::ReadFrom(bytes.data() + k * TDataRec::kSize);
        i += run;
    }
}

template <typename Visit>
void TDataLogModel::ForEachListed(Visit visit) const
{
    // A block with few listed records (one device of many) is read record
    // by record; a busier one in one read.
    constexpr std::uint32_t kBlock = TDataFileReader::kBlockRecords;
    constexpr int kReadWholeFrom = 64;
    std::vector<std::uint8_t> block(std::size_t{kBlock} * TDataRec::kSize);
    const std::uint32_t count = FFile.Count();
    for (std::uint32_t from = 0; from < count; from += kBlock) {
        const std::uint32_t size = std::min(kBlock, count - from);
        int listed = 0;
        for (std::size_t word = from / 64; word < WordsFor(from + size); ++word)
            listed += std::popcount(FListed[word]);
        if (listed == 0)
            continue;
        if (listed >= kReadWholeFrom) {
            FFile.ReadBlock(from, size, block.data());
            for (std::uint32_t i = 0; i < size; ++i)
                if (IsListed(FListed, from + i))
                    visit(from + i, block.data() + std::size_t{i} * TDataRec::kSize);
            continue;
        }
        for (std::uint32_t i = 0; i < size; ++i)
            if (IsListed(FListed, from + i)) {
                FFile.ReadBlock(from + i, 1, block.data());
                visit(from + i, block.data());
            }
    }
}

void TDataLogModel::Sort(int column, std::uint8_t dir)
{
    if (column < 0 || column >= kColumnCount)
        return;
    FLastError.clear();
    FPrepared = {};
    const std::size_t rows = static_cast<std::size_t>(RowNo());
    // Left uninitialised: its pages count only once they are filled, by
    // which time the rows' own pages have gone.
    std::unique_ptr<TSortEntry[]> entries;
    try {
        Allocating(rows * sizeof(TSortEntry));
        entries.reset(new TSortEntry[rows]);
    } catch (const std::bad_alloc &) {
        FLastError = OutOfMemoryText(static_cast<qint64>(rows));
        return;
    }
    const bool descending = dir != 0;
    ChangeOrderInPlace([&](std::vector<std::uint32_t> &order) {
        // The rows are written again from the entries: their pages can go
        // while the entries are filled and sorted.
        DropPages(order.data(), order.size() * sizeof(std::uint32_t));
        std::size_t next = 0;
        ForEachListed([&](std::uint32_t record, const std::uint8_t *bytes) {
            const std::uint64_t key = OrderedKey(SortKey(bytes, column));
            entries[next++] = {descending ? ~key : key, record};
        });
        SortEntries(entries.get(), rows);
        WriteSortedRows(entries.get(), rows, order);
    });
}
