#include "model/RealTimeValues.h"

#include "model/TUpsInfo.h"

#include <gtest/gtest.h>

TEST(RealTimeValues, ValueFields)
{
    TUpsInfo rec;
    rec.InputVolt[0] = 219.96;
    rec.OutputVolt[2] = 230.04;
    rec.LoadPercent[0] = 45.6;
    rec.OutputFreq = 49.96;
    rec.DcVolt = 432.25;
    rec.BattCapacity = 87;
    rec.BattBackupTime = -1; // 0xFFFF minutes on the wire
    const TRealTimeValues v = RealTimeValuesOf(rec, 2, 0);
    EXPECT_EQ(v.InputVoltText[0], "220.0 V");
    EXPECT_EQ(v.InputVoltText[1], "0.0 V");
    EXPECT_EQ(v.OutputVoltText[2], "230.0 V");
    EXPECT_EQ(v.LoadPercentText[0], "46 %");
    EXPECT_EQ(v.OutputFreqText, "50.0");
    EXPECT_EQ(v.DcVoltText, "432.3");
    EXPECT_EQ(v.BattCapacityText, "87");
    EXPECT_EQ(v.BattBackupTimeText, "65535");
}

TEST(RealTimeValues, ModeAndStateText)
{
    const struct { std::int32_t state; quint8 language; UpsMode mode; const char *text; } cases[] = {
        {4, 0, UpsMode::Online, "Online"},
        {6, 0, UpsMode::Test, "Battery Self-Test"},
        {10, 0, UpsMode::Standby, "Maintain Bypass Status"},
        {-1, 0, UpsMode::None, "Communication lost"},
        {-1, 1, UpsMode::None, "通讯中断"},
    };
    for (const auto &c : cases) {
        TUpsInfo rec;
        rec.State = c.state;
        const TRealTimeValues v = RealTimeValuesOf(rec, 2, c.language);
        EXPECT_EQ(v.Mode, c.mode) << c.state;
        EXPECT_EQ(v.StateText, QString::fromUtf8(c.text)) << c.state;
    }
}

TEST(RealTimeValues, SupplyTexts)
{
    const struct { std::uint8_t input; std::uint8_t ups; std::int32_t workMode; quint8 language;
                   std::optional<QString> inputText; std::optional<QString> upsText; } cases[] = {
        {0, 0, 0, 0, "No Supply", "No Supply"},
        {1, 1, 0, 0, "Mains Supply", "Inverter Supply"},
        {2, 2, 0, 0, "Battery Supply", "Bypass Supply"},
        {2, 2, 1, 0, "Battery Supply", "ECO"},
        {1, 2, 0, 1, QString::fromUtf8("市电供电"), QString::fromUtf8("旁路供电")},
        {3, 3, 0, 0, std::nullopt, std::nullopt}, // unknown codes leave the rows as they were
    };
    for (const auto &c : cases) {
        TUpsInfo rec;
        rec.InputSupply = c.input;
        rec.UpsSupply = c.ups;
        rec.Para.WorkMode = c.workMode;
        const TRealTimeValues v = RealTimeValuesOf(rec, 2, c.language);
        EXPECT_EQ(v.InputSupplyText, c.inputText) << int(c.input);
        EXPECT_EQ(v.UpsSupplyText, c.upsText) << int(c.ups);
    }
}

TEST(RealTimeValues, StatusWordsAndSystemWordsByProtocol)
{
    TUpsInfo rec;
    rec.CmmState1 = 0x0100;
    rec.CmmState2 = 0xABCD;
    rec.InvAlarm2 = 0x0F;
    rec.SysState = 0x1234;
    rec.SysAlarm = 0xFFFF;
    rec.UpsStateCode = 7;
    rec.State = 4;
    for (quint8 protocol : {0, 1, 2, 3}) {
        const TRealTimeValues v = RealTimeValuesOf(rec, protocol, 0);
        EXPECT_EQ(v.CmmStateText, "0100-ABCD");
        EXPECT_EQ(v.InvAlarmText, "0000-000F");
        EXPECT_EQ(v.UpsStateText, "7(4)");
        const bool system = protocol == 0 || protocol == 2;
        EXPECT_EQ(v.SystemWordsShown, system) << int(protocol);
        EXPECT_EQ(v.SysStateText, system ? "1234" : "") << int(protocol);
        EXPECT_EQ(v.SysAlarmText, system ? "FFFF" : "") << int(protocol);
        EXPECT_EQ(StatusWordGroupWidth(v.SystemWordsShown), system ? 222 : 170);
    }
}

TEST(RealTimeValues, AlarmLinesSkipCodesWithoutTextAndStayInsideTheList)
{
    TUpsInfo rec;
    rec.AlarmCount = 3;
    rec.AlarmList[0] = 17;
    rec.AlarmList[1] = 5000; // no text
    rec.AlarmList[2] = 18;
    EXPECT_EQ(RealTimeValuesOf(rec, 2, 0).AlarmLines, (QStringList{"Battery reverse", "No battery"}));

    // A count beyond the list reads no further than its end.
    rec.AlarmList.fill(9);
    rec.AlarmCount = 255;
    EXPECT_EQ(RealTimeValuesOf(rec, 2, 0).AlarmLines.size(), kAlarmListSize);
}

TEST(RealTimeValues, BatteryFlowFollowsTheRecord)
{
    TUpsInfo rec;
    rec.LinkState = kLinkOnline;
    rec.State = 5;
    rec.CmmState1 = 0x0100;
    rec.DischargeCurrent = 10.7;
    const BatteryFlow reverse = RealTimeValuesOf(rec, 2, 0).Flow;
    EXPECT_EQ(reverse, (BatteryFlow{true, true, FlowDirection::Reverse, 280}));
    EXPECT_FALSE(RealTimeValuesOf(rec, 1, 0).Flow.visible);
}
