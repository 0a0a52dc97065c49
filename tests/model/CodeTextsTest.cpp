#include "model/CodeTexts.h"

#include <gtest/gtest.h>

namespace {

constexpr quint8 kEnglish = 0;
constexpr quint8 kChinese = 1;

using Lookup = QString (*)(qint32, quint8);

struct Row
{
    const char *table;
    Lookup lookup;
    qint32 code;
    const char *english;
    const char *chinese;
};

TEST(CodeTexts, TextsInBothLanguages)
{
    const Row rows[] = {
        {"event", GetEventText, 18, "Communication lost", "通讯中断"},
        {"event", GetEventText, 19, "Communication Error", "通讯异常"},
        {"event", GetEventText, 22, "Communication upbuilt", "通讯建立"},
        {"event", GetEventText, 23, "Communication recovered", "通讯恢复"},
        {"state", GetStateText, 1, "Standby Status", "待机状态"},
        {"state", GetStateText, 4, "Online", "市电状态"},
        {"state", GetStateText, 9, "EPO Status", "EPO状态"},
        {"state", GetStateText, 11, "Fault Status", "故障模式"},
        {"state", GetStateText, 18, "Communication lost", "通讯中断"},
        {"alarm", GetAlarmText, 0, "Rectifier fault", "整流器故障"},
        {"alarm", GetAlarmText, 15, "Soft start failed", "软启动失败"},
        {"alarm", GetAlarmText, 25, "Mains volt. abnormal", "市电电压异常"},
        {"alarm", GetAlarmText, 43, "Bypass Not Available", "旁路超保护"},
        {"alarm", GetAlarmText, 49, "Initializtion fault", "上电初始化故障"},
        {"alarm", GetAlarmText, 56, "DC BUS volt. abnormal", "BUS电压异常"},
        {"alarm", GetAlarmText, 69, "Fog Alarm", "烟雾报警"},
        {"alarm", GetAlarmText, 70, "Wrong model type", "机型错误"},
        {"alarm", GetAlarmText, 71, "Preventive maintenance due", "预防性维护时间到"},
        {"alarm", GetAlarmText, 100, "Main frequency abnormal", "主路频率异常"},
        {"alarm", GetAlarmText, 106, "limited rectifier current", "整流器限流"},
        {"alarm", GetAlarmText, 107, "Soft-start failure", "软启动失败"},
        {"alarm", GetAlarmText, 122, "Bypass abnormal,shutdown", "旁路异常关机"},
        {"alarm", GetAlarmText, 144, "Battery needs maintenance or its life end", "蓄电池需维护或电池寿命终结"},
        {"alarm", GetAlarmText, 155, "Transfer times to filter is out of range", "滤波器切换次数到"},
        {"alarm", GetAlarmText, 160, "BCB Break", "BCB断开"},
        {"alarm", GetAlarmText, 201, "Inverter not sync", "逆变器不同步"},
        {"alarm", GetAlarmText, 205, "Bypass Not Available", "旁路异常"},
        {"alarm", GetAlarmText, 210, "Battery Reverse", "电池接反"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(r.lookup(r.code, kEnglish), QString::fromUtf8(r.english)) << r.table << " " << r.code;
        EXPECT_EQ(r.lookup(r.code, kChinese), QString::fromUtf8(r.chinese)) << r.table << " " << r.code;
    }
}

TEST(CodeTexts, CodesOutsideATableHaveNoText)
{
    const struct { const char *table; Lookup lookup; qint32 code; } rows[] = {
        {"event", GetEventText, 17}, {"event", GetEventText, 24}, {"event", GetEventText, 1},
        {"state", GetStateText, -1}, {"state", GetStateText, 0}, {"state", GetStateText, 12},
        {"state", GetStateText, 17}, {"state", GetStateText, 19},
        {"alarm", GetAlarmText, -1}, {"alarm", GetAlarmText, 26}, {"alarm", GetAlarmText, 31},
        {"alarm", GetAlarmText, 57}, {"alarm", GetAlarmText, 72}, {"alarm", GetAlarmText, 99},
        {"alarm", GetAlarmText, 149}, {"alarm", GetAlarmText, 152}, {"alarm", GetAlarmText, 156},
        {"alarm", GetAlarmText, 159}, {"alarm", GetAlarmText, 161}, {"alarm", GetAlarmText, 200},
        {"alarm", GetAlarmText, 211},
    };
    for (const auto &r : rows) {
        EXPECT_TRUE(r.lookup(r.code, kEnglish).isEmpty()) << r.table << " " << r.code;
        EXPECT_TRUE(r.lookup(r.code, kChinese).isEmpty()) << r.table << " " << r.code;
    }
}

TEST(CodeTexts, OnlyLanguageOneIsChinese)
{
    EXPECT_EQ(GetStateText(4, 2), QStringLiteral("Online"));
    EXPECT_EQ(GetStateText(4, 255), QStringLiteral("Online"));
}

TEST(CodeTexts, AlarmRangesHaveNoGaps)
{
    // Every code of the five ranges has words in both languages, except
    // 149 and 152, which the ROrizu decoder raises but nothing shows.
    for (qint32 code = 0; code <= 210; ++code) {
        const bool inRange = code <= 25 || (code >= 32 && code <= 56) || (code >= 64 && code <= 71)
            || (code >= 100 && code <= 155) || code == 160 || code >= 201;
        const bool shown = inRange && code != 149 && code != 152;
        EXPECT_EQ(!GetAlarmText(code, kEnglish).isEmpty(), shown) << code;
        EXPECT_EQ(!GetAlarmText(code, kChinese).isEmpty(), shown) << code;
    }
}

} // namespace
