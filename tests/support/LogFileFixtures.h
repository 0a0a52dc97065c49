#pragma once

#include "log/TDataRec.h"
#include "log/TEventRec.h"

#include <QDate>
#include <QFile>
#include <QString>
#include <QTime>

#include <vector>

// Log files written straight from records, for tests that read them back.
inline TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return EncodeDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

template <typename Rec>
void WriteRecordFile(const QString &path, const std::vector<Rec> &records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    std::uint8_t bytes[Rec::kSize];
    for (const Rec &rec : records) {
        rec.WriteTo(bytes);
        file.write(reinterpret_cast<const char *>(bytes), Rec::kSize);
    }
}

inline TEventRec Event(TDateTime time, std::uint8_t addr, std::uint8_t kind, std::int32_t code,
                       std::uint8_t flag = kFlagNone)
{
    TEventRec rec;
    rec.Time = time;
    rec.Addr = addr;
    rec.Kind = kind;
    rec.Code = code;
    rec.Flag = flag;
    return rec;
}

// A sample whose values tell it apart: input voltage A is `inputVoltA`.
inline TDataRec Sample(TDateTime time, std::uint8_t addr, double inputVoltA = 220.0)
{
    TDataRec rec;
    rec.Time = time;
    rec.Addr = addr;
    rec.InputVolt[0] = inputVoltA;
    rec.InputVolt[1] = 221.04;
    rec.InputVolt[2] = 219.96;
    rec.OutputVolt[0] = 230.46;
    rec.OutputVolt[1] = 50;
    rec.OutputVolt[2] = 12345.67;
    rec.LoadPercent[0] = 87.6;
    rec.LoadPercent[1] = 0;
    rec.LoadPercent[2] = 12345;
    rec.OutputFreq = 49.96;
    rec.DcVolt = 100000;
    rec.BattCapacity = 95;
    rec.BattBackupTime = 40;
    return rec;
}
