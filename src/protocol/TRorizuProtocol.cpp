#include "protocol/TRorizuProtocol.h"

#include "model/TUpsInfo.h"
#include "model/UpsInfoRules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr std::uint8_t kVoltages = 1;
constexpr std::uint8_t kStatus = 2;
constexpr std::uint8_t kAlarms = 3;
constexpr std::uint8_t kLoads = 4;
constexpr std::uint8_t kBackupTime = 5;

// Main alarm group: item i at 31 + 2i gives code 100 + i.
constexpr int kMainGroupStart = 31;
constexpr int kMainGroupItems = 56;
constexpr int kMainGroupBase = 100;
constexpr int kBatteryFlagItem = 35;    // F1 gives 135, other values nothing
constexpr int kBatteryBreakerItem = 48; // 00 gives 148, F1 gives 160
// Second group: items at 15 to 23 give 201 to 205, the battery item at 25.
constexpr int kSecondGroupStart = 15;
constexpr int kSecondGroupFlags = 5;
constexpr int kBatteryItemPos = 25;
constexpr int kLastItemEnd = kMainGroupStart + 2 * kMainGroupItems; // one past the last character

void StoreSingle(double &field, const std::optional<double> &value, double divisor = 1.0)
{
    if (value)
        field = *value / divisor;
}

// One status item: the field takes the value listed for the item's text;
// other texts, and an item the reply does not carry, leave it.
struct TItemValue {
    const char *Text;
    std::uint8_t Value;
};

template <std::size_t N>
void StoreItem(std::uint8_t &field, const std::optional<QByteArrayView> &item,
               const TItemValue (&values)[N])
{
    if (!item)
        return;
    for (const TItemValue &v : values) {
        if (*item == QByteArrayView(v.Text)) {
            field = v.Value;
            return;
        }
    }
}

void DecodeVoltages(const TAsciiFrame &reply, TUpsInfo &rec)
{
    // The unit reports line-to-line input voltages; the record holds phase voltages.
    static const double kSqrt3 = std::sqrt(3.0);
    for (int phase = 0; phase < 3; ++phase) {
        StoreSingle(rec.InputVolt[phase], reply.Single(15 + 8 * phase), kSqrt3);
        StoreSingle(rec.OutputVolt[phase], reply.Single(39 + 8 * phase));
    }
    StoreSingle(rec.DcVolt, reply.Single(87));
    StoreSingle(rec.OutputFreq, reply.Single(95));
}

void DecodeStatus(const TAsciiFrame &reply, TUpsInfo &rec)
{
    static const TItemValue kUpsSupply[] = {{"01", 1}, {"02", 2}, {"E9", 0}};
    static const TItemValue kInputSupply[] = {{"E0", 1}, {"E1", 2}, {"E3", 0}};
    static const TItemValue kSwitch[] = {{"E0", 0}, {"E1", 1}};

    StoreItem(rec.UpsSupply, reply.Text2(15), kUpsSupply);
    if (const auto test = reply.Text2(19))
        rec.BattTestFlag = *test == QByteArrayView("E0") ? 1 : 0;
    StoreItem(rec.InputSupply, reply.Text2(25), kInputSupply);
    StoreItem(rec.InputSwitch, reply.Text2(29), kSwitch);
    StoreItem(rec.MaintBypassSwitch, reply.Text2(31), kSwitch);
    StoreItem(rec.BypassSwitch, reply.Text2(33), kSwitch);
    StoreItem(rec.OutputSwitch, reply.Text2(35), kSwitch);
    rec.State = TRorizuProtocol::StateFromSupplies(rec);
    rec.StateRead = true;
}

std::vector<std::int32_t> AlarmCodes(const TAsciiFrame &reply)
{
    const auto item = [&](int pos) { return reply.Byte(pos).value_or(0); };
    std::vector<std::int32_t> codes;
    for (int i = 0; i < kMainGroupItems; ++i) {
        const std::uint8_t value = item(kMainGroupStart + 2 * i);
        if (i == kBatteryFlagItem) {
            if (value == 0xF1)
                codes.push_back(kMainGroupBase + i);
        } else if (i == kBatteryBreakerItem) {
            if (value == 0)
                codes.push_back(148);
            else if (value == 0xF1)
                codes.push_back(160);
        } else if (value != 0) {
            codes.push_back(kMainGroupBase + i);
        }
    }
    for (int i = 0; i < kSecondGroupFlags; ++i) {
        if (item(kSecondGroupStart + 2 * i) != 0)
            codes.push_back(201 + i);
    }
    switch (item(kBatteryItemPos)) {
    case 0: break;
    case 0x01: codes.push_back(206); break;
    case 0x02: codes.push_back(207); break;
    case 0xF0: codes.push_back(208); break;
    case 0xE1: codes.push_back(209); break;
    default: codes.push_back(210); break;
    }
    return codes;
}

// The alarm list is only ever replaced by one read from a complete set of
// items; a reply without them is no answer to the alarm command.
bool HasAllAlarmItems(const TAsciiFrame &reply)
{
    return reply.InfoField(kSecondGroupStart, kLastItemEnd - kSecondGroupStart) != nullptr;
}

void DecodeAlarms(const TAsciiFrame &reply, TUpsInfo &rec)
{
    const std::vector<std::int32_t> codes = AlarmCodes(reply);
    rec.AlarmCount = 0;
    for (std::int32_t code : codes)
        rec.AlarmList[rec.AlarmCount++] = code;
    rec.AlarmsRead = true;
}

void DecodeLoads(const TAsciiFrame &reply, TUpsInfo &rec)
{
    for (int phase = 0; phase < 3; ++phase)
        StoreSingle(rec.LoadPercent[phase], reply.Single(113 + 8 * phase));
}

void DecodeBackupTime(const TAsciiFrame &reply, TUpsInfo &rec)
{
    const std::optional<double> minutes = reply.Single(113);
    // Not every bit pattern is a number of minutes: leave the field for a
    // NaN or infinity and keep huge values within the field's range.
    if (!minutes || !std::isfinite(*minutes))
        return;
    constexpr double kMin = std::numeric_limits<std::int16_t>::min();
    constexpr double kMax = std::numeric_limits<std::int16_t>::max();
    // nearbyint rounds halves to even under the default rounding mode.
    rec.BattBackupTime = static_cast<std::int16_t>(std::clamp(std::nearbyint(*minutes), kMin, kMax));
}

} // namespace

TRorizuProtocol::TRorizuProtocol(const TBusContext &context)
    : TAsciiProtocol(context, kVersion, {0x41, 0x43, 0x44, 0xE2, 0xE3})
{
}

std::int32_t TRorizuProtocol::StateFromSupplies(const TUpsInfo &rec)
{
    if (rec.MaintBypassSwitch == 1)
        return kStateMaintBypass;
    if (rec.UpsSupply == 1) {
        if (rec.InputSupply == 1)
            return kStateOnline;
        if (rec.InputSupply == 2)
            return rec.BattTestFlag == 1 ? kStateBattSelfTest : kStateBattery;
        return kStateStandby;
    }
    if (rec.UpsSupply == 2)
        return kStateBypass;
    return kStateStandby;
}

bool TRorizuProtocol::DecodeKind(std::uint8_t kind, const TAsciiFrame &reply, TUpsInfo &rec)
{
    switch (kind) {
    case kVoltages: DecodeVoltages(reply, rec); break;
    case kStatus:
        if (rec.OkCnt >= kMinOkCntForItems)
            DecodeStatus(reply, rec);
        break;
    case kAlarms:
        if (!HasAllAlarmItems(reply))
            return false;
        if (rec.OkCnt >= kMinOkCntForItems)
            DecodeAlarms(reply, rec);
        break;
    case kLoads: DecodeLoads(reply, rec); break;
    case kBackupTime: DecodeBackupTime(reply, rec); break;
    default: break;
    }
    return true;
}
