#include "control/UserSetTexts.h"

#include "model/TUpsInfo.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<std::string, QString> Texts(const TUpsPara &para, quint8 language = 0)
{
    std::map<std::string, QString> texts;
    for (const auto &value : UserSetTexts::ValueTexts(para, language))
        texts[value.Box] = value.Text;
    return texts;
}

TEST(UserSetTextsTest, AnEmptyBlockShowsZerosAndEnabled)
{
    const auto texts = Texts(TUpsPara{});
    EXPECT_EQ(texts.size(), UserSetTexts::ValueBoxes().size());
    const std::map<std::string, QString> expected = {
        {"edtSetMode", "Normal"}, {"edtVoltLevel", "0"}, {"edtFreqLevel", "0"}, {"edtParaNum", "0"},
        {"edtRedunNum", "0"}, {"edtBpsFreq", "0%"}, {"edtBpsVMax", "0%"}, {"edtBpsVMin", "0%"},
        {"edtOutputVFine", "0.0%"}, {"edtSysID", "0"}, {"edtBuzzer", "enable"}, {"edtOptVolt", "Normal"},
        {"edtBattNum", "0"}, {"edtBattCap", "0"}, {"edtBattGroup", "0"}, {"edtBattBoostV", "0.00"},
        {"edtBattFloat", "0.00"}, {"edtEodV", "0.00"}, {"edtPreAlarm", "0"}, {"edtBoostLast", "0"},
        {"edtMaxChgCurr", "0"}, {"edtBoostChg", "enable"},
    };
    EXPECT_EQ(texts, expected);
}

TEST(UserSetTextsTest, SignedUnsignedAndScaledFields)
{
    TUpsPara para;
    para.WorkMode = 3;
    para.VoltLevel = 230;
    para.BypassVoltMax = 250; // 8 bits, unsigned
    para.BypassVoltMin = static_cast<std::int16_t>(65516);
    para.InvVoltTrim = 15;
    para.BattAh = 65000; // 16 bits, unsigned
    para.BoostVolt = 235;
    para.FloatVolt = 227;
    para.EodVolt = 180;
    para.StatusControl = 0x3000;
    para.OperationMode = 2;
    auto texts = Texts(para);
    EXPECT_EQ(texts["edtSetMode"], "Slave");
    EXPECT_EQ(texts["edtVoltLevel"], "230");
    EXPECT_EQ(texts["edtBpsVMax"], "250%");
    EXPECT_EQ(texts["edtBpsVMin"], "-20%");
    EXPECT_EQ(texts["edtOutputVFine"], "1.5%");
    EXPECT_EQ(texts["edtBattCap"], "65000");
    EXPECT_EQ(texts["edtBattBoostV"], "2.35");
    EXPECT_EQ(texts["edtBattFloat"], "2.27");
    EXPECT_EQ(texts["edtEodV"], "1.80");
    EXPECT_EQ(texts["edtBuzzer"], "disable");
    EXPECT_EQ(texts["edtBoostChg"], "disable");
    EXPECT_EQ(texts["edtOptVolt"], "Frequency variable");

    para.InvVoltTrim = -5;
    para.StatusControl = 0x1000; // buzzer only
    para.WorkMode = 5;
    texts = Texts(para);
    EXPECT_EQ(texts["edtOutputVFine"], "-0.5%");
    EXPECT_EQ(texts["edtBuzzer"], "disable");
    EXPECT_EQ(texts["edtBoostChg"], "enable");
    EXPECT_EQ(texts["edtSetMode"], ""); // no word for it
}

TEST(UserSetTextsTest, OperationModeByLanguage)
{
    const struct { std::uint8_t mode; const char *english; const char *chinese; } cases[] = {
        {0, "Normal", "普通模式"}, {1, "Sleep", "休眠模式"}, {2, "Frequency variable", "变频模式"}, {7, "7", "7"},
    };
    for (const auto &c : cases) {
        TUpsPara para;
        para.OperationMode = c.mode;
        EXPECT_EQ(Texts(para, 0)["edtOptVolt"], QString::fromUtf8(c.english));
        EXPECT_EQ(Texts(para, 1)["edtOptVolt"], QString::fromUtf8(c.chinese));
    }
}

TEST(UserSetTextsTest, WhenValuesAndTheOperationModeShow)
{
    EXPECT_TRUE(UserSetTexts::OperationModeShown("QMX960LD"));
    for (const char *name : {"qmx960ld", "QMX960LD ", "", "LQW4817"})
        EXPECT_FALSE(UserSetTexts::OperationModeShown(name)) << name;

    TUpsInfo rec;
    for (std::uint8_t link : {kLinkOnline, kLinkError, kLinkLost}) {
        rec.LinkState = link;
        EXPECT_EQ(UserSetTexts::ShowsValues(true, rec), link == kLinkOnline);
        EXPECT_FALSE(UserSetTexts::ShowsValues(false, rec));
    }
}

} // namespace
