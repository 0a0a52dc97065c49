#include "model/CodeTexts.h"

#include "model/TextLanguage.h"

#include <algorithm>
#include <iterator>

namespace {

struct CodeText
{
    qint32 code;
    const char *english; // shown letter for letter, misspellings included
    const char *chinese; // UTF-8
};

const CodeText kEventTexts[] = {
    {18, "Communication lost", "通讯中断"},
    {19, "Communication Error", "通讯异常"},
    {20, "Monitor software is open", "监控软件开启"},
    {21, "Monitor software is closed", "监控软件关闭"},
    {22, "Communication upbuilt", "通讯建立"},
    {23, "Communication recovered", "通讯恢复"},
};

// 18 is no UPS state: it stands for a device whose link is down.
const CodeText kStateTexts[] = {
    {1, "Standby Status", "待机状态"},
    {2, "Non-Output", "无输出状态"},
    {3, "Bypass Status", "旁路状态"},
    {4, "Online", "市电状态"},
    {5, "Battery Status", "电池状态"},
    {6, "Battery Self-Test", "电池自检状态"},
    {7, "Inverter In Soft Starting", "逆变启动中"},
    {8, "ECO Status", "经济模式"},
    {9, "EPO Status", "EPO状态"},
    {10, "Maintain Bypass Status", "维护旁路模式"},
    {11, "Fault Status", "故障模式"},
    {18, "Communication lost", "通讯中断"},
};

const CodeText kAlarmTexts[] = {
    {0, "Rectifier fault", "整流器故障"},
    {1, "Rectifier over temperature", "整流模块过温"},
    {2, "Inverter over temperature", "逆变模块过温"},
    {3, "Rectifier over current", "整流过流故障"},
    {4, "Auxiliary power 1 fault", "辅助电源1故障"},
    {5, "Auxiliary power 2 fault", "辅助电源2故障"},
    {6, "Input Thyristor fault", "输入晶闸管故障"},
    {7, "Discharge Thyristor fault", "电池放电晶闸管故障"},
    {8, "Charge Thyristor fault", "电池充电晶闸管故障"},
    {9, "Fan fault", "风扇故障"},
    {10, "Fan Power fault", "风扇电源故障"},
    {11, "DC Bus over voltage", "母线电压过压"},
    {12, "DC Bus below voltage", "母线电压欠压"},
    {13, "DC bus unbalance", "正负母线压差大"},
    {14, "Mains Site Wiring Fault", "输入电压相序反"},
    {15, "Soft start failed", "软启动失败"},
    {16, "Input Neutral line missing", "输入缺零"},
    {17, "Battery reverse", "电池反"},
    {18, "No battery", "电池无"},
    {19, "P-Battery Charger fault", "正组电池充电器故障"},
    {20, "N-battery charger fault", "负组电池充电器故障"},
    {21, "Battery under voltage", "电池电压低"},
    {22, "Battery over voltage", "电池电压高"},
    {23, "Low battery alarm", "电池电压预告警"},
    {24, "Mains freq. abnormal", "市电频率异常"},
    {25, "Mains volt. abnormal", "市电电压异常"},
    {32, "Inverter fault", "逆变器故障"},
    {33, "Inv. IGBT bridge shorted", "逆变桥臂直通"},
    {34, "Inverter Thyristor short", "逆变晶闸管短路故障"},
    {35, "Inverter Thyristor broken", "逆变晶闸管断路故障"},
    {36, "Bypass Thyristor short", "旁路晶闸管短路故障"},
    {37, "Bypass Thyristor broken", "旁路晶闸管断路故障"},
    {38, "CAN comm. Fault", "CAN通信故障"},
    {39, "Parallel load sharing fault", "并机均流故障"},
    {40, "Bypass Site Wiring Fault", "旁路反序"},
    {41, "No synchronization", "不同步"},
    {42, "Bypass unable to trace", "旁路超跟踪"},
    {43, "Bypass Not Available", "旁路超保护"},
    {44, "IGBT over current", "IGBT过流"},
    {45, "Fuse broken", "熔丝断"},
    {46, "Cable connection error", "并机连线故障"},
    {47, "Parallel relay fault", "并机继电器故障"},
    {48, "LBS Not SYNC", "LBS超跟踪"},
    {49, "Initializtion fault", "上电初始化故障"},
    {50, "Inverter on invalid", "开机无效"},
    {51, "Overload", "过载"},
    {52, "Parallel Overload", "并机过载"},
    {53, "DC component over limit", "逆变直流分量过大"},
    {54, "Bypass over current", "旁路过流"},
    {55, "Feedback protection", "回馈保护"},
    {56, "DC BUS volt. abnormal", "BUS电压异常"},
    {64, "Battery Fault", "电池损坏"},
    {65, "Battery temperature over", "电池过温"},
    {66, "Battery over voltage", "电池电压高"},
    {67, "Battery under voltage", "电池电压低"},
    {68, "Fire Alarm", "火灾报警"},
    {69, "Fog Alarm", "烟雾报警"},
    // The units word alarms 70 and 71 in Chinese only; the English is ours.
    {70, "Wrong model type", "机型错误"},
    {71, "Preventive maintenance due", "预防性维护时间到"},
    {100, "Main frequency abnormal", "主路频率异常"},
    {101, "Main fuse broken", "主路熔丝断"},
    {102, "Main phase sequence not OK", "主路相序反"},
    {103, "Main open-phase", "主路缺相故障"},
    {104, "Auxiliary power supply 1 power down", "辅助电源1掉电"},
    {105, "Auxiliary power supply 2 power down", "辅助电源2掉电"},
    {106, "limited rectifier current", "整流器限流"},
    {107, "Soft-start failure", "软启动失败"},
    {108, "Rectifier over-temperature", "整流器过温"},
    {109, "Input filter failure", "输入滤波器故障"},
    {110, "Filter over-current", "滤波器过流"},
    {111, "Filter contactor failure", "滤波器接触器故障"},
    {112, "Rectifier drive cable fault", "整流器驱动电缆故障"},
    {113, "Rectifier communication fault", "整流通讯故障"},
    {114, "Inverter over-temperature", "逆变器过温"},
    {115, "Fan fault", "风扇故障"},
    {116, "Inverter thyristor fault", "逆变晶闸管故障"},
    {117, "Bypass thyristor fault", "旁路晶闸管故障"},
    {118, "User operation error", "用户操作错误"},
    {119, "Single output overload", "单机输出过载"},
    {120, "Parallel system overload", "并机系统过载"},
    {121, "Single overload overtime", "单机过载超时"},
    {122, "Bypass abnormal,shutdown", "旁路异常关机"},
    {123, "AC output over-voltage", "交流输出过压"},
    {124, "Inverter over-current", "逆变器过流"},
    {125, "Bypass phase sequence is not OK", "旁路相序反"},
    {126, "Transient overload, transfer to bypass", "负载冲击转旁路"},
    {127, "Limit transfer times to bypass", "旁路切换次数限制"},
    {128, "Current unbalanced in parallel system", "并机均流故障"},
    {129, "Bus abnormal, shutdown", "母线异常关机"},
    {130, "Neighbor request to transfer to bypass", "邻机请求转旁路"},
    {131, "Parallel board fault", "并机板故障"},
    {132, "Parallel cable connection fault", "并机线连线故障"},
    {133, "Parallel communication fault", "并机通讯故障"},
    {134, "Bypass over-current", "旁路过流故障"},
    {135, "LBS fault", "LBS故障"},
    {136, "Bypass inductor over-temperature", "旁路电感过温"},
    {137, "Static switch over-temperature", "静态开关过温"},
    {138, "Return to mains via the bypass", "旁路反灌故障"},
    {139, "Inverter drive cable fault", "逆变器驱动电缆故障"},
    {140, "Inverter communication fault", "逆变通讯故障"},
    {141, "Battery pre-alarm fault in parallel system", "并机系统电池预告警故障"},
    {142, "Emergency power off", "紧急关机"},
    {143, "High ambient temperature", "环境温度过高"},
    {144, "Battery needs maintenance or its life end", "蓄电池需维护或电池寿命终结"},
    {145, "Battery temperature is too high", "电池温度过高"},
    {146, "Battery ground fault", "电池接地故障"},
    {147, "Battery fuse broken", "电池熔丝断"},
    {148, "BCB disconnected", "BCB未接入"},
    {149, "", ""}, // raised by the ROrizu decoder, never shown
    {150, "Over-voltage on BUS capacitor", "母线电容过压"},
    {151, "Over-voltage on BUS", "母线过压"},
    {152, "", ""},
    {153, "Input current unbalanced", "输入电流不均"},
    {154, "Output capacitor needs maintenance", "输出电容需维护"},
    {155, "Transfer times to filter is out of range", "滤波器切换次数到"},
    {160, "BCB Break", "BCB断开"},
    {201, "Inverter not sync", "逆变器不同步"},
    {202, "Mains Volt. abnormity", "主路电压异常"},
    {203, "Rectifier block", "整流器封锁"},
    {204, "Inverter Volt. abnormity", "逆变输出电压异常"},
    {205, "Bypass Not Available", "旁路异常"},
    {206, "Battery Under Voltage", "电池电压低"},
    {207, "Battery Over Voltage", "电池电压高"},
    {208, "No Battery", "电池无"},
    {209, "Battery Low Pre-warning", "电池欠压"},
    {210, "Battery Reverse", "电池接反"},
};

template <size_t N>
QString Lookup(const CodeText (&table)[N], qint32 code, quint8 language)
{
    const auto row = std::find_if(std::begin(table), std::end(table),
                                  [code](const CodeText &entry) { return entry.code == code; });
    if (row == std::end(table))
        return QString();
    return QString::fromUtf8(IsChineseLanguage(language) ? row->chinese : row->english);
}

} // namespace

QString GetEventText(qint32 code, quint8 language)
{
    return Lookup(kEventTexts, code, language);
}

QString GetStateText(qint32 code, quint8 language)
{
    return Lookup(kStateTexts, code, language);
}

QString GetAlarmText(qint32 code, quint8 language)
{
    return Lookup(kAlarmTexts, code, language);
}
