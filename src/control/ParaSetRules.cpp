#include "control/ParaSetRules.h"

#include "app/MainCommandRules.h"
#include "control/ControlCommands.h"
#include "control/ModelNames.h"
#include "model/TUpsInfo.h"
#include "model/TextLanguage.h"
#include "model/ValueFormat.h"
#include "protocol/ModbusParaMap.h"
#include "protocol/TCommandQueue.h"

#include <algorithm>
#include <cmath>

namespace ParaSetRules {

namespace {

using E = TEditor;

// Each row with the name its error message gives it.
struct TRowDef {
    TRow Row;
    const char *MessageName;
};

const TRowDef kRows[] = {
    {{0, "工作模式", "Work Mode", 40004, E::List}, "Work Mode"},
    {{1, "系统电压等级(V)", "System Voltage Level(V)", 40005, E::List}, "System Voltage Level"},
    {{2, "输出频率等级(HZ)", "System Frequency Level(Hz)", 40006, E::List}, "System Frequence Level"},
    {{3, "旁路频率跟踪范围(%)", "Bypass Frequency Range(%)", 40011, E::List}, "Bypass Frequence Range"},
    {{4, "旁路电压保护范围上限(%)", "Bypass Volt Upper Limit(%)", 40012, E::List}, "Bypass Volt Upper Limit"},
    {{5, "旁路电压保护范围下限(%)", "Bypass Volt lower Limit(%)", 40013, E::List}, "Bypass Volt lower Limit"},
    {{6, "逆变输出电压微调(%)", "Invert-Volt adjustment(%)", 40014, E::List}, "Invert-Volt adjustment"},
    {{7, "电池节数", "Battery Number", 40015, E::List}, "Battery Num"},
    {{8, "电池并联组数", "Battery Group", 40017, E::Number}, "Battery Group"},
    {{9, "均充电压上限(V/Cell)", "Boost upper limit Volt(V/Cell)", 40018, E::List}, "Boost upper limit Volt"},
    {{10, "浮充电压基准(V/Cell)", "Float base Volt(V/Cell)", 40019, E::List}, "Float base Volt"},
    {{11, "EOD电压(V/Cell)", "EOD Volt(V/Cell)", 40020, E::Number}, "EOD Volt"},
    {{12, "单节电池容量(AH)", "Single Battery Capability(AH)", 40021, E::Number}, "Single Battery Capability"},
    {{13, "最大充电电流(A)", "Max Charge current(A)", 40023, E::Number}, "Max Charge current"},
    {{14, "均充持续时间（分钟）", "Boost Last Time(Min)", 40025, E::Number}, "Boost Last Time"},
    {{15, "状态控制位", "Staus Control", 40027, E::Switches}, "Staus Control"},
    {{16, "系统并机总台数", "Parallel Amount", 40007, E::Number}, "Parallel Amount"},
    {{17, "并机冗余台数", "Parallel Redundancy", 40008, E::Number}, "Parallel Redundancy"},
    {{18, "并机系统ID", "Parallel ID", 40002, E::Number}, "Parallel ID"},
    {{19, "操作模式", "Operation Mode", 40029, E::List}, "Operation Mode"},
};
constexpr int kOperationModeRow = 19;

// The values a list row offers. Rows 4 and 5 offer fewer entries on units
// of a higher voltage level; a level of 0 offers them all.
std::vector<std::uint16_t> ListValues(int row, const QString &modelName, int voltLevel)
{
    const bool qmx480 = modelName == ModelNames::Qmx480;
    switch (row) {
    case 0: return {0, 1, 4};
    case 1: return qmx480 ? std::vector<std::uint16_t>{110, 115, 120, 127} : std::vector<std::uint16_t>{220, 230, 240};
    case 2: return {50, 60};
    case 3: return {1, 2, 4, 5, 10};
    case 4:
        if (voltLevel <= 220)
            return {10, 15, 20, 25};
        if (voltLevel == 230)
            return {10, 15, 20};
        return {10, 15};
    case 5:
        if (voltLevel <= 127 || qmx480)
            return {65491, 65506, 65516, 65526};
        return {65491, 65506, 65516};
    case 6: return {0, 10, 20, 30, 40, 50};
    case 7:
        if (modelName == ModelNames::Rnb6800)
            return {16, 18, 20};
        if (qmx480)
            return {24};
        return {26, 28, 30, 32, 34, 36, 38, 40};
    case 9: return {230, 231, 232, 233, 234, 235, 236, 237, 238, 239, 240};
    case 10: return {220, 221, 222, 223, 224, 225, 226, 227, 228, 229};
    case kOperationModeRow: return {0, 2};
    default: return {};
    }
}

QString EntryText(int row, std::uint16_t value, quint8 language)
{
    switch (row) {
    case 0: return value == 0 ? QStringLiteral("Normal") : value == 1 ? QStringLiteral("ECO") : QStringLiteral("Parallel");
    case 1: return QString::number(value) + u'V';
    case 2: return QString::number(value) + QStringLiteral("Hz");
    case 5: return QString::number(static_cast<std::int16_t>(value)) + u'%';
    case 6: return QString::number(value / 10) + u'%';
    case 7: return QString::number(value);
    case 9:
    case 10: return FormatFixed(value / 100.0, 2);
    case kOperationModeRow: {
        const bool zh = IsChineseLanguage(language);
        return value == 0 ? LanguageText(zh, "普通模式", "Normal") : LanguageText(zh, "变频模式", "Freq Variable");
    }
    default: return QString::number(value) + u'%';
    }
}

int IndexOf(const std::vector<std::uint16_t> &values, std::uint16_t value)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] == value)
            return static_cast<int>(i);
    return -1;
}

// The entry the unit's present value picks; may lie beyond the entries
// offered, which the caller treats as none.
int PresentEntry(int row, const TUpsPara &present, const QString &modelName,
                 const std::vector<std::uint16_t> &values)
{
    switch (row) {
    case 0: return IndexOf(values, static_cast<std::uint16_t>(present.WorkMode));
    case 1: return IndexOf(values, present.VoltLevel);
    case 2: return IndexOf(values, present.FreqLevel);
    case 3: return IndexOf(values, present.BypassFreqRange);
    case 4: {
        const int v = present.BypassVoltMax;
        return v <= 10 ? 0 : v <= 15 ? 1 : v <= 20 ? 2 : v <= 24 ? -1 : 3;
    }
    case 5: return IndexOf(values, static_cast<std::uint16_t>(present.BypassVoltMin));
    case 6: return present.InvVoltTrim <= 9 ? 0 : std::min(present.InvVoltTrim / 10, 5);
    case 7:
        if (modelName == ModelNames::Rnb6800)
            return present.BattCells / 2 - 8;
        if (modelName == ModelNames::Qmx480)
            return 0;
        return present.BattCells / 2 - 13;
    case 9: return present.BoostVolt >= 230 && present.BoostVolt <= 240 ? present.BoostVolt - 230 : -1;
    case 10: return present.FloatVolt >= 220 && present.FloatVolt <= 229 ? present.FloatVolt - 220 : -1;
    case kOperationModeRow: return present.OperationMode == 0 ? 0 : present.OperationMode == 2 ? 1 : -1;
    default: return -1;
    }
}

// The number box as a register value: a whole number of 0 to 65535, else
// nothing. Text that is no such number is refused rather than written as
// 0 or as its low 16 bits, which would send the unit a value nobody typed.
std::optional<std::uint16_t> BoxNumber(const QString &text)
{
    bool ok = false;
    const uint n = text.trimmed().toUInt(&ok, 10);
    if (!ok || n > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(n);
}

TCheck Refused(const TRowDef &def, TFocus focus, std::optional<QString> editText = std::nullopt)
{
    TCheck check;
    check.Errors = 1;
    check.Message = QStringLiteral("[%1] value is invalid").arg(QLatin1String(def.MessageName));
    check.Focus = focus;
    check.EditText = std::move(editText);
    return check;
}

TCheck Accepted(std::uint16_t value, std::optional<QString> editText = std::nullopt)
{
    TCheck check;
    check.Value = value;
    check.EditText = std::move(editText);
    return check;
}

TCheck ValidateList(const TRowDef &def, const TInput &input, const QString &modelName)
{
    const int row = def.Row.Index;
    if (row == 7 && modelName == ModelNames::Qmx480)
        return Accepted(24); // the only battery this model takes
    const std::vector<std::uint16_t> values = ListValues(row, modelName, 0);
    if (input.Entry < 0 || input.Entry >= static_cast<int>(values.size()))
        return Refused(def, TFocus::List);
    return Accepted(values[static_cast<std::size_t>(input.Entry)]);
}

TCheck ValidateEodVolt(const TRowDef &def, const QString &text)
{
    bool ok = false;
    double volts = text.trimmed().toDouble(&ok);
    // toDouble takes "nan" and "inf" for numbers; neither is a voltage, and
    // NaN would pass any range check written as two comparisons.
    if (!ok || !std::isfinite(volts))
        volts = 0;
    if (text.isEmpty() || volts < 1.2 || volts > 1.9)
        return Refused(def, TFocus::Edit, QStringLiteral("1.80"));
    const auto value = static_cast<std::uint16_t>(std::trunc(volts * 100));
    return Accepted(value, FormatFixed(value / 100.0, 2));
}

TCheck ValidateNumber(const TRowDef &def, const QString &text, const TUpsPara &present)
{
    const std::optional<std::uint16_t> number = BoxNumber(text);
    const int n = number.value_or(0);
    switch (def.Row.Index) {
    case 8:
        return number && n >= 1 && n <= 8 ? Accepted(n) : Refused(def, TFocus::Edit);
    case 11:
        return ValidateEodVolt(def, text);
    case 12:
        return number && n >= 1 && n <= 2000 ? Accepted(n) : Refused(def, TFocus::Edit);
    case 13: {
        const auto limit = static_cast<std::uint16_t>(std::uint32_t(present.BattAh) * present.BattGroups / 4);
        return number && n <= limit ? Accepted(n) : Refused(def, TFocus::Edit, QString::number(limit));
    }
    case 14:
        return number && n <= 600 ? Accepted(n) : Refused(def, TFocus::Edit, QStringLiteral("30"));
    case 16:
        // An 8-bit register: a larger count would arrive as its low byte.
        return number && n <= 0xFF ? Accepted(n) : Refused(def, TFocus::Edit);
    case 17: {
        const int count = present.ParallelCount;
        if (number && (n < count || n == 0))
            return Accepted(n);
        return Refused(def, TFocus::Edit, QString::number(count == 0 ? 0 : count - 1));
    }
    case 18:
        return number && n >= 1 && n <= 14 ? Accepted(n) : Refused(def, TFocus::Edit);
    default:
        return Refused(def, TFocus::Edit);
    }
}

} // namespace

std::vector<TRow> Rows(const QString &modelName)
{
    std::vector<TRow> rows;
    for (const TRowDef &def : kRows)
        if (def.Row.Index != kOperationModeRow || modelName == ModelNames::Qmx960ld)
            rows.push_back(def.Row);
    return rows;
}

std::optional<TRow> RowAt(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kRows)))
        return std::nullopt;
    return kRows[index].Row;
}

QString RowCaption(const TRow &row, quint8 language)
{
    return LanguageText(IsChineseLanguage(language), row.Chinese, row.English);
}

TChoices Choices(int row, const TUpsPara &present, const QString &modelName, quint8 language)
{
    const std::vector<std::uint16_t> values = ListValues(row, modelName, present.VoltLevel);
    TChoices choices;
    for (std::uint16_t value : values)
        choices.Entries << EntryText(row, value, language);
    const int entry = PresentEntry(row, present, modelName, values);
    choices.Selected = entry >= 0 && entry < choices.Entries.size() ? entry : -1;
    return choices;
}

QString NumberText(int row, const TUpsPara &present)
{
    switch (row) {
    case 8: return QString::number(present.BattGroups);
    case 11: return FormatFixed(present.EodVolt / 100.0, 2);
    case 12: return QString::number(present.BattAh);
    case 13: return QString::number(present.MaxChargeCurrent);
    case 14: return QString::number(present.BoostTime);
    case 16: return QString::number(present.ParallelCount);
    case 17: return QString::number(present.RedundancyCount);
    case 18: return QString::number(present.ParallelId);
    default: return QString();
    }
}

TCheck Validate(int row, const TInput &input, const TUpsPara &present, const QString &modelName)
{
    if (row < 0 || row >= static_cast<int>(std::size(kRows)))
        return TCheck{};
    const TRowDef &def = kRows[row];
    switch (def.Row.Editor) {
    case E::List:
        return ValidateList(def, input, modelName);
    case E::Number:
        return ValidateNumber(def, input.EditText, present);
    case E::Switches:
        return Accepted(static_cast<std::uint16_t>((input.BuzzerDisabled ? kBuzzerDisabledBit : 0)
                                                   | (input.BoostChargeDisabled ? kBoostChargeDisabledBit : 0)));
    case E::None:
        break;
    }
    return TCheck{};
}

bool QueueWrite(TCommandQueue &queue, quint8 protocol, std::uint8_t addr, const QString &modelName,
                std::uint32_t reg, std::uint16_t value)
{
    StoreParaRegister(queue.ParaSetValue, reg, value);
    if (reg == 40004)
        queue.ParaSetValue.WorkMode = static_cast<std::int16_t>(value);
    if (!ControlCommandsVisible(protocol))
        return false;
    constexpr std::uint8_t kWrite = ControlCommands::kWriteSingleRegister;
    if (modelName == ModelNames::Vtr5400) {
        queue.Queue(0, addr, kWrite, 50000, 1);
        queue.Queue(1, addr, kWrite, reg, 1);
    } else {
        queue.Queue(0, addr, kWrite, reg, 1);
    }
    return true;
}

} // namespace ParaSetRules
