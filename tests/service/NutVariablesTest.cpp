#include "service/NutVariables.h"

#include "model/TUpsInfo.h"
#include "model/UpsInfoRules.h"

#include <QMap>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

// A Modbus unit online on mains with a full battery.
TUpsInfo OnlineUnit()
{
    TUpsInfo rec;
    rec.Addr = 1;
    rec.LinkState = kLinkOnline;
    rec.State = kStateOnline;
    rec.InputSupply = 1;
    rec.UpsSupply = 1;
    for (int phase = 0; phase < 3; ++phase) {
        rec.InputVolt[phase] = 220.0;
        rec.OutputVolt[phase] = 220.0;
        rec.LoadPercent[phase] = 40.0;
    }
    rec.OutputFreq = 50.0;
    rec.DcVolt = 432.0;
    rec.BattCapacity = 100;
    rec.BattBackupTime = 75;
    return rec;
}

void SetAlarms(TUpsInfo &rec, std::initializer_list<qint32> codes)
{
    rec.AlarmCount = 0;
    for (qint32 code : codes)
        rec.AlarmList[rec.AlarmCount++] = code;
}

QMap<QByteArray, QByteArray> ByName(const std::vector<NutVariables::TVariable> &variables)
{
    QMap<QByteArray, QByteArray> out;
    for (const auto &variable : variables)
        out.insert(variable.Name, variable.Value);
    return out;
}

} // namespace

TEST(NutVariables, StatusFlagsFollowTheStateTheSuppliesAndTheAlarms)
{
    const struct {
        const char *what;
        std::int32_t state;
        std::uint8_t inputSupply;
        std::uint8_t upsSupply;
        std::initializer_list<qint32> alarms;
        std::int16_t backupMinutes;
        double chargeCurrent;
        std::int32_t capacity;
        double loadA;
        quint8 protocol;
        std::uint8_t battTestFlag;
        bool fsd;
        const char *flags;
    } cases[] = {
        {"online, full", kStateOnline, 1, 1, {}, 75, 0.4, 100, 40, 2, 0, false, "OL"},
        {"online, charging", kStateOnline, 1, 1, {}, 60, 3.0, 80, 40, 2, 0, false, "OL CHRG"},
        {"ROrizu reports no charge", kStateOnline, 1, 1, {}, 60, 3.0, 0, 40, 1, 0, false, "OL"},
        {"on battery", kStateBattery, 2, 1, {25}, 60, 0, 80, 40, 2, 0, false, "OB DISCHRG ALARM"},
        {"runtime under LowRuntime", kStateBattery, 2, 1, {}, 4, 0, 10, 40, 2, 0, false, "OB LB DISCHRG"},
        {"runtime 0 is not reported yet", kStateBattery, 2, 1, {}, 0, 0, 0, 40, 2, 0, false, "OB DISCHRG"},
        {"low battery alarm", kStateBattery, 2, 1, {23}, 9, 0, 12, 40, 2, 0, false, "OB LB DISCHRG ALARM"},
        {"ROrizu low battery", kStateBattery, 2, 1, {209}, 9, 0, 0, 40, 1, 0, false, "OB LB DISCHRG ALARM"},
        {"bypass", kStateBypass, 1, 2, {}, 75, 0, 100, 40, 2, 0, false, "OL BYPASS"},
        {"maintenance bypass", kStateMaintBypass, 1, 0, {}, 75, 0, 100, 40, 2, 0, false, "OL BYPASS"},
        {"battery test", kStateBattSelfTest, 2, 1, {}, 70, 0, 95, 40, 2, 0, false, "OL CAL DISCHRG"},
        {"ROrizu battery test", kStateBattSelfTest, 2, 1, {}, 70, 0, 0, 40, 1, 1, false, "OL CAL DISCHRG"},
        {"standby on mains", kStateStandby, 1, 0, {}, 75, 0, 100, 0, 2, 0, false, "OL OFF"},
        {"standby, battery empty, no mains", kStateStandby, 0, 0, {21, 25}, 0, 0, 0, 0, 2, 0, false, "OFF LB ALARM"},
        {"EPO", kStateEpo, 1, 0, {}, 75, 0, 100, 0, 2, 0, false, "OL OFF"},
        {"overload alarm", kStateOnline, 1, 1, {51}, 75, 0, 100, 98, 2, 0, false, "OL OVER ALARM"},
        {"a phase above 100 %", kStateOnline, 1, 1, {}, 75, 0, 100, 104, 2, 0, false, "OL OVER"},
        {"battery to replace", kStateOnline, 1, 1, {64}, 75, 0, 100, 40, 2, 0, false, "OL RB ALARM"},
        {"forced shutdown", kStateBattery, 2, 1, {23}, 3, 0, 5, 40, 2, 0, true, "FSD OB LB DISCHRG ALARM"},
    };
    for (const auto &c : cases) {
        TUpsInfo rec = OnlineUnit();
        rec.State = c.state;
        rec.InputSupply = c.inputSupply;
        rec.UpsSupply = c.upsSupply;
        SetAlarms(rec, c.alarms);
        rec.BattBackupTime = c.backupMinutes;
        rec.ChargeCurrent = c.chargeCurrent;
        rec.BattCapacity = c.capacity;
        rec.LoadPercent[0] = c.loadA;
        rec.BattTestFlag = c.battTestFlag;
        NutVariables::TUnitFacts facts;
        facts.Protocol = c.protocol;
        facts.ForcedShutdown = c.fsd;
        EXPECT_EQ(NutVariables::StatusFlags(rec, facts), QByteArray(c.flags)) << c.what;
    }
}

TEST(NutVariables, AlarmTextIsEnglishAndLeavesOutCodesWithoutText)
{
    TUpsInfo rec = OnlineUnit();
    SetAlarms(rec, {9, 115, 149, 156, 51});
    // 9 and 115 read the same; 149 has an empty text, 156 none at all.
    EXPECT_EQ(NutVariables::AlarmText(rec), QStringLiteral("Fan fault; Overload"));
    SetAlarms(rec, {149});
    EXPECT_EQ(NutVariables::AlarmText(rec), QString());
    EXPECT_EQ(NutVariables::StatusFlags(rec, {}), "OL");
}

TEST(NutVariables, VariablesFollowTheProtocolAndThePhasesSeen)
{
    TUpsInfo rec = OnlineUnit();
    rec.InputVolt[0] = 221.0;
    rec.InputVolt[1] = 222.0;
    rec.InputVolt[2] = 226.0;
    rec.LoadPercent[1] = 55.0;
    rec.ChargeCurrent = 1.5;
    rec.DischargeCurrent = 0.2;
    rec.Para.VoltLevel = 230;
    rec.Para.FreqLevel = 50;
    NutVariables::TUnitFacts facts;
    facts.Protocol = 2;
    facts.LowRuntime = 600;
    facts.Description = QStringLiteral("东区");
    facts.Phases.Note(rec);

    const auto three = NutVariables::Variables(rec, facts);
    const QMap<QByteArray, QByteArray> values = ByName(three);
    EXPECT_EQ(values.value("input.voltage"), "223.0"); // the mean of the phases
    EXPECT_EQ(values.value("input.L3-N.voltage"), "226.0");
    EXPECT_EQ(values.value("ups.load"), "55");          // the fullest phase
    EXPECT_EQ(values.value("ups.L2.load"), "55");
    EXPECT_EQ(values.value("battery.current"), "1.3");
    EXPECT_EQ(values.value("battery.runtime"), "4500");
    EXPECT_EQ(values.value("battery.runtime.low"), "600");
    EXPECT_EQ(values.value("output.voltage.nominal"), "230");
    EXPECT_EQ(values.value("device.description"), "\xe4\xb8\x9c\xe5\x8c\xba");
    EXPECT_TRUE(std::is_sorted(three.begin(), three.end(), [](const auto &a, const auto &b) { return a.Name < b.Name; }));

    // A phase that drops to 0 V later stays listed: it failed, it did not go away.
    rec.InputVolt[1] = 0.0;
    facts.Phases.Note(rec);
    EXPECT_EQ(ByName(NutVariables::Variables(rec, facts)).value("input.L2-N.voltage"), "0.0");

    // A single-phase unit under ROrizu: no phases, no charge, no currents, no
    // parameter block; a value that is no number is left out.
    TUpsInfo single = OnlineUnit();
    single.InputVolt[1] = single.InputVolt[2] = 0.0;
    single.OutputVolt[1] = single.OutputVolt[2] = 0.0;
    single.LoadPercent[1] = single.LoadPercent[2] = 0.0;
    single.OutputFreq = std::numeric_limits<double>::quiet_NaN();
    single.Para.VoltLevel = 230;
    NutVariables::TUnitFacts rorizu;
    rorizu.Protocol = 1;
    rorizu.Phases.Note(single);
    const QMap<QByteArray, QByteArray> plain = ByName(NutVariables::Variables(single, rorizu));
    for (const char *absent : {"input.L1-N.voltage", "output.L2-N.voltage", "ups.L1.load", "battery.charge",
                               "battery.current", "output.voltage.nominal", "output.frequency", "device.description"})
        EXPECT_FALSE(plain.contains(absent)) << absent;
    EXPECT_EQ(plain.value("input.voltage"), "220.0");
    EXPECT_EQ(plain.value("driver.parameter.protocol"), "rorizu");
}
