#include "log/TEventRec.h"

#include "model/LittleEndian.h"

#include <algorithm>

void TEventRec::WriteTo(std::uint8_t *out) const
{
    std::fill(out, out + kSize, std::uint8_t{0});
    PutLE(out, Time);
    out[8] = Addr;
    out[9] = Kind;
    PutLE(out + 12, Code);
    out[16] = Flag;
    std::copy(StatusWords.begin(), StatusWords.end(), out + 18);
}

TEventRec TEventRec::ReadFrom(const std::uint8_t *in)
{
    TEventRec rec;
    rec.Time = GetLE<double>(in);
    rec.Addr = in[8];
    rec.Kind = in[9];
    rec.Code = GetLE<std::int32_t>(in + 12);
    rec.Flag = in[16];
    std::copy(in + 18, in + 18 + rec.StatusWords.size(), rec.StatusWords.begin());
    return rec;
}
