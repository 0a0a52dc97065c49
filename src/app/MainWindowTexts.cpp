#include "app/MainWindowTexts.h"

#include "model/TextLanguage.h"
#include "serial/ComPortName.h"

TShellTexts ShellTexts(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    return TShellTexts{
        LanguageText(zh, "开启串口", "Open COM"),
        LanguageText(zh, "关闭串口", "Close COM"),
        LanguageText(zh, "  已开启", " is Link"),
        LanguageText(zh, "串口已关闭", "COM is closed"),
        LanguageText(zh, "开启串口时出错,请检查串口设置!",
             "There was an error to open serial port,please check the serial port settings !"),
        LanguageText(zh, "该设备未联机!", "The device is not communication!"),
        LanguageText(zh, "您确定要退出系统吗?", "Exit Program ?"),
        LanguageText(zh, "VTR5200监控", "VTR5200 Monitor"),
        LanguageText(zh, "设置无法保存。不保存设置直接退出吗?", "The settings could not be saved. Exit without saving them?"),
    };
}

std::vector<TCaptionRow> MainWindowCaptions(quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    constexpr auto C = TCaptionRole::Caption;
    constexpr auto H = TCaptionRole::Hint;
    return {
        {"TFrmMain", C, LanguageText(zh, "VTR5200监控", "VTR5200 Monitor")},
        {"mni100", C, LanguageText(zh, "系统", "System")},
        {"mni101", C, LanguageText(zh, "用户设置", "User Set")},
        {"mni102", C, LanguageText(zh, "软件参数设定", "Software Parameter Setting")},
        {"mni103", C, LanguageText(zh, "退出", "Exit")},
        {"mni200", C, LanguageText(zh, "日志", "Log")},
        {"mni201", C, LanguageText(zh, "事件日志", "Event Log")},
        {"mni202", C, LanguageText(zh, "数据日志", "Data Log")},
        {"mni203", C, LanguageText(zh, "日志设定", "Log Setting")},
        {"mni300", C, LanguageText(zh, "控制", "Control")},
        {"mni301", C, LanguageText(zh, "电池自检", "Battery Test")},
        {"mniTurnOn", C, LanguageText(zh, "开关机", "Turn On/Off")},
        {"mni400", C, QStringLiteral("Language")},
        {"mni401", C, LanguageText(zh, "中文", "Chinese")},
        {"mni402", C, QStringLiteral("English")},
        {"mni500", C, LanguageText(zh, "帮助", "Help")},
        {"mni501", C, LanguageText(zh, "关于", "About")},
        {"bsSkinSpeedButton1", H, LanguageText(zh, "软件参数设定", "Software Parameter Setting")},
        {"bsSkinSpeedButton2", H, LanguageText(zh, "中文简体", "Chinese")},
        {"bsSkinSpeedButton3", H, QStringLiteral("English")},
        {"bsSkinSpeedButton4", H, LanguageText(zh, "事件日志", "Event Log")},
        {"bsSkinSpeedButton5", H, LanguageText(zh, "数据日志", "Data Log")},
        {"bsSkinSpeedButton8", H, LanguageText(zh, "日志设定", "Log Setting")},
        {"bsSkinSpeedButton6", H, LanguageText(zh, "帮助", "About")},
        {"bsSkinSpeedButton7", H, LanguageText(zh, "退出", "Exit")},
        {"btnSearch", C, LanguageText(zh, "搜索", "Search")},
        {"btnNew", C, LanguageText(zh, "添加", "Append")},
        {"btnDelete", C, LanguageText(zh, "删除", "Delete")},
        {"btnProperty", C, LanguageText(zh, "属性", "Property")},
        {"btnSearch", H, LanguageText(zh, "搜索RS485网络上的逆变器", "Search inverters on RS485 network")},
        {"btnNew", H, LanguageText(zh, "在设备树中添加要被监控的逆变器", "Append inverter of need to be Monitored ")},
        {"btnDelete", H, LanguageText(zh, "从设备树中删除不需要再监控的逆变器", "Delete inverter of need not to be used")},
        {"btnProperty", H, LanguageText(zh, "查看设备树中指定的逆变器属性", "View property of inverter")},
    };
}

QString PortStatusText(bool portOpened, const QString &comName, const TLinkStatus &link, quint8 language)
{
    const TShellTexts texts = ShellTexts(language);
    if (!portOpened)
        return texts.PortClosed;
    if (!IsNetworkPortName(comName))
        return comName + texts.PortOpenSuffix;
    const bool zh = IsChineseLanguage(language);
    switch (link.Phase) {
    case TLinkPhase::Connected:
        return comName + LanguageText(zh, "  已连接", " connected");
    case TLinkPhase::Waiting:
        return comName + LanguageText(zh, "：%1，%2 秒后重试", ": %1; retry in %2 s").arg(link.Error).arg(link.RetryInSeconds);
    case TLinkPhase::Connecting:
    case TLinkPhase::Closed:
        break;
    }
    return comName + LanguageText(zh, "  正在连接…", " connecting…");
}
