// The simulator must encode its modes and alarms so that the monitor's own
// status rules read them back; these tests run its words through them.
#include "SimUnit.h"
#include "model/UpsInfoRules.h"

#include <gtest/gtest.h>

namespace {

TUpsInfo Decoded(const SimReadings &r)
{
    TUpsInfo info;
    info.CmmState1 = r.cmmState1;
    info.CmmState2 = r.cmmState2;
    info.CmmAlarm1 = r.cmmAlarm1;
    info.CmmAlarm2 = r.cmmAlarm2;
    info.InvState1 = r.invState1;
    info.InvState2 = r.invState2;
    info.InvAlarm1 = r.invAlarm1;
    info.InvAlarm2 = r.invAlarm2;
    info.SysState = r.sysState;
    info.SysAlarm = r.sysAlarm;
    info.State = DeriveState(info);
    DecodeSwitches(info);
    BuildAlarmList(info);
    return info;
}

SimUnit UnitIn(const char *state)
{
    SimUnit unit(1);
    QString error;
    EXPECT_TRUE(unit.Apply(QStringLiteral("state"), QLatin1String(state), &error)) << error.toStdString();
    return unit;
}

TEST(SimStatusWords, EveryModeDerivesItsStateAndTheUnitReportsTheSame)
{
    const std::pair<const char *, int> modes[] = {
        {"online", kStateOnline},       {"battery", kStateBattery},   {"test", kStateBattSelfTest},
        {"bypass", kStateBypass},       {"eco", kStateEco},           {"standby", kStateStandby},
        {"softstart", kStateSoftStart}, {"nooutput", kStateNonOutput}, {"epo", kStateEpo},
        {"maintbypass", kStateMaintBypass},
    };
    for (const auto &[name, state] : modes) {
        const SimReadings r = UnitIn(name).Readings();
        const TUpsInfo info = Decoded(r);
        EXPECT_EQ(info.State, state) << name;
        EXPECT_EQ(r.upsStateCode, state) << name;
        // The switch and supply flags the ROrizu reply carries match the words.
        EXPECT_EQ(info.InputSwitch, r.inputSwitch) << name;
        EXPECT_EQ(info.OutputSwitch, r.outputSwitch) << name;
        EXPECT_EQ(info.BypassSwitch, r.bypassSwitch) << name;
        EXPECT_EQ(info.MaintBypassSwitch, r.maintBypassSwitch) << name;
        EXPECT_EQ(info.InputSupply, r.inputSupply) << name;
        EXPECT_EQ(info.UpsSupply, r.upsSupply) << name;
    }
}

TEST(SimStatusWords, MovesBetweenModesShowInTheDerivedState)
{
    SimUnit unit(1);
    unit.Apply(QStringLiteral("mains"), QStringLiteral("0"), nullptr);
    EXPECT_EQ(Decoded(unit.Readings()).State, kStateBattery);
    EXPECT_EQ(Decoded(unit.Readings()).InputSupply, 2);
    unit.Apply(QStringLiteral("mains"), QStringLiteral("220"), nullptr);
    unit.WriteRegister(20003, 10);
    EXPECT_EQ(Decoded(unit.Readings()).State, kStateBattSelfTest);
    unit.Advance(10);
    EXPECT_EQ(Decoded(unit.Readings()).State, kStateOnline);
    unit.WriteRegister(20002, 1);
    EXPECT_EQ(Decoded(unit.Readings()).State, kStateStandby);
    unit.WriteRegister(20001, 1);
    EXPECT_EQ(Decoded(unit.Readings()).State, kStateSoftStart);
}

TEST(SimStatusWords, RaisedAlarmsComeBackAsTheSameCodes)
{
    SimUnit unit(1);
    const QList<int> codes = {0, 9, 15, 16, 24, 32, 41, 47, 48, 56, 64, 71};
    for (int code : codes)
        ASSERT_TRUE(unit.Apply(QStringLiteral("alarm"), QString::number(code), nullptr));
    const TUpsInfo info = Decoded(unit.Readings());
    QList<int> decoded(info.AlarmList.begin(), info.AlarmList.begin() + info.AlarmCount);
    std::sort(decoded.begin(), decoded.end());
    EXPECT_EQ(decoded, codes);
    EXPECT_EQ(info.State, kStateFault);
}

TEST(SimStatusWords, WarningsKeepTheStateButFaultsDoNot)
{
    const std::pair<int, int> cases[] = {
        {25, kStateOnline}, {23, kStateOnline}, {41, kStateOnline}, {51, kStateOnline},
        {3, kStateFault},   {16, kStateFault},  {32, kStateFault},  {45, kStateFault},
    };
    for (const auto &[code, state] : cases) {
        SimUnit unit(1);
        unit.Apply(QStringLiteral("alarm"), QString::number(code), nullptr);
        EXPECT_EQ(Decoded(unit.Readings()).State, state) << code;
    }
}

} // namespace
