#include "control/UserSetTexts.h"

#include "control/ModelNames.h"
#include "model/TUpsInfo.h"
#include "model/TextLanguage.h"
#include "model/ValueFormat.h"

namespace UserSetTexts {

namespace {

constexpr std::uint16_t kBuzzerDisabledBit = 1u << 12;
constexpr std::uint16_t kBoostChargeDisabledBit = 1u << 13;

QString WorkModeText(std::int32_t mode)
{
    static const char *const kWords[] = {"Normal", "ECO", "Master", "Slave", "Parallel"};
    return mode >= 0 && mode <= 4 ? QString::fromLatin1(kWords[mode]) : QString();
}

QString OperationModeText(std::uint8_t mode, quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    switch (mode) {
    case 0: return LanguageText(zh, "普通模式", "Normal");
    case 1: return LanguageText(zh, "休眠模式", "Sleep");
    case 2: return LanguageText(zh, "变频模式", "Frequency variable");
    default: return QString::number(mode);
    }
}

QString EnableText(std::uint16_t statusControl, std::uint16_t disabledBit)
{
    return (statusControl & disabledBit) != 0 ? QStringLiteral("disable") : QStringLiteral("enable");
}

QString Percent(qint64 value)
{
    return QString::number(value) + u'%';
}

QString Hundredths(std::uint16_t value)
{
    return FormatFixed(value / 100.0, 2);
}

} // namespace

const std::vector<const char *> &ValueBoxes()
{
    static const std::vector<const char *> kBoxes = {
        "edtSetMode", "edtVoltLevel", "edtFreqLevel", "edtParaNum", "edtRedunNum",
        "edtBpsFreq", "edtBpsVMax", "edtBpsVMin", "edtOutputVFine", "edtSysID",
        "edtBuzzer", "edtOptVolt", "edtBattNum", "edtBattCap", "edtBattGroup",
        "edtBattBoostV", "edtBattFloat", "edtEodV", "edtPreAlarm", "edtBoostLast",
        "edtMaxChgCurr", "edtBoostChg",
    };
    return kBoxes;
}

std::vector<TValueText> ValueTexts(const TUpsPara &para, quint8 language)
{
    return {
        {"edtSetMode", WorkModeText(para.WorkMode)},
        {"edtVoltLevel", QString::number(para.VoltLevel)},
        {"edtFreqLevel", QString::number(para.FreqLevel)},
        {"edtParaNum", QString::number(para.ParallelCount)},
        {"edtRedunNum", QString::number(para.RedundancyCount)},
        {"edtBpsFreq", Percent(para.BypassFreqRange)},
        {"edtBpsVMax", Percent(para.BypassVoltMax)},
        {"edtBpsVMin", Percent(para.BypassVoltMin)},
        {"edtOutputVFine", FormatFixed(para.InvVoltTrim / 10.0, 1) + u'%'},
        {"edtSysID", QString::number(para.ParallelId)},
        {"edtBuzzer", EnableText(para.StatusControl, kBuzzerDisabledBit)},
        {"edtOptVolt", OperationModeText(para.OperationMode, language)},
        {"edtBattNum", QString::number(para.BattCells)},
        {"edtBattCap", QString::number(para.BattAh)},
        {"edtBattGroup", QString::number(para.BattGroups)},
        {"edtBattBoostV", Hundredths(para.BoostVolt)},
        {"edtBattFloat", Hundredths(para.FloatVolt)},
        {"edtEodV", Hundredths(para.EodVolt)},
        {"edtPreAlarm", QString::number(para.PreAlarmTime)},
        {"edtBoostLast", QString::number(para.BoostTime)},
        {"edtMaxChgCurr", QString::number(para.MaxChargeCurrent)},
        {"edtBoostChg", EnableText(para.StatusControl, kBoostChargeDisabledBit)},
    };
}

std::vector<TCaptionRow> Captions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    constexpr auto C = TCaptionRole::Caption;
    return {
        {"FrmUserSet", C, LanguageText(zh, "用户设置量", "User Set")},
        {"btnSet", C, LanguageText(zh, "设置", "Set")},
        {"GroupBox2", C, LanguageText(zh, "电池设置", "Battery Set")},
        {"Label2", C, LanguageText(zh, "工作模式", "Work Mode")},
        {"Label3", C, LanguageText(zh, "系统电压等级(V)", "System Voltage Level(V)")},
        {"Label4", C, LanguageText(zh, "系统频率等级(Hz)", "System Frequency Level(Hz)")},
        {"Label5", C, LanguageText(zh, "并机台数", "Parallel Amount")},
        {"Label6", C, LanguageText(zh, "并机冗余", "Parallel Redundancy")},
        {"Label8", C, LanguageText(zh, "旁路频率跟踪范围", "Bypass Frequency Range")},
        {"Label9", C, LanguageText(zh, "旁路电压上限", "Bypass Volt Upper Limit")},
        {"Label10", C, LanguageText(zh, "旁路电压下限", "Bypass Volt lower Limit")},
        {"Label11", C, LanguageText(zh, "逆变电压微调", "Invert-Volt adjustment")},
        {"Label1", C, LanguageText(zh, "并机系统ID", "Parallel ID")},
        {"lbBuzzer", C, LanguageText(zh, "蜂鸣器", "Buzzer")},
        {"lblOptMode", C, LanguageText(zh, "操作模式", "Operation Mode")},
        {"Label15", C, LanguageText(zh, "电池节数", "Battery Number")},
        {"Label20", C, LanguageText(zh, "单节电池容量(AH)", "Single Battery Capability(AH)")},
        {"Label19", C, LanguageText(zh, "电池组数", "Battery Group")},
        {"Label17", C, LanguageText(zh, "均充电压上限(V/Cell)", "Boost upper limit Volt.(V/Cell)")},
        {"Label21", C, LanguageText(zh, "浮充基准电压(V/Cell)", "Float base Volt.(V/Cell)")},
        {"Label18", C, LanguageText(zh, "EOD电压(V/Cell)", "EOD Volt(V/Cell)")},
        {"lbPreAlarm", C, LanguageText(zh, "关机预报警时间(分钟)", "Shutdown PreAlarm Time(min)")},
        {"Label24", C, LanguageText(zh, "均充持续时间(分钟)", "Boost Last Time(min)")},
        {"Label22", C, LanguageText(zh, "最大充电电流(A)", "Max Charge current(A)")},
        {"lbBoostChg", C, LanguageText(zh, "均充", "Boost Charge")},
    };
}

bool OperationModeShown(const QString &modelName)
{
    return modelName == ModelNames::Qmx960ld;
}

bool ShowsValues(bool portOpened, const TUpsInfo &rec)
{
    return portOpened && rec.LinkState == kLinkOnline;
}

} // namespace UserSetTexts
