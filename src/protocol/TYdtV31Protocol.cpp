#include "protocol/TYdtV31Protocol.h"

#include "model/TUpsInfo.h"
#include "model/UpsInfoRules.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

constexpr std::uint8_t kVoltages = 1;
constexpr std::uint8_t kStatus = 2;
constexpr std::uint8_t kAlarms = 3;
constexpr std::uint8_t kLoadsAndCurrents = 4;
constexpr std::uint8_t kBattery = 5;

template <typename TField, typename TValue>
void Store(TField &field, const std::optional<TValue> &value)
{
    if (value)
        field = static_cast<TField>(*value);
}

void StoreHundredths(double &field, const std::optional<std::uint16_t> &value)
{
    if (value)
        field = *value / 100.0;
}

void DecodeVoltages(const TAsciiFrame &reply, TUpsInfo &rec)
{
    for (int phase = 0; phase < 3; ++phase) {
        StoreHundredths(rec.InputVolt[phase], reply.Word(15 + 4 * phase));
        StoreHundredths(rec.OutputVolt[phase], reply.Word(27 + 4 * phase));
    }
    StoreHundredths(rec.DcVolt, reply.Word(51));
    StoreHundredths(rec.OutputFreq, reply.Word(55));
}

void DecodeStatus(const TAsciiFrame &reply, TUpsInfo &rec)
{
    Store(rec.UpsStateCode, reply.Byte(19));
    Store(rec.CmmState1, reply.StatusWord(21));
    Store(rec.InvState1, reply.StatusWord(25));
    Store(rec.InvState2, reply.StatusWord(29));
    Store(rec.SysState, reply.Byte(33));
    // The alarm words are those of the last alarm reply.
    rec.State = DeriveState(rec);
    DecodeSwitches(rec);
    // The state depends on the alarm words too, which come in a reply of
    // their own: it counts once those have been read as well.
    rec.StateRead = rec.AlarmsRead;
}

void DecodeAlarms(const TAsciiFrame &reply, TUpsInfo &rec)
{
    Store(rec.CmmAlarm1, reply.StatusWord(33));
    Store(rec.CmmAlarm2, reply.StatusWord(37));
    Store(rec.InvAlarm1, reply.StatusWord(41));
    Store(rec.InvAlarm2, reply.StatusWord(45));
    Store(rec.SysAlarm, reply.Byte(49));
    BuildAlarmList(rec);
    rec.AlarmsRead = true;
}

void DecodeLoadsAndCurrents(const TAsciiFrame &reply, TUpsInfo &rec)
{
    for (int phase = 0; phase < 3; ++phase)
        Store(rec.LoadPercent[phase], reply.Word(95 + 4 * phase));
    StoreHundredths(rec.PosChargeCurrent, reply.Word(143));
    StoreHundredths(rec.NegChargeCurrent, reply.Word(147));
    StoreHundredths(rec.PosDischargeCurrent, reply.Word(151));
    StoreHundredths(rec.NegDischargeCurrent, reply.Word(155));
    rec.ChargeCurrent = rec.PosChargeCurrent + rec.NegChargeCurrent;
    rec.DischargeCurrent = rec.PosDischargeCurrent + rec.NegDischargeCurrent;
}

void DecodeBattery(const TAsciiFrame &reply, TUpsInfo &rec)
{
    // The field holds minutes in 16 bits; a time beyond what the record's
    // signed field holds is shown as its largest, never as a negative time.
    if (const auto minutes = reply.Word(35))
        rec.BattBackupTime = static_cast<std::int16_t>(std::min<int>(*minutes, INT16_MAX));
    Store(rec.BattCapacity, reply.Word(39));
}

} // namespace

TYdtV31Protocol::TYdtV31Protocol(const TBusContext &context)
    : TAsciiProtocol(context, kVersion, {0x42, 0x43, 0x44, 0x80, 0x82})
{
}

bool TYdtV31Protocol::DecodeKind(std::uint8_t kind, const TAsciiFrame &reply, TUpsInfo &rec)
{
    // A field beyond a short INFO keeps its value; the reply still counts.
    switch (kind) {
    case kVoltages: DecodeVoltages(reply, rec); break;
    case kStatus: DecodeStatus(reply, rec); break;
    case kAlarms: DecodeAlarms(reply, rec); break;
    case kLoadsAndCurrents: DecodeLoadsAndCurrents(reply, rec); break;
    case kBattery: DecodeBattery(reply, rec); break;
    default: break;
    }
    return true;
}
