#include "log/TDataRec.h"

#include "model/LittleEndian.h"

#include <algorithm>

static_assert(TDataRec::kMeasurementAt + kMeasurementBlockSize == TDataRec::kSize);

TDataRec TDataRec::FromUpsInfo(TDateTime time, const TUpsInfo &info)
{
    TDataRec rec;
    static_cast<TMeasurement &>(rec) = info;
    rec.Time = time;
    rec.Addr = info.Addr;
    return rec;
}

void TDataRec::WriteTo(std::uint8_t *out) const
{
    std::fill(out, out + kMeasurementAt, std::uint8_t{0});
    PutLE(out, Time);
    out[kAddrAt] = Addr;
    WriteMeasurementBlock(*this, out + kMeasurementAt);
}

TDataRec TDataRec::ReadFrom(const std::uint8_t *in)
{
    TDataRec rec;
    static_cast<TMeasurement &>(rec) = ReadMeasurementBlock(in + kMeasurementAt);
    rec.Time = GetLE<double>(in);
    rec.Addr = in[kAddrAt];
    return rec;
}
