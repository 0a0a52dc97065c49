#include "model/UpsInfoRules.h"

#include "log/TEventLog.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int32_t kMaxNoReplyCnt = 100;
constexpr std::int32_t kLostAfter = 10;
constexpr std::int32_t kErrorAfter = 3;
constexpr std::int32_t kMaxTxCnt = 10000;
constexpr std::int32_t kTxCntRestart = 100;
constexpr std::int32_t kMaxRxCnt = 10000;
constexpr int kAlarmEntriesCleared = 65;

bool IsSet(std::uint16_t word, std::uint16_t mask)
{
    return (word & mask) != 0;
}

std::uint8_t Bit(std::uint16_t word, int bit)
{
    return static_cast<std::uint8_t>((word >> bit) & 1);
}

// The state when the inverter is neither in bypass nor faulted: the
// inverter's on/starting bits (N) and, for a running inverter, the
// rectifier's supply bits.
std::int32_t InverterRunState(const TStatusWords &w)
{
    const std::uint16_t m = w.InvState1 & 0x0180;
    const std::uint16_t n = w.InvState1 & 0x0600;
    if (m == 0x0080)
        return IsSet(w.InvState2, 0x0800) && IsSet(w.InvState1, 0x0400) ? kStateEco : kStateBypass;
    if (n == 0x0000)
        return kStateStandby;
    if (n == 0x0200)
        return kStateSoftStart;
    if (m == 0) // n is 0x0400 or 0x0600
        return kStateNonOutput;
    if (n == 0x0400)
        return kStateStandby;
    if (!IsSet(w.CmmState1, 0x4000))
        return kStateNonOutput;
    if (IsSet(w.CmmState1, 0x0400))
        return kStateOnline;
    if (IsSet(w.CmmState1, 0x0200))
        return kStateBattSelfTest;
    return kStateBattery;
}

// Appends a code for every set bit of `word` from bit 15 down to `lowestBit`;
// bit b gives `topCode` - b.
void AppendAlarmBits(TUpsInfo &info, std::uint16_t word, int lowestBit, int topCode)
{
    for (int bit = 15; bit >= lowestBit; --bit)
        if (Bit(word, bit))
            info.AlarmList[info.AlarmCount++] = topCode - bit;
}

bool Contains(const std::array<std::int32_t, kAlarmListSize> &list, int count, std::int32_t code)
{
    return std::find(list.begin(), list.begin() + count, code) != list.begin() + count;
}

// A count as stored, bounded by the list so that a bad count cannot reach
// past its end.
int ValidCount(std::uint8_t count)
{
    return std::min<int>(count, kAlarmListSize);
}

void LogAlarm(TEventLog &log, const TUpsInfo &info, std::int32_t code, std::uint8_t flag)
{
    TEventRec rec;
    rec.Time = log.Now();
    rec.Addr = info.Addr;
    rec.Kind = kEventKindAlarm;
    rec.Code = code;
    rec.Flag = flag;
    log.AppendEvent(rec);
}

} // namespace

std::int32_t DeriveState(const TStatusWords &w)
{
    if (IsSet(w.CmmState1, 0x2000) || IsSet(w.InvState1, 0x0008))
        return kStateEpo;
    if (w.CmmAlarm1 != 0 || IsSet(w.CmmAlarm2, 0x8000) || IsSet(w.InvAlarm1, 0xFC8C))
        return kStateFault;
    if (IsSet(w.InvState1, 0x2000))
        return kStateMaintBypass;
    return InverterRunState(w);
}

void DecodeSwitches(TUpsInfo &info)
{
    info.InputSwitch = Bit(info.CmmState1, 15);
    info.BypassSwitch = Bit(info.InvState1, 15);
    info.OutputSwitch = Bit(info.InvState1, 14);
    info.MaintBypassSwitch = Bit(info.InvState1, 13);
    if (!IsSet(info.CmmState1, 0x0800))
        info.InputSupply = 0;
    else
        info.InputSupply = IsSet(info.CmmState1, 0x0400) ? 1 : 2;
    if (IsSet(info.InvState1, 0x0100))
        info.UpsSupply = 1;
    else
        info.UpsSupply = IsSet(info.InvState1, 0x0080) ? 2 : 0;
}

void BuildAlarmList(TUpsInfo &info)
{
    info.AlarmCount = 0;
    AppendAlarmBits(info, info.CmmAlarm1, 0, 15);
    AppendAlarmBits(info, info.CmmAlarm2, 6, 31);
    AppendAlarmBits(info, info.InvAlarm1, 0, 47);
    AppendAlarmBits(info, info.InvAlarm2, 7, 63);
    AppendAlarmBits(info, info.SysAlarm, 8, 79);
}

void ForgetWordsRead(TUpsInfo &info)
{
    info.AlarmsRead = false;
    info.StateRead = false;
}

void CountTransmission(TUpsInfo &info, TEventLog &log)
{
    if (info.NoReplyCnt < kMaxNoReplyCnt)
        ++info.NoReplyCnt;
    if (info.NoReplyCnt >= kLostAfter) {
        if (info.LinkState != kLinkLost) {
            info.LinkState = kLinkLost;
            ForgetWordsRead(info);
            log.LogDeviceEvent(3, info);
        }
    } else if (info.NoReplyCnt > kErrorAfter && info.LinkState == kLinkOnline) {
        info.LinkState = kLinkError;
    }

    if (info.TxCnt < kMaxTxCnt) {
        // Halves round to even, as the default floating-point rounding does.
        info.OkRate = info.TxCnt == 0
            ? 0
            : static_cast<std::int32_t>(std::nearbyint(100.0 * info.OkCnt / info.TxCnt));
        ++info.TxCnt;
    } else {
        // Restart from a base of 100 so the rate carries on where it was.
        info.TxCnt = kTxCntRestart;
        info.OkCnt = info.OkRate;
    }
}

void NoteValidReply(TUpsInfo &info, TEventLog &log)
{
    info.NoReplyCnt = 0;
    ++info.OkCnt;
    if (info.Addr == 0)
        return;
    if (info.LinkState == kLinkLost)
        log.LogDeviceEvent(2, info);
    info.LinkState = kLinkOnline;
}

void CountReceive(TUpsInfo &info)
{
    if (info.RxCnt < kMaxRxCnt)
        ++info.RxCnt;
}

void CheckStateChange(TUpsInfo &info, TEventLog &log)
{
    // The unknown state is no state to report, and a state derived from
    // words not read yet would be logged only to be corrected a reply later.
    if (info.Addr == 0 || !info.StateRead || info.State == kStateUnknown || info.State == info.PrevState)
        return;
    info.PrevState = info.State;
    log.LogDeviceEvent(6, info);
}

void CompareAlarms(TUpsInfo &info, TEventLog &log)
{
    // An alarm is logged as cleared only when a reply showed it cleared, not
    // because the list was emptied while the link was down.
    if (info.Addr == 0 || !info.AlarmsRead)
        return;
    const int count = ValidCount(info.AlarmCount);
    const int prevCount = ValidCount(info.PrevAlarmCount);
    for (int i = 0; i < count; ++i)
        if (!Contains(info.PrevAlarmList, prevCount, info.AlarmList[i]))
            LogAlarm(log, info, info.AlarmList[i], kAlarmOccurred);
    for (int i = 0; i < prevCount; ++i)
        if (!Contains(info.AlarmList, count, info.PrevAlarmList[i]))
            LogAlarm(log, info, info.PrevAlarmList[i], kAlarmCleared);
    info.PrevAlarmList = info.AlarmList;
    info.PrevAlarmCount = static_cast<std::uint8_t>(count);
}

void ClearUpsInfo(TUpsInfo &info)
{
    info.State = kStateUnknown;

    const double charge = info.ChargeCurrent;
    const double discharge = info.DischargeCurrent;
    static_cast<TMeasurement &>(info) = TMeasurement{};
    info.ChargeCurrent = charge;
    info.DischargeCurrent = discharge;

    static_cast<TStatusWords &>(info) = TStatusWords{};

    info.PrevState = 0;
    ForgetWordsRead(info);
    std::fill(info.AlarmList.begin(), info.AlarmList.begin() + kAlarmEntriesCleared, 0);
    info.AlarmCount = 0;

    info.InputSwitch = 0;
    info.OutputSwitch = 0;
    info.BypassSwitch = 0;
    info.MaintBypassSwitch = 0;
    info.InputSupply = 0;
    info.UpsSupply = 0;
}
