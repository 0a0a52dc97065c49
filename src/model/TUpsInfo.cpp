#include "model/TUpsInfo.h"

#include "model/LittleEndian.h"

namespace {

// Offsets inside the measurement block.
constexpr int kInputVoltAt = 0;
constexpr int kOutputVoltAt = 24;
constexpr int kLoadPercentAt = 48;
constexpr int kOutputFreqAt = 72;
constexpr int kDcVoltAt = 80;
constexpr int kBattCapacityAt = 88;
constexpr int kBattBackupTimeAt = 92;
constexpr int kUnusedAt = 94;
constexpr int kChargeCurrentAt = 96;
constexpr int kDischargeCurrentAt = 104;
static_assert(kDischargeCurrentAt + 8 == kMeasurementBlockSize);

} // namespace

void WriteMeasurementBlock(const TMeasurement &values, std::uint8_t *out)
{
    for (int phase = 0; phase < 3; ++phase) {
        PutLE(out + kInputVoltAt + 8 * phase, values.InputVolt[phase]);
        PutLE(out + kOutputVoltAt + 8 * phase, values.OutputVolt[phase]);
        PutLE(out + kLoadPercentAt + 8 * phase, values.LoadPercent[phase]);
    }
    PutLE(out + kOutputFreqAt, values.OutputFreq);
    PutLE(out + kDcVoltAt, values.DcVolt);
    PutLE(out + kBattCapacityAt, values.BattCapacity);
    PutLE(out + kBattBackupTimeAt, values.BattBackupTime);
    PutLE(out + kUnusedAt, std::uint16_t{0});
    PutLE(out + kChargeCurrentAt, values.ChargeCurrent);
    PutLE(out + kDischargeCurrentAt, values.DischargeCurrent);
}

TMeasurement ReadMeasurementBlock(const std::uint8_t *in)
{
    TMeasurement values;
    for (int phase = 0; phase < 3; ++phase) {
        values.InputVolt[phase] = GetLE<double>(in + kInputVoltAt + 8 * phase);
        values.OutputVolt[phase] = GetLE<double>(in + kOutputVoltAt + 8 * phase);
        values.LoadPercent[phase] = GetLE<double>(in + kLoadPercentAt + 8 * phase);
    }
    values.OutputFreq = GetLE<double>(in + kOutputFreqAt);
    values.DcVolt = GetLE<double>(in + kDcVoltAt);
    values.BattCapacity = GetLE<std::int32_t>(in + kBattCapacityAt);
    values.BattBackupTime = GetLE<std::int16_t>(in + kBattBackupTimeAt);
    values.ChargeCurrent = GetLE<double>(in + kChargeCurrentAt);
    values.DischargeCurrent = GetLE<double>(in + kDischargeCurrentAt);
    return values;
}

void WriteStatusBlock(const TStatusWords &words, std::uint8_t *out)
{
    const std::uint16_t inOrder[] = {words.CmmState1, words.CmmState2, words.CmmAlarm1, words.CmmAlarm2,
                                     words.InvState1, words.InvState2, words.InvAlarm1, words.InvAlarm2,
                                     words.SysState, words.SysAlarm};
    for (int i = 0; i < 10; ++i)
        PutLE(out + 2 * i, inOrder[i]);
    out[20] = words.UpsStateCode;
    for (std::size_t i = 0; i < words.StatusReserved.size(); ++i)
        out[21 + i] = words.StatusReserved[i];
}
