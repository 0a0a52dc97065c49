#include "log/TDataFileReader.h"

#include "log/ELogFileError.h"

#include <algorithm>
#include <cstring>
#include <limits>

bool TDataFileReader::Open(const QString &path)
{
    Close();
    FFile.setFileName(path);
    if (!FFile.exists())
        return false;
    // Unbuffered: every read is one positioned read of exactly the bytes
    // asked for, with no copy of a neighbouring block kept beside the cache.
    if (!FFile.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw ELogFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, FFile.errorString()));
    const qint64 whole = FFile.size() / TDataRec::kSize;
    FCount = static_cast<std::uint32_t>(std::min<qint64>(whole, std::numeric_limits<std::uint32_t>::max()));
    return true;
}

void TDataFileReader::Close()
{
    FFile.close();
    FCount = 0;
    for (TCacheSlot &slot : FCache)
        slot.Valid = false;
}

void TDataFileReader::ReadBlock(std::uint32_t first, std::uint32_t count, std::uint8_t *out) const
{
    const qint64 want = qint64{count} * TDataRec::kSize;
    qint64 got = 0;
    if (FFile.isOpen() && FFile.seek(qint64{first} * TDataRec::kSize)) {
        while (got < want) {
            const qint64 n = FFile.read(reinterpret_cast<char *>(out) + got, want - got);
            if (n <= 0)
                break;
            got += n;
        }
    }
    std::memset(out + got, 0, static_cast<std::size_t>(want - got));
}

const TDataRec &TDataFileReader::Record(std::uint32_t number) const
{
    TCacheSlot &slot = FCache[number % kCacheSlots];
    if (!slot.Valid || slot.Number != number) {
        std::uint8_t bytes[TDataRec::kSize];
        ReadBlock(number, 1, bytes);
        slot.Rec = TDataRec::ReadFrom(bytes);
        slot.Number = number;
        slot.Valid = true;
    }
    return slot.Rec;
}
