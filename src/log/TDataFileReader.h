#pragma once

#include "log/TDataRec.h"

#include <QFile>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// A month file of the data log held open read-only while a viewer shows it.
// It stands for the whole records the file had when it was opened: records
// the engine appends later are not seen, and records the file has lost
// since (it was cut or replaced under us) read as zeros. Records
// are read by number, a block at a time, or one at a time through a small
// cache for the rows on screen.
class TDataFileReader {
public:
    // Records read at a time by the block reads.
    static constexpr std::uint32_t kBlockRecords = 8192;

    // False when there is no such file. Throws ELogFileError when it exists
    // but cannot be opened.
    bool Open(const QString &path);
    void Close();
    bool IsOpen() const { return FFile.isOpen(); }

    std::uint32_t Count() const { return FCount; }

    // Reads records [first, first + count) into `out` (count * 128 bytes).
    // Bytes past the end of the file as it is now are zero.
    void ReadBlock(std::uint32_t first, std::uint32_t count, std::uint8_t *out) const;

    // Record `number` decoded; it stays cached until another record of its
    // cache slot is read.
    const TDataRec &Record(std::uint32_t number) const;

    // Calls visit(number, bytes) for every record of [first, end) in file
    // order, reading kBlockRecords at a time; `progress(done)` hears, in
    // records, after each block, and returns false to stop. False when it
    // was stopped.
    template <typename Visit, typename Progress>
    bool Scan(std::uint32_t first, std::uint32_t end, Visit visit, Progress progress) const;

private:
    struct TCacheSlot {
        std::uint32_t Number = 0;
        bool Valid = false;
        TDataRec Rec;
    };
    static constexpr std::size_t kCacheSlots = 256;

    mutable QFile FFile;
    std::uint32_t FCount = 0;
    mutable std::array<TCacheSlot, kCacheSlots> FCache{};
};

template <typename Visit, typename Progress>
bool TDataFileReader::Scan(std::uint32_t first, std::uint32_t end, Visit visit, Progress progress) const
{
    std::vector<std::uint8_t> block(std::size_t{kBlockRecords} * TDataRec::kSize);
    for (std::uint32_t from = first; from < end;) {
        const std::uint32_t count = std::min(kBlockRecords, end - from);
        ReadBlock(from, count, block.data());
        for (std::uint32_t i = 0; i < count; ++i)
            visit(from + i, block.data() + std::size_t{i} * TDataRec::kSize);
        from += count;
        if (!progress(from - first))
            return false;
    }
    return true;
}
