#include "model/RealTimeViewTexts.h"

#include "model/TextLanguage.h"

namespace {

QString Pick(bool chinese, const char *zh, const char *en)
{
    return chinese ? QString::fromUtf8(zh) : QString::fromUtf8(en);
}

} // namespace

std::vector<TCaptionRow> RealTimeViewCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    constexpr auto C = TCaptionRole::Caption;
    constexpr auto H = TCaptionRole::Hint;
    return {
        {"bsSkinTabSheet3", C, Pick(zh, "数据", "Data")},
        {"bsSkinTabSheet4", C, Pick(zh, "示意图", "Sketch Map")},
        {"lbInputA", C, Pick(zh, "输入A相电压", "Input A Phase V")},
        {"lbInputB", C, Pick(zh, "输入B相电压", "Input B Phase V")},
        {"lbInputC", C, Pick(zh, "输入C相电压", "Input C Phase V")},
        {"lbOutputA", C, Pick(zh, "输出A相电压", "Output A Phase V")},
        {"lbOutputB", C, Pick(zh, "输出B相电压", "Output B Phase V")},
        {"lbOutputC", C, Pick(zh, "输出C相电压", "Output C Phase V")},
        {"bsSkinLabel6", C, Pick(zh, "UPS负载率", "Load percent")},
        {"bsSkinStdLabel7", C, Pick(zh, "A相", "A phase")},
        {"bsSkinStdLabel8", C, Pick(zh, "B相", "B phase")},
        {"bsSkinStdLabel9", C, Pick(zh, "C相", "C phase")},
        {"AdvPanel4", C, Pick(zh, "直流输入电压", "DC Input Voltage")},
        {"AdvPanel9", C, Pick(zh, "电池后备时间", "Support Time Of Battery")},
        {"AdvPanel6", C, Pick(zh, "电池容量率", "Capability of Battery")},
        {"AdvPanel1", C, Pick(zh, "输出频率", "Output Frequence")},
        {"Chart1", C, Pick(zh, "输入电压(V)", "Input Voltage(V)")},
        {"Chart2", C, Pick(zh, "输出电压(V)", "Output Voltage(V)")},
        {"grpSwitch", C, Pick(zh, "开关状态", "Switch Status")},
        {"grpSwitch", H, Pick(zh, "ON为闭合,OFF为断开", "ON express switch is closed,OFF express switch is open")},
        {"grpAlarm", C, Pick(zh, "告警", "Alarm")},
        {"Label5", C, Pick(zh, "输入供电状态:", "Input Supply Power Status:")},
        {"Label6", C, Pick(zh, "UPS供电状态:", "UPS Supply Power Status:")},
    };
}

TSupplyTexts SupplyTexts(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return TSupplyTexts{
        Pick(zh, "均不供电", "No Supply"),
        Pick(zh, "市电供电", "Mains Supply"),
        Pick(zh, "电池供电", "Battery Supply"),
        Pick(zh, "逆变供电", "Inverter Supply"),
        Pick(zh, "旁路供电", "Bypass Supply"),
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
    return {Pick(zh, "实时信息", "Real-time Info"), Pick(zh, "曲线图", "Graph")};
}
