#include "model/RealTimeViewTexts.h"

#include "model/TextLanguage.h"

std::vector<TCaptionRow> RealTimeViewCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    constexpr auto C = TCaptionRole::Caption;
    constexpr auto H = TCaptionRole::Hint;
    return {
        {"bsSkinTabSheet3", C, LanguageText(zh, "数据", "Data")},
        {"bsSkinTabSheet4", C, LanguageText(zh, "示意图", "Sketch Map")},
        {"lbInputA", C, LanguageText(zh, "输入A相电压", "Input A Phase V")},
        {"lbInputB", C, LanguageText(zh, "输入B相电压", "Input B Phase V")},
        {"lbInputC", C, LanguageText(zh, "输入C相电压", "Input C Phase V")},
        {"lbOutputA", C, LanguageText(zh, "输出A相电压", "Output A Phase V")},
        {"lbOutputB", C, LanguageText(zh, "输出B相电压", "Output B Phase V")},
        {"lbOutputC", C, LanguageText(zh, "输出C相电压", "Output C Phase V")},
        {"bsSkinLabel6", C, LanguageText(zh, "UPS负载率", "Load percent")},
        {"bsSkinStdLabel7", C, LanguageText(zh, "A相", "A phase")},
        {"bsSkinStdLabel8", C, LanguageText(zh, "B相", "B phase")},
        {"bsSkinStdLabel9", C, LanguageText(zh, "C相", "C phase")},
        {"AdvPanel4", C, LanguageText(zh, "直流输入电压", "DC Input Voltage")},
        {"AdvPanel9", C, LanguageText(zh, "电池后备时间", "Support Time Of Battery")},
        {"AdvPanel6", C, LanguageText(zh, "电池容量率", "Capability of Battery")},
        {"AdvPanel1", C, LanguageText(zh, "输出频率", "Output Frequence")},
        {"Chart1", C, LanguageText(zh, "输入电压(V)", "Input Voltage(V)")},
        {"Chart2", C, LanguageText(zh, "输出电压(V)", "Output Voltage(V)")},
        {"btnTrend", C, LanguageText(zh, "历史趋势", "History Trend")},
        {"grpSwitch", C, LanguageText(zh, "开关状态", "Switch Status")},
        {"grpSwitch", H, LanguageText(zh, "ON为闭合,OFF为断开", "ON express switch is closed,OFF express switch is open")},
        {"grpAlarm", C, LanguageText(zh, "告警", "Alarm")},
        {"Label5", C, LanguageText(zh, "输入供电状态:", "Input Supply Power Status:")},
        {"Label6", C, LanguageText(zh, "UPS供电状态:", "UPS Supply Power Status:")},
    };
}

TSupplyTexts SupplyTexts(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return TSupplyTexts{
        LanguageText(zh, "均不供电", "No Supply"),
        LanguageText(zh, "市电供电", "Mains Supply"),
        LanguageText(zh, "电池供电", "Battery Supply"),
        LanguageText(zh, "逆变供电", "Inverter Supply"),
        LanguageText(zh, "旁路供电", "Bypass Supply"),
        QStringLiteral("ECO"),
    };
}

QString SinglePhaseOutputCaption(quint8 language)
{
    // Only English for 0: any other value, not just 1, gets the Chinese text.
    return language == 0 ? QStringLiteral("Output Volt.") : QString::fromUtf8("输出电压");
}

std::vector<QString> DeviceChildCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return {LanguageText(zh, "实时信息", "Real-time Info"), LanguageText(zh, "曲线图", "Graph")};
}
