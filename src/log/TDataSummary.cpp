#include "log/TDataSummary.h"

#include "log/CommitSaveFile.h"
#include "log/ELogFileError.h"
#include "log/TDataFileReader.h"
#include "model/LittleEndian.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'O', 'r', 'v', 'a', 'n', 'S', 'u', 'm'};
constexpr std::uint32_t kVersion = 1;
constexpr int kAddresses = 256;
constexpr int kHeaderChecksumAt = 28;

// The header as it is on disk; Block[addr] is the device block of the
// address plus one, 0 for an address without records.
struct THeader {
    quint16 Year = 0;
    quint16 Month = 0;
    std::uint32_t Devices = 0;
    std::uint64_t Covered = 0;
    std::array<std::uint8_t, kAddresses> Block{};

    void WriteTo(std::uint8_t *out) const
    {
        std::memset(out, 0, TDataSummary::kHeaderSize);
        std::memcpy(out, kMagic, sizeof kMagic);
        PutLE(out + 8, kVersion);
        PutLE(out + 12, std::uint32_t{TSummaryBucket::kSize});
        PutLE(out + 16, std::uint32_t{TDataSummary::kHoursPerBlock});
        PutLE(out + 20, Year);
        PutLE(out + 22, Month);
        PutLE(out + 24, Devices);
        PutLE(out + 32, Covered);
        std::memcpy(out + 40, Block.data(), Block.size());
        PutLE(out + kHeaderChecksumAt, SummaryChecksum(out, TDataSummary::kHeaderSize, kHeaderChecksumAt));
    }

    // False for anything but a header of this version for the month whose
    // device blocks number as many as the file holds.
    bool ReadFrom(const std::uint8_t *in, int year, int month, qint64 fileSize)
    {
        if (std::memcmp(in, kMagic, sizeof kMagic) != 0 || GetLE<std::uint32_t>(in + 8) != kVersion
            || GetLE<std::uint32_t>(in + 12) != TSummaryBucket::kSize
            || GetLE<std::uint32_t>(in + 16) != TDataSummary::kHoursPerBlock
            || GetLE<std::uint32_t>(in + kHeaderChecksumAt)
                != SummaryChecksum(in, TDataSummary::kHeaderSize, kHeaderChecksumAt))
            return false;
        Year = GetLE<quint16>(in + 20);
        Month = GetLE<quint16>(in + 22);
        Devices = GetLE<std::uint32_t>(in + 24);
        Covered = GetLE<std::uint64_t>(in + 32);
        std::memcpy(Block.data(), in + 40, Block.size());
        if (Year != year || Month != month || Devices > kAddresses
            || fileSize != TDataSummary::kHeaderSize + qint64{Devices} * TDataSummary::kBlockSize)
            return false;
        // Every block belongs to exactly one address.
        std::array<bool, kAddresses + 1> used{};
        for (std::uint8_t block : Block) {
            if (block == 0)
                continue;
            if (block > Devices || used[block])
                return false;
            used[block] = true;
        }
        return std::count(used.begin(), used.end(), true) == static_cast<std::ptrdiff_t>(Devices);
    }
};

qint64 BlockOffset(std::uint8_t block)
{
    return TDataSummary::kHeaderSize + qint64{block - 1} * TDataSummary::kBlockSize;
}

qint64 BucketOffset(std::uint8_t block, int hour)
{
    return BlockOffset(block) + qint64{hour} * TSummaryBucket::kSize;
}

bool ReadExactly(QFile &file, qint64 at, std::uint8_t *out, qint64 size)
{
    return file.seek(at) && file.read(reinterpret_cast<char *>(out), size) == size;
}

bool WriteExactly(QFile &file, qint64 at, const std::uint8_t *data, qint64 size)
{
    return file.seek(at) && file.write(reinterpret_cast<const char *>(data), size) == size;
}

qint64 RecordsNow(const QString &monthPath)
{
    return QFileInfo(monthPath).size() / TDataRec::kSize;
}

// The buckets of every device while a summary is rebuilt.
struct TBlocks {
    THeader Header;
    std::vector<std::vector<TSummaryBucket>> Devices;

    void Add(const TDataRec &rec, std::uint32_t recordNumber, int hour)
    {
        std::uint8_t &block = Header.Block[rec.Addr];
        if (block == 0) {
            Devices.emplace_back(TDataSummary::kHoursPerBlock);
            block = static_cast<std::uint8_t>(Devices.size());
        }
        Devices[block - 1u][static_cast<std::size_t>(hour)].Add(rec, recordNumber);
    }
};

// Hands every record of [from, to) of the month file that falls in the
// month to visit(rec, number, hour), a block at a time; false when
// `progress` stopped it.
template <typename Visit>
bool ScanMonth(const TDataFileReader &reader, std::uint32_t from, std::uint32_t to, int year, int month, Visit visit,
               const TDataSummary::TProgress &progress)
{
    std::vector<std::uint8_t> chunk(std::size_t{TDataFileReader::kBlockRecords} * TDataRec::kSize);
    for (std::uint32_t first = from; first < to;) {
        const std::uint32_t count = std::min(TDataFileReader::kBlockRecords, to - first);
        reader.ReadBlock(first, count, chunk.data());
        for (std::uint32_t i = 0; i < count; ++i) {
            const TDataRec rec = TDataRec::ReadFrom(chunk.data() + std::size_t{i} * TDataRec::kSize);
            const int hour = TDataSummary::HourOfMonth(rec.Time, year, month);
            if (hour >= 0)
                visit(rec, first + i, hour);
        }
        first += count;
        if (progress && !progress(first - from, to - from))
            return false;
    }
    return true;
}

} // namespace

TDataSummary::TDataSummary(QString monthFilePath)
    : FMonthPath(std::move(monthFilePath)), FSummaryPath(SummaryPathFor(FMonthPath))
{
    static const QRegularExpression kName(QStringLiteral("^DataLog(\\d{4})_(\\d{2})\\.dat$"));
    const QRegularExpressionMatch match = kName.match(QFileInfo(FMonthPath).fileName());
    if (match.hasMatch()) {
        FYear = match.captured(1).toInt();
        FMonth = match.captured(2).toInt();
        if (FMonth < 1 || FMonth > 12)
            FYear = FMonth = 0;
    }
}

QString TDataSummary::SummaryPathFor(const QString &monthFilePath)
{
    QString path = monthFilePath;
    if (path.endsWith(QStringLiteral(".dat")))
        path.chop(4);
    return path + QStringLiteral(".sum");
}

int TDataSummary::HourOfMonth(TDateTime time, int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid() || !std::isfinite(time))
        return -1;
    const double days = time - EncodeDateTime(first, QTime(0, 0));
    if (days < -1 || days > 32)
        return -1;
    const qint64 seconds = std::llround(days * 86400);
    if (seconds < 0 || seconds >= qint64{first.daysInMonth()} * 86400)
        return -1;
    return static_cast<int>(seconds / 3600);
}

TDateTime TDataSummary::HourStart(int year, int month, int hour)
{
    return EncodeDateTime(QDate(year, month, 1), QTime(0, 0)) + hour / 24.0;
}

TDataSummary::TState TDataSummary::State() const
{
    const QFileInfo month(FMonthPath);
    if (FYear == 0 || !month.isFile())
        return TState::NoMonth;
    QFile file(FSummaryPath);
    if (!file.exists())
        return TState::Missing;
    std::uint8_t bytes[kHeaderSize];
    THeader header;
    if (!file.open(QIODevice::ReadOnly) || !ReadExactly(file, 0, bytes, kHeaderSize)
        || !header.ReadFrom(bytes, FYear, FMonth, file.size()))
        return TState::Damaged;
    if (header.Covered != static_cast<std::uint64_t>(month.size() / TDataRec::kSize)
        || QFileInfo(FSummaryPath).lastModified() < month.lastModified())
        return TState::Behind;
    return TState::Current;
}

bool TDataSummary::MakeCurrent(const TProgress &progress) const
{
    return State() == TState::Current || Rebuild(progress);
}

bool TDataSummary::Rebuild(const TProgress &progress) const
{
    TDataFileReader reader;
    if (FYear == 0 || !reader.Open(FMonthPath))
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\". No such month file.").arg(FMonthPath));
    TBlocks blocks;
    blocks.Header.Year = static_cast<quint16>(FYear);
    blocks.Header.Month = static_cast<quint16>(FMonth);
    auto add = [&blocks](const TDataRec &rec, std::uint32_t number, int hour) { blocks.Add(rec, number, hour); };
    std::uint32_t covered = reader.Count();
    if (!ScanMonth(reader, 0, covered, FYear, FMonth, add, progress))
        return false;
    // The engine may have appended while we read (the progress lets its
    // timer run); take those records in too, with nothing in between that
    // would let it append again before the summary is in place.
    while (RecordsNow(FMonthPath) > covered) {
        reader.Open(FMonthPath);
        const std::uint32_t now = reader.Count();
        ScanMonth(reader, covered, now, FYear, FMonth, add, {});
        covered = now;
    }
    blocks.Header.Devices = static_cast<std::uint32_t>(blocks.Devices.size());
    blocks.Header.Covered = covered;

    QSaveFile file(FSummaryPath);
    if (!file.open(QIODevice::WriteOnly))
        throw ELogFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(FSummaryPath, file.errorString()));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kBlockSize));
    blocks.Header.WriteTo(bytes.data());
    bool written = file.write(reinterpret_cast<const char *>(bytes.data()), kHeaderSize) == kHeaderSize;
    for (const std::vector<TSummaryBucket> &device : blocks.Devices) {
        for (std::size_t hour = 0; hour < device.size(); ++hour)
            device[hour].WriteTo(bytes.data() + hour * TSummaryBucket::kSize);
        written = written && file.write(reinterpret_cast<const char *>(bytes.data()), kBlockSize) == kBlockSize;
    }
    if (!written || !CommitSaveFile(file)) {
        file.cancelWriting();
        throw ELogFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(FSummaryPath, file.errorString()));
    }
    // A month file stamped ahead of the clock (the clock was set back)
    // would make every summary look older than it: stamp this one no
    // earlier than its month file.
    const QDateTime monthTime = QFileInfo(FMonthPath).lastModified();
    if (QFileInfo(FSummaryPath).lastModified() < monthTime) {
        QFile written(FSummaryPath);
        if (written.open(QIODevice::ReadWrite))
            written.setFileTime(monthTime, QFileDevice::FileModificationTime);
    }
    return true;
}

bool TDataSummary::Add(const TDataRec &rec, std::uint32_t recordNumber) const
{
    if (FYear == 0)
        return false;
    QFile file(FSummaryPath);
    THeader header;
    std::uint8_t bytes[kHeaderSize];
    if (recordNumber == 0) {
        // A new month file: whatever summary lay there was of another.
        if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
            return false;
        header.Year = static_cast<quint16>(FYear);
        header.Month = static_cast<quint16>(FMonth);
    } else if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered) || !ReadExactly(file, 0, bytes, kHeaderSize)
               || !header.ReadFrom(bytes, FYear, FMonth, file.size()) || header.Covered != recordNumber) {
        return false;
    }

    const int hour = HourOfMonth(rec.Time, FYear, FMonth);
    if (hour >= 0) {
        std::uint8_t &block = header.Block[rec.Addr];
        if (block == 0) {
            // A new device: its block is added as zeros, which read as empty buckets.
            if (!file.resize(kHeaderSize + qint64{header.Devices + 1} * kBlockSize))
                return false;
            block = static_cast<std::uint8_t>(++header.Devices);
        }
        std::uint8_t bucketBytes[TSummaryBucket::kSize];
        if (!ReadExactly(file, BucketOffset(block, hour), bucketBytes, TSummaryBucket::kSize)
            || !TSummaryBucket::Intact(bucketBytes))
            return false;
        TSummaryBucket bucket = TSummaryBucket::ReadFrom(bucketBytes);
        bucket.Add(rec, recordNumber);
        bucket.WriteTo(bucketBytes);
        if (!WriteExactly(file, BucketOffset(block, hour), bucketBytes, TSummaryBucket::kSize))
            return false;
    }
    // The header last: until it says so, the summary does not cover the
    // record, and a torn bucket above is never read.
    header.Covered = recordNumber + 1u;
    header.WriteTo(bytes);
    return WriteExactly(file, 0, bytes, kHeaderSize);
}

std::optional<std::vector<TSummaryBucket>> TDataSummary::DeviceBuckets(std::uint8_t addr) const
{
    if (State() != TState::Current)
        return std::nullopt;
    QFile file(FSummaryPath);
    std::uint8_t headerBytes[kHeaderSize];
    THeader header;
    if (!file.open(QIODevice::ReadOnly) || !ReadExactly(file, 0, headerBytes, kHeaderSize)
        || !header.ReadFrom(headerBytes, FYear, FMonth, file.size()))
        return std::nullopt;
    std::vector<TSummaryBucket> buckets(kHoursPerBlock);
    const std::uint8_t block = header.Block[addr];
    if (block == 0)
        return buckets;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kBlockSize));
    if (!ReadExactly(file, BlockOffset(block), bytes.data(), kBlockSize))
        return std::nullopt;
    for (int hour = 0; hour < kHoursPerBlock; ++hour) {
        const std::uint8_t *in = bytes.data() + std::size_t(hour) * TSummaryBucket::kSize;
        TSummaryBucket &bucket = buckets[static_cast<std::size_t>(hour)];
        bucket = TSummaryBucket::ReadFrom(in);
        if (!TSummaryBucket::Intact(in) || !bucket.Plausible(header.Covered))
            return std::nullopt;
    }
    return buckets;
}

std::optional<std::vector<TSummaryBucket>> TDataSummary::ScanDevice(std::uint8_t addr, const TProgress &progress) const
{
    TDataFileReader reader;
    if (FYear == 0 || !reader.Open(FMonthPath))
        return std::vector<TSummaryBucket>(kHoursPerBlock);
    std::vector<TSummaryBucket> buckets(kHoursPerBlock);
    const bool read = ScanMonth(
        reader, 0, reader.Count(), FYear, FMonth,
        [&](const TDataRec &rec, std::uint32_t number, int hour) {
            if (rec.Addr == addr)
                buckets[static_cast<std::size_t>(hour)].Add(rec, number);
        },
        progress);
    if (!read)
        return std::nullopt;
    return buckets;
}
