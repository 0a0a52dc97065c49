#include "app/MainWindowTexts.h"

#include "model/TextLanguage.h"

namespace {

QString Pick(bool chinese, const char *zh, const char *en)
{
    return chinese ? QString::fromUtf8(zh) : QString::fromUtf8(en);
}

} // namespace

TShellTexts ShellTexts(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return TShellTexts{
        Pick(zh, "开启串口", "Open COM"),
        Pick(zh, "关闭串口", "Close COM"),
        Pick(zh, "  已开启", " is Link"),
        Pick(zh, "串口已关闭", "COM is closed"),
        Pick(zh, "开启串口时出错,请检查串口设置!",
             "There was an error to open serial port,please check the serial port settings !"),
        Pick(zh, "该设备未联机!", "The device is not communication!"),
        Pick(zh, "您确定要退出系统吗?", "Exit Program ?"),
        Pick(zh, "VTR5200监控", "VTR5200 Monitor"),
    };
}

std::vector<TCaptionRow> MainWindowCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    constexpr auto C = TCaptionRole::Caption;
    constexpr auto H = TCaptionRole::Hint;
    return {
        {"TFrmMain", C, Pick(zh, "VTR5200监控", "VTR5200 Monitor")},
        {"mni100", C, Pick(zh, "系统", "System")},
        {"mni101", C, Pick(zh, "用户设置", "User Set")},
        {"mni102", C, Pick(zh, "软件参数设定", "Software Parameter Setting")},
        {"mni103", C, Pick(zh, "退出", "Exit")},
        {"mni200", C, Pick(zh, "日志", "Log")},
        {"mni201", C, Pick(zh, "事件日志", "Event Log")},
        {"mni202", C, Pick(zh, "数据日志", "Data Log")},
        {"mni203", C, Pick(zh, "日志设定", "Log Setting")},
        {"mni300", C, Pick(zh, "控制", "Control")},
        {"mni301", C, Pick(zh, "电池自检", "Battery Test")},
        {"mniTurnOn", C, Pick(zh, "开关机", "Turn On/Off")},
        {"mni400", C, QStringLiteral("Language")},
        {"mni401", C, Pick(zh, "中文", "Chinese")},
        {"mni402", C, QStringLiteral("English")},
        {"mni500", C, Pick(zh, "帮助", "Help")},
        {"mni501", C, Pick(zh, "关于", "About")},
        {"bsSkinSpeedButton1", H, Pick(zh, "软件参数设定", "Software Parameter Setting")},
        {"bsSkinSpeedButton2", H, Pick(zh, "中文简体", "Chinese")},
        {"bsSkinSpeedButton3", H, QStringLiteral("English")},
        {"bsSkinSpeedButton4", H, Pick(zh, "事件日志", "Event Log")},
        {"bsSkinSpeedButton5", H, Pick(zh, "数据日志", "Data Log")},
        {"bsSkinSpeedButton8", H, Pick(zh, "日志设定", "Log Setting")},
        {"bsSkinSpeedButton6", H, Pick(zh, "帮助", "About")},
        {"bsSkinSpeedButton7", H, Pick(zh, "退出", "Exit")},
        {"btnSearch", C, Pick(zh, "搜索", "Search")},
        {"btnNew", C, Pick(zh, "添加", "Append")},
        {"btnDelete", C, Pick(zh, "删除", "Delete")},
        {"btnProperty", C, Pick(zh, "属性", "Property")},
        {"btnSearch", H, Pick(zh, "搜索RS485网络上的逆变器", "Search inverters on RS485 network")},
        {"btnNew", H, Pick(zh, "在设备树中添加要被监控的逆变器", "Append inverter of need to be Monitored ")},
        {"btnDelete", H, Pick(zh, "从设备树中删除不需要再监控的逆变器", "Delete inverter of need not to be used")},
        {"btnProperty", H, Pick(zh, "查看设备树中指定的逆变器属性", "View property of inverter")},
    };
}

QString PortStatusText(bool portOpened, const QString &comName, quint8 language)
{
    const TShellTexts texts = ShellTexts(language);
    return portOpened ? comName + texts.PortOpenSuffix : texts.PortClosed;
}
