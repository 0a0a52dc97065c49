#include "control/ParaSetRules.h"

#include "model/TUpsInfo.h"
#include "protocol/TCommandQueue.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace ParaSetRules;

TEST(ParaSetRulesTest, OperationModeRowOnlyForItsModel)
{
    const std::vector<TRow> rows = Rows("RNB6800");
    ASSERT_EQ(rows.size(), 19u);
    EXPECT_EQ(rows[18].Reg, 40002u);
    EXPECT_EQ(RowCaption(rows[15], 0), "Staus Control");
    EXPECT_EQ(RowCaption(rows[14], 1), QString::fromUtf8("均充持续时间（分钟）"));

    const std::vector<TRow> withMode = Rows("QMX960LD");
    ASSERT_EQ(withMode.size(), 20u);
    EXPECT_EQ(withMode[19].Reg, 40029u);
    EXPECT_EQ(withMode[19].Editor, TEditor::List);
    EXPECT_EQ(RowCaption(withMode[19], 1), QString::fromUtf8("操作模式"));
}

struct ChoiceCase {
    const char *name;
    int row;
    const char *model;
    std::function<void(TUpsPara &)> present;
    QStringList entries;
    int selected;
};

TEST(ParaSetRulesTest, ChoicesDependOnModelAndPresentValues)
{
    const std::vector<ChoiceCase> cases = {
        {"work mode", 0, "", [](TUpsPara &p) { p.WorkMode = 4; }, {"Normal", "ECO", "Parallel"}, 2},
        {"work mode without an entry", 0, "", [](TUpsPara &p) { p.WorkMode = 2; }, {"Normal", "ECO", "Parallel"}, -1},
        {"low-voltage model", 1, "QMX480", [](TUpsPara &p) { p.VoltLevel = 120; }, {"110V", "115V", "120V", "127V"}, 2},
        {"other models", 1, "qmx480", [](TUpsPara &p) { p.VoltLevel = 120; }, {"220V", "230V", "240V"}, -1},
        {"frequency", 2, "", [](TUpsPara &p) { p.FreqLevel = 60; }, {"50Hz", "60Hz"}, 1},
        {"bypass frequency", 3, "", [](TUpsPara &p) { p.BypassFreqRange = 10; }, {"1%", "2%", "4%", "5%", "10%"}, 4},
        {"upper limit at 240 V", 4, "", [](TUpsPara &p) { p.VoltLevel = 240; p.BypassVoltMax = 25; }, {"10%", "15%"}, -1},
        {"upper limit at 230 V", 4, "", [](TUpsPara &p) { p.VoltLevel = 230; p.BypassVoltMax = 16; }, {"10%", "15%", "20%"}, 2},
        {"upper limit at 220 V", 4, "", [](TUpsPara &p) { p.VoltLevel = 220; p.BypassVoltMax = 30; }, {"10%", "15%", "20%", "25%"}, 3},
        {"upper limit between entries", 4, "", [](TUpsPara &p) { p.VoltLevel = 220; p.BypassVoltMax = 22; }, {"10%", "15%", "20%", "25%"}, -1},
        {"upper limit low", 4, "", [](TUpsPara &p) { p.VoltLevel = 220; p.BypassVoltMax = 3; }, {"10%", "15%", "20%", "25%"}, 0},
        {"lower limit at 220 V", 5, "", [](TUpsPara &p) { p.VoltLevel = 220; p.BypassVoltMin = -20; }, {"-45%", "-30%", "-20%"}, 2},
        {"lower limit at 120 V", 5, "", [](TUpsPara &p) { p.VoltLevel = 120; p.BypassVoltMin = -10; }, {"-45%", "-30%", "-20%", "-10%"}, 3},
        {"lower limit, low-voltage model", 5, "QMX480", [](TUpsPara &p) { p.VoltLevel = 220; }, {"-45%", "-30%", "-20%", "-10%"}, -1},
        {"trim below zero", 6, "", [](TUpsPara &p) { p.InvVoltTrim = -20; }, {"0%", "1%", "2%", "3%", "4%", "5%"}, 0},
        {"trim in tenths", 6, "", [](TUpsPara &p) { p.InvVoltTrim = 39; }, {"0%", "1%", "2%", "3%", "4%", "5%"}, 3},
        {"trim above the list", 6, "", [](TUpsPara &p) { p.InvVoltTrim = 90; }, {"0%", "1%", "2%", "3%", "4%", "5%"}, 5},
        {"short strings", 7, "RNB6800", [](TUpsPara &p) { p.BattCells = 18; }, {"16", "18", "20"}, 1},
        {"short strings, too long", 7, "RNB6800", [](TUpsPara &p) { p.BattCells = 32; }, {"16", "18", "20"}, -1},
        {"one string", 7, "QMX480", [](TUpsPara &p) { p.BattCells = 40; }, {"24"}, 0},
        {"other strings", 7, "", [](TUpsPara &p) { p.BattCells = 33; }, {"26", "28", "30", "32", "34", "36", "38", "40"}, 3},
        {"other strings, too short", 7, "", [](TUpsPara &p) { p.BattCells = 24; }, {"26", "28", "30", "32", "34", "36", "38", "40"}, -1},
        {"float", 10, "", [](TUpsPara &p) { p.FloatVolt = 225; }, {"2.20", "2.21", "2.22", "2.23", "2.24", "2.25", "2.26", "2.27", "2.28", "2.29"}, 5},
        {"operation mode", 19, "QMX960LD", [](TUpsPara &p) { p.OperationMode = 2; }, {"Normal", "Freq Variable"}, 1},
        {"operation mode not listed", 19, "QMX960LD", [](TUpsPara &p) { p.OperationMode = 1; }, {"Normal", "Freq Variable"}, -1},
    };
    for (const ChoiceCase &c : cases) {
        TUpsPara para;
        c.present(para);
        const TChoices choices = Choices(c.row, para, QString::fromLatin1(c.model), 0);
        EXPECT_EQ(choices.Entries, c.entries) << c.name;
        EXPECT_EQ(choices.Selected, c.selected) << c.name;
    }

    TUpsPara boost;
    boost.BoostVolt = 240;
    const TChoices boostChoices = Choices(9, boost, QString(), 0);
    EXPECT_EQ(boostChoices.Entries.size(), 11);
    EXPECT_EQ(boostChoices.Entries.front(), "2.30");
    EXPECT_EQ(boostChoices.Selected, 10);
    EXPECT_EQ(Choices(19, TUpsPara{}, "QMX960LD", 1).Entries,
              (QStringList{QString::fromUtf8("普通模式"), QString::fromUtf8("变频模式")}));
}

TEST(ParaSetRulesTest, NumberRowsStartFromThePresentValue)
{
    TUpsPara para;
    para.BattGroups = 2;
    para.EodVolt = 175;
    para.MaxChargeCurrent = 20;
    para.ParallelId = 3;
    EXPECT_EQ(NumberText(8, para), "2");
    EXPECT_EQ(NumberText(11, para), "1.75");
    EXPECT_EQ(NumberText(13, para), "20");
    EXPECT_EQ(NumberText(18, para), "3");
}

struct CheckCase {
    const char *name;
    int row;
    TInput input;
    const char *model;
    bool ok;
    std::uint16_t value;   // when ok
    const char *message;   // when not ok
    const char *editText;  // new text of the number box; nullptr when unchanged
};

TInput Entry(int entry)
{
    TInput input;
    input.Entry = entry;
    return input;
}

TInput Text(const char *text)
{
    TInput input;
    input.EditText = QString::fromLatin1(text);
    return input;
}

TInput Switches(bool buzzerDisabled, bool boostDisabled)
{
    TInput input;
    input.BuzzerDisabled = buzzerDisabled;
    input.BoostChargeDisabled = boostDisabled;
    return input;
}

TEST(ParaSetRulesTest, ValidateTurnsTheChoiceIntoTheRegisterValue)
{
    const std::vector<CheckCase> cases = {
        {"work mode", 0, Entry(2), "", true, 4, "", nullptr},
        {"work mode, none chosen", 0, Entry(-1), "", false, 0, "[Work Mode] value is invalid", nullptr},
        {"voltage, low-voltage model", 1, Entry(3), "QMX480", true, 127, "", nullptr},
        {"voltage, none chosen", 1, Entry(-1), "", false, 0, "[System Voltage Level] value is invalid", nullptr},
        {"frequency", 2, Entry(-1), "", false, 0, "[System Frequence Level] value is invalid", nullptr},
        {"bypass frequency", 3, Entry(-1), "", false, 0, "[Bypass Frequence Range] value is invalid", nullptr},
        {"upper limit", 4, Entry(3), "", true, 25, "", nullptr},
        {"upper limit, none", 4, Entry(-1), "", false, 0, "[Bypass Volt Upper Limit] value is invalid", nullptr},
        {"lower limit", 5, Entry(0), "", true, 65491, "", nullptr},
        {"lower limit, none", 5, Entry(-1), "", false, 0, "[Bypass Volt lower Limit] value is invalid", nullptr},
        {"trim", 6, Entry(4), "", true, 40, "", nullptr},
        {"trim, none", 6, Entry(-1), "", false, 0, "[Invert-Volt adjustment] value is invalid", nullptr},
        {"cells, short strings", 7, Entry(2), "RNB6800", true, 20, "", nullptr},
        {"cells, one string needs no choice", 7, Entry(-1), "QMX480", true, 24, "", nullptr},
        {"cells, others", 7, Entry(7), "", true, 40, "", nullptr},
        {"cells, none", 7, Entry(-1), "", false, 0, "[Battery Num] value is invalid", nullptr},
        {"groups", 8, Text("8"), "", true, 8, "", nullptr},
        {"groups, 0", 8, Text("0"), "", false, 0, "[Battery Group] value is invalid", nullptr},
        {"groups, empty", 8, Text(""), "", false, 0, "[Battery Group] value is invalid", nullptr},
        {"groups wrap no more: 65537", 8, Text("65537"), "", false, 0, "[Battery Group] value is invalid", nullptr},
        {"groups, a decimal", 8, Text("1.5"), "", false, 0, "[Battery Group] value is invalid", nullptr},
        {"boost", 9, Entry(5), "", true, 235, "", nullptr},
        {"boost, none", 9, Entry(-1), "", false, 0, "[Boost upper limit Volt] value is invalid", nullptr},
        {"float", 10, Entry(9), "", true, 229, "", nullptr},
        {"float, none", 10, Entry(-1), "", false, 0, "[Float base Volt] value is invalid", nullptr},
        {"EOD", 11, Text("1.85"), "", true, 185, "", "1.85"},
        {"EOD, whole volts", 11, Text("1.2"), "", true, 120, "", "1.20"},
        {"EOD, upper end", 11, Text("1.9"), "", true, 190, "", "1.90"},
        {"EOD, cut to hundredths", 11, Text("1.857"), "", true, 185, "", "1.85"},
        {"EOD, too high", 11, Text("1.95"), "", false, 0, "[EOD Volt] value is invalid", "1.80"},
        {"EOD, too low", 11, Text("1.1"), "", false, 0, "[EOD Volt] value is invalid", "1.80"},
        {"EOD, not a number", 11, Text("1..8"), "", false, 0, "[EOD Volt] value is invalid", "1.80"},
        {"EOD, nan", 11, Text("nan"), "", false, 0, "[EOD Volt] value is invalid", "1.80"},
        {"EOD, infinite", 11, Text("inf"), "", false, 0, "[EOD Volt] value is invalid", "1.80"},
        {"capacity", 12, Text("2000"), "", true, 2000, "", nullptr},
        {"capacity, too big", 12, Text("2001"), "", false, 0, "[Single Battery Capability] value is invalid", nullptr},
        {"charge current at the limit", 13, Text("50"), "", true, 50, "", nullptr},
        {"charge current above it", 13, Text("60"), "", false, 0, "[Max Charge current] value is invalid", "50"},
        {"charge current, empty", 13, Text(""), "", false, 0, "[Max Charge current] value is invalid", "50"},
        {"boost time", 14, Text("600"), "", true, 600, "", nullptr},
        {"boost time, too long", 14, Text("601"), "", false, 0, "[Boost Last Time] value is invalid", "30"},
        {"boost time, a decimal", 14, Text("12.5"), "", false, 0, "[Boost Last Time] value is invalid", "30"},
        {"both disabled", 15, Switches(true, true), "", true, 12288, "", nullptr},
        {"both enabled", 15, Switches(false, false), "", true, 0, "", nullptr},
        {"buzzer disabled", 15, Switches(true, false), "", true, 4096, "", nullptr},
        {"parallel amount", 16, Text("0"), "", true, 0, "", nullptr},
        {"parallel amount beyond its byte", 16, Text("256"), "", false, 0, "[Parallel Amount] value is invalid", nullptr},
        {"parallel amount, empty", 16, Text(""), "", false, 0, "[Parallel Amount] value is invalid", nullptr},
        {"redundancy 0", 17, Text("0"), "", true, 0, "", nullptr},
        {"redundancy 2 of 3", 17, Text("2"), "", true, 2, "", nullptr},
        {"redundancy 3 of 3", 17, Text("3"), "", false, 0, "[Parallel Redundancy] value is invalid", "2"},
        {"parallel ID 1", 18, Text("1"), "", true, 1, "", nullptr},
        {"parallel ID 14", 18, Text("14"), "", true, 14, "", nullptr},
        {"parallel ID 0", 18, Text("0"), "", false, 0, "[Parallel ID] value is invalid", nullptr},
        {"parallel ID 15", 18, Text("15"), "", false, 0, "[Parallel ID] value is invalid", nullptr},
        {"operation mode", 19, Entry(1), "QMX960LD", true, 2, "", nullptr},
        {"operation mode, none", 19, Entry(-1), "QMX960LD", false, 0, "[Operation Mode] value is invalid", nullptr},
    };
    TUpsPara present;
    present.BattAh = 100;
    present.BattGroups = 2;
    present.ParallelCount = 3;
    for (const CheckCase &c : cases) {
        const TCheck check = Validate(c.row, c.input, present, QString::fromLatin1(c.model));
        EXPECT_EQ(check.Errors == 0, c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(check.Value, c.value) << c.name;
        } else {
            EXPECT_EQ(check.Message, QString::fromLatin1(c.message)) << c.name;
        }
        EXPECT_EQ(check.EditText.has_value(), c.editText != nullptr) << c.name;
        EXPECT_EQ(check.EditText.value_or(QString()), QString::fromLatin1(c.editText ? c.editText : "")) << c.name;
        const TFocus focus = RowAt(c.row)->Editor == TEditor::Number ? TFocus::Edit : TFocus::List;
        EXPECT_EQ(check.Focus, c.ok ? TFocus::None : focus) << c.name;
    }
}

TEST(ParaSetRulesTest, LimitsFromThePresentBlock)
{
    TUpsPara present; // nothing read yet
    EXPECT_EQ(*Validate(13, Text("1"), present, "").EditText, "0");
    EXPECT_EQ(*Validate(17, Text("1"), present, "").EditText, "0");
    present.BattAh = 2000;
    present.BattGroups = 200; // 100000 A, kept to 16 bits
    EXPECT_EQ(*Validate(13, Text("40000"), present, "").EditText, QString::number(100000 & 0xFFFF));
}

TEST(ParaSetRulesTest, QueueWriteFillsTheImageAndTheSlots)
{
    TCommandQueue queue;
    queue.ParaSetValue.BattAh = 77;
    EXPECT_TRUE(QueueWrite(queue, 2, 5, "RNB6800", 40013, 65516));
    EXPECT_EQ(queue.ParaSetValue.BypassVoltMin, -20);
    EXPECT_EQ(queue.ParaSetValue.BattAh, 77); // the rest of the image stays
    const TUpsCommand &slot = queue.Slots[0];
    EXPECT_EQ(slot.Pending, 255);
    EXPECT_EQ(slot.Addr, 5);
    EXPECT_EQ(slot.FuncCode, 6);
    EXPECT_EQ(slot.StartReg, 40013u);
    EXPECT_EQ(slot.RegCount, 1u);
    EXPECT_EQ(queue.Slots[1].Pending, 0);

    TCommandQueue pair;
    EXPECT_TRUE(QueueWrite(pair, 3, 5, "VTR5400", 40005, 230));
    EXPECT_EQ(pair.ParaSetValue.VoltLevel, 230);
    EXPECT_EQ(pair.Slots[0].StartReg, 50000u);
    EXPECT_EQ(pair.Slots[1].StartReg, 40005u);
    EXPECT_EQ(pair.Slots[1].Pending, 255);
    EXPECT_EQ(pair.Slots[1].Addr, 5);

    TCommandQueue ascii;
    EXPECT_FALSE(QueueWrite(ascii, 0, 5, "", 40004, 0xFFFF));
    EXPECT_EQ(ascii.ParaSetValue.WorkMode, -1); // sign-extended
    EXPECT_FALSE(ascii.AnyPending());
}

} // namespace
