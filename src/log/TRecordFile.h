#pragma once

#include "log/ELogFileError.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

// A flat file of fixed-size records with neither header nor trailer. A
// partial record at the end does not count and is overwritten by the next
// write. The file is opened and closed within each operation.
class TRecordFile {
public:
    TRecordFile(QString path, int recordSize);

    const QString &Path() const { return FPath; }

    // Creates the directory (with its parents) and an empty file when they
    // are missing. Throws ELogFileError when that fails.
    void EnsureExists() const;

    // Whole records in the file; creates it first when missing.
    qint64 Count() const;

    // Writes one record after the last whole record, creating the file when
    // missing. False when opening, positioning, writing or flushing fails.
    bool Append(const std::uint8_t *record) const;

    // Empties the file. Throws ELogFileError when that fails.
    void Truncate() const;

    // Every whole record of the file at `path`, decoded in one pass; a
    // missing file has none. Throws ELogFileError when it cannot be read.
    template <typename Rec>
    static std::vector<Rec> ReadAll(const QString &path);

    // Decodes the whole records of the file at `path` one by one in file
    // order, handing each to `visit`, so that a caller keeping only some of
    // them never holds the whole file. `progress(done, total)` hears after
    // every chunk. False when the file does not exist; throws ELogFileError
    // when it exists but cannot be read.
    template <typename Rec, typename Visit, typename Progress>
    static bool ForEachRecord(const QString &path, Visit visit, Progress progress);

private:
    QString FPath;
    int FRecordSize;
};

template <typename Rec>
std::vector<Rec> TRecordFile::ReadAll(const QString &path)
{
    std::vector<Rec> records;
    ForEachRecord<Rec>(
        path, [&records](const Rec &rec) { records.push_back(rec); },
        [&records](qint64, qint64 total) { records.reserve(static_cast<std::size_t>(total)); });
    return records;
}

template <typename Rec, typename Visit, typename Progress>
bool TRecordFile::ForEachRecord(const QString &path, Visit visit, Progress progress)
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly))
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    const qint64 total = file.size() / Rec::kSize;
    progress(0, total);
    // Read in chunks so that a large month file is not held twice in memory.
    constexpr qint64 kMaxChunkRecords = 8192;
    const qint64 chunkRecords = std::clamp<qint64>(total, 1, kMaxChunkRecords);
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(chunkRecords * Rec::kSize));
    qint64 done = 0;
    while (done < total) {
        const qint64 want = std::min(total - done, chunkRecords);
        const qint64 got = file.read(reinterpret_cast<char *>(chunk.data()), want * Rec::kSize);
        if (got < 0)
            throw ELogFileError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
        const qint64 whole = got / Rec::kSize;
        for (qint64 i = 0; i < whole; ++i)
            visit(Rec::ReadFrom(chunk.data() + i * Rec::kSize));
        done += whole;
        progress(done, total);
        if (got < want * Rec::kSize)
            break; // the file shrank under us: keep what was whole
    }
    return true;
}
