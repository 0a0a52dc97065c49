#include "SimUnit.h"

#include <gtest/gtest.h>

namespace {

// A unit whose values do not swing, so readings can be compared exactly.
SimUnit SteadyUnit(int address = 1)
{
    SimUnit unit(address);
    unit.Apply(QStringLiteral("wobble"), QStringLiteral("0"), nullptr);
    return unit;
}

void Set(SimUnit &unit, const char *key, const char *value)
{
    QString error;
    ASSERT_TRUE(unit.Apply(QLatin1String(key), QLatin1String(value), &error)) << error.toStdString();
}

quint16 Reg(const SimUnit &unit, int reg)
{
    const auto value = unit.ReadRegister(reg);
    EXPECT_TRUE(value.has_value()) << reg;
    return value.value_or(0);
}

TEST(SimUnit, HealthyUnitReadsNominalValues)
{
    const SimUnit unit = SteadyUnit();
    EXPECT_EQ(unit.Mode(), SimMode::Online);
    EXPECT_EQ(Reg(unit, 30001), 2200);
    EXPECT_EQ(Reg(unit, 30013), 2200);
    EXPECT_EQ(Reg(unit, 30014), 500);
    EXPECT_EQ(Reg(unit, 30022), 40);
    EXPECT_EQ(Reg(unit, 30037), 100);
    EXPECT_EQ(Reg(unit, 30081), 4);
    for (int reg = 30086; reg <= 30089; ++reg)
        EXPECT_EQ(Reg(unit, reg), 0) << reg;
    EXPECT_EQ(Reg(unit, 30091), 0);
    EXPECT_TRUE(unit.Readings().alarmCodes.isEmpty());
}

TEST(SimUnit, MainsFailureRunsOnBatteryUntilTheMainsReturn)
{
    SimUnit unit = SteadyUnit();
    Set(unit, "capacity", "80");
    Set(unit, "mains", "0");
    EXPECT_EQ(unit.Mode(), SimMode::Battery);
    SimReadings r = unit.Readings();
    EXPECT_EQ(r.inputVolt[0], 0);
    EXPECT_NEAR(r.outputVolt[1], 220.0, 0.01);
    EXPECT_GT(r.posDischargeCurrent, 0);
    EXPECT_EQ(r.posChargeCurrent, 0);
    EXPECT_TRUE(r.alarmCodes.contains(25));

    unit.Advance(300);
    const double afterDischarge = unit.Readings().battCapacity;
    EXPECT_LT(afterDischarge, 80);

    Set(unit, "mains", "221");
    EXPECT_EQ(unit.Mode(), SimMode::Online);
    r = unit.Readings();
    EXPECT_GT(r.posChargeCurrent, 0);
    EXPECT_EQ(r.posDischargeCurrent, 0);
    EXPECT_FALSE(r.alarmCodes.contains(25));
    unit.Advance(3600);
    EXPECT_GT(unit.Readings().battCapacity, afterDischarge);
}

TEST(SimUnit, SagWithinToleranceStaysOnline)
{
    SimUnit unit = SteadyUnit();
    Set(unit, "mains", "180");
    EXPECT_EQ(unit.Mode(), SimMode::Online);
    EXPECT_EQ(Reg(unit, 30002), 1800);
    Set(unit, "mains", "170");
    EXPECT_EQ(unit.Mode(), SimMode::Battery);
}

TEST(SimUnit, EmptyBatteryShutsTheUnitDown)
{
    SimUnit unit = SteadyUnit();
    Set(unit, "capacity", "5");
    Set(unit, "speed", "100");
    Set(unit, "mains", "0");
    EXPECT_TRUE(unit.Readings().alarmCodes.contains(23)); // backup below the pre-alarm time
    unit.Advance(600);
    EXPECT_EQ(unit.Mode(), SimMode::Standby);
    EXPECT_EQ(Reg(unit, 30011), 0);
    EXPECT_EQ(Reg(unit, 30037), 0);
    EXPECT_TRUE(unit.Readings().alarmCodes.contains(21));
}

TEST(SimUnit, BatteryTestRunsForTheWrittenSecondsAndZeroCancels)
{
    SimUnit unit = SteadyUnit();
    ASSERT_TRUE(unit.WriteRegister(20003, 30));
    EXPECT_EQ(unit.Mode(), SimMode::BatteryTest);
    EXPECT_EQ(Reg(unit, 30081), 6);
    unit.Advance(29.5);
    EXPECT_EQ(unit.Mode(), SimMode::BatteryTest);
    unit.Advance(0.5);
    EXPECT_EQ(unit.Mode(), SimMode::Online);

    ASSERT_TRUE(unit.WriteRegister(20003, 600));
    unit.Advance(10);
    ASSERT_TRUE(unit.WriteRegister(20003, 0));
    EXPECT_EQ(unit.Mode(), SimMode::Online);
}

TEST(SimUnit, BatteryTestNeedsAnOnlineUnitAndEndsOnMainsFailure)
{
    SimUnit unit = SteadyUnit();
    Set(unit, "state", "bypass");
    unit.WriteRegister(20003, 60);
    EXPECT_EQ(unit.Mode(), SimMode::Bypass);

    Set(unit, "state", "online");
    unit.WriteRegister(20003, 60);
    Set(unit, "mains", "0");
    EXPECT_EQ(unit.Mode(), SimMode::Battery);
}

TEST(SimUnit, TurnOffAndOnGoesThroughSoftStart)
{
    SimUnit unit = SteadyUnit();
    ASSERT_TRUE(unit.WriteRegister(20002, 1));
    EXPECT_EQ(unit.Mode(), SimMode::Standby);
    EXPECT_EQ(Reg(unit, 30012), 0);
    EXPECT_EQ(Reg(unit, 30021), 0);

    ASSERT_TRUE(unit.WriteRegister(20001, 1));
    EXPECT_EQ(unit.Mode(), SimMode::SoftStart);
    unit.Advance(1);
    EXPECT_EQ(unit.Mode(), SimMode::SoftStart);
    unit.Advance(1);
    EXPECT_EQ(unit.Mode(), SimMode::Online);
    EXPECT_EQ(Reg(unit, 30012), 2200);
}

TEST(SimUnit, ParameterWritesAreReadBackAndSteerTheUnit)
{
    SimUnit unit = SteadyUnit();
    for (int reg = 40002; reg <= 40029; ++reg) {
        SimUnit copy = unit;
        ASSERT_TRUE(copy.WriteRegister(reg, static_cast<quint16>(reg - 40000)));
        EXPECT_EQ(Reg(copy, reg), reg - 40000);
    }
    unit.WriteRegister(40005, 230);
    EXPECT_EQ(Reg(unit, 30011), 2300);
    unit.WriteRegister(40004, 1); // work mode ECO
    EXPECT_EQ(unit.Mode(), SimMode::Eco);
    unit.WriteRegister(40004, 0);
    EXPECT_EQ(unit.Mode(), SimMode::Online);

    EXPECT_FALSE(unit.WriteRegister(40001, 1));
    EXPECT_FALSE(unit.WriteRegister(30001, 1));
    EXPECT_FALSE(unit.WriteRegister(40030, 1));
    EXPECT_TRUE(unit.WriteRegister(50000, 7));
    EXPECT_FALSE(unit.ReadRegister(20001).has_value());
    EXPECT_FALSE(unit.ReadRegister(30015).has_value());
    EXPECT_FALSE(unit.ReadRegister(30092).has_value());
}

// Each alarm code lands on the bit the monitor turns back into that code.
TEST(SimUnit, AlarmCodesSetTheirBitInTheAlarmWords)
{
    struct Case
    {
        int code;
        int reg;
        quint16 word;
    };
    const Case cases[] = {
        {0, 30086, 0x8000}, {15, 30086, 0x0001}, {16, 30087, 0x8000}, {25, 30087, 0x0040},
        {32, 30088, 0x8000}, {47, 30088, 0x0001}, {48, 30089, 0x8000}, {56, 30089, 0x0080},
        {64, 30091, 0x8000}, {71, 30091, 0x0100},
    };
    for (const Case &c : cases) {
        SimUnit unit = SteadyUnit();
        Set(unit, "alarm", QByteArray::number(c.code).constData());
        EXPECT_EQ(Reg(unit, c.reg), c.word) << "code " << c.code;
        Set(unit, "clear", QByteArray::number(c.code).constData());
        EXPECT_EQ(Reg(unit, c.reg), 0) << "code " << c.code;
    }
}

TEST(SimUnit, OverloadRaisesItsAlarm)
{
    SimUnit unit = SteadyUnit();
    Set(unit, "load", "110");
    EXPECT_EQ(Reg(unit, 30089), 0x1000);
    Set(unit, "load", "90");
    EXPECT_EQ(Reg(unit, 30089), 0);
}

TEST(SimUnit, PinnedReadingsOverrideTheSimulation)
{
    SimUnit unit = SteadyUnit();
    Set(unit, "CmmState1", "0x1234");
    Set(unit, "outputvoltb", "231.5");
    EXPECT_EQ(Reg(unit, 30082), 0x1234);
    EXPECT_EQ(Reg(unit, 30012), 2315);
    EXPECT_EQ(Reg(unit, 30011), 2200);
    Set(unit, "cmmstate1", "auto");
    EXPECT_NE(Reg(unit, 30082), 0x1234);
}

TEST(SimUnit, RejectsSettingsItCannotUse)
{
    const std::pair<const char *, const char *> bad[] = {
        {"colour", "red"}, {"state", "flying"}, {"alarm", "30"}, {"alarm", "x"},
        {"load", "-5"},    {"40001", "1"},      {"silent", "maybe"}, {"malformed", "wobbly"},
    };
    for (const auto &[key, value] : bad) {
        SimUnit unit(1);
        QString error;
        EXPECT_FALSE(unit.Apply(QLatin1String(key), QLatin1String(value), &error)) << key << "=" << value;
        EXPECT_TRUE(error.contains(QLatin1String(key))) << error.toStdString();
    }
}

} // namespace
