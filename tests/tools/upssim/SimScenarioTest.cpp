#include "SimScenario.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SimScenario, ParsesUnitListsAndRejectsBadOnes)
{
    QString error;
    EXPECT_EQ(SimScenario::ParseUnitList(QStringLiteral("1,3,7"), &error), QList<int>({1, 3, 7}));
    EXPECT_EQ(SimScenario::ParseUnitList(QStringLiteral("2-4,9,3"), &error), QList<int>({2, 3, 4, 9}));
    // The whole bus the monitor watches, 1 to 252.
    EXPECT_EQ(SimScenario::ParseUnitList(QStringLiteral("1-252"), &error)->size(), 252);
    for (const char *bad : {"", "0", "253", "4-2", "1,x", "1-2-3"})
        EXPECT_FALSE(SimScenario::ParseUnitList(QLatin1String(bad), &error)) << bad;
}

TEST(SimScenario, ParsesTimelineSteps)
{
    QString error;
    const auto event = SimScenario::ParseEvent(QStringLiteral("12.5:3:mains=0, load=70"), &error);
    ASSERT_TRUE(event) << error.toStdString();
    EXPECT_EQ(event->at, 12.5);
    EXPECT_EQ(event->unit, 3);
    ASSERT_EQ(event->settings.size(), 2);
    EXPECT_EQ(event->settings[1].key, QStringLiteral("load"));
    EXPECT_EQ(event->settings[1].value, QStringLiteral("70"));

    EXPECT_EQ(SimScenario::ParseEvent(QStringLiteral("5:*:silent=1"), &error)->unit, 0);
    for (const char *bad : {"5:mains=0", "x:1:mains=0", "-1:1:mains=0", "5:1:", "5:1:mains", "5:0:load=1"})
        EXPECT_FALSE(SimScenario::ParseEvent(QLatin1String(bad), &error)) << bad;
}

TEST(SimScenario, TimelineFiresInTimeOrderBetweenTicks)
{
    SimScenario scenario;
    scenario.units = {1, 2};
    scenario.initialSettings.append({0, 0, {{QStringLiteral("wobble"), QStringLiteral("0")}}});
    QString error;
    for (const char *text : {"20:1:mains=220", "10:1:mains=0", "10:*:load=60", "15:2:silent=1"})
        scenario.events.append(*SimScenario::ParseEvent(QLatin1String(text), &error));
    SimBus bus;
    ASSERT_TRUE(scenario.Build(bus, &error)) << error.toStdString();
    QList<double> fired;
    bus.SetEventObserver([&](const SimEvent &event) { fired.append(event.at); });

    bus.AdvanceTo(9.9);
    EXPECT_EQ(bus.Unit(1)->Mode(), SimMode::Online);
    bus.AdvanceTo(12);
    EXPECT_EQ(bus.Unit(1)->Mode(), SimMode::Battery);
    EXPECT_EQ(bus.Unit(2)->ReadRegister(30021), 60);
    EXPECT_FALSE(bus.Unit(2)->Silent());
    bus.AdvanceTo(30);
    EXPECT_EQ(bus.Unit(1)->Mode(), SimMode::Online);
    EXPECT_TRUE(bus.Unit(2)->Silent());
    EXPECT_EQ(fired, QList<double>({10, 10, 15, 20}));
    EXPECT_EQ(bus.Now(), 30);
}

TEST(SimScenario, BuildRejectsStepsThatCannotApply)
{
    QString error;
    SimScenario scenario;
    scenario.units = {1};
    scenario.events.append(*SimScenario::ParseEvent(QStringLiteral("5:2:load=50"), &error));
    SimBus bus;
    EXPECT_FALSE(scenario.Build(bus, &error));
    EXPECT_TRUE(error.contains(QLatin1String("address 2"))) << error.toStdString();

    SimScenario typo;
    typo.units = {1};
    typo.events.append(*SimScenario::ParseEvent(QStringLiteral("5:1:lod=50"), &error));
    SimBus other;
    EXPECT_FALSE(typo.Build(other, &error));
    EXPECT_TRUE(error.contains(QLatin1String("lod"))) << error.toStdString();
}

TEST(SimScenario, LoadsAJsonFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("scenario.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({ "protocol": "modbus",
                    "all": { "wobble": 0 },
                    "units": [ { "address": 1, "load": 60 }, { "address": 3, "alarm": [9, 40] } ],
                    "events": [ { "at": 10, "unit": 1, "mains": 0 },
                                { "at": 20, "unit": "*", "silent": true } ] })");
    file.close();

    SimScenario scenario;
    QString error;
    ASSERT_TRUE(scenario.LoadJson(path, &error)) << error.toStdString();
    EXPECT_EQ(scenario.protocol, QStringLiteral("modbus"));
    EXPECT_EQ(scenario.units, QList<int>({1, 3}));
    SimBus bus;
    ASSERT_TRUE(scenario.Build(bus, &error)) << error.toStdString();
    EXPECT_EQ(bus.Unit(1)->ReadRegister(30022), 60);
    EXPECT_EQ(bus.Unit(3)->Readings().alarmCodes, QList<int>({9, 40}));
    bus.AdvanceTo(25);
    EXPECT_EQ(bus.Unit(1)->Mode(), SimMode::Battery);
    EXPECT_TRUE(bus.Unit(3)->Silent());

    QFile broken(dir.filePath(QStringLiteral("broken.json")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{ \"units\": [ { \"load\": 5 } ] }");
    broken.close();
    SimScenario rejected;
    EXPECT_FALSE(rejected.LoadJson(broken.fileName(), &error));
    EXPECT_FALSE(rejected.LoadJson(dir.filePath(QStringLiteral("missing.json")), &error));
}

} // namespace

namespace {

// The demonstration scenario shipped with the simulator stays loadable.
TEST(SimScenario, ShippedDemoRuns)
{
    SimScenario scenario;
    QString error;
    // Resolved by name, since the data directory may not exist in a checkout.
    const QString path = QDir::cleanPath(TestDataPath(QStringLiteral("../../tools/upssim/scenarios/demo.json")));
    ASSERT_TRUE(scenario.LoadJson(path, &error)) << error.toStdString();
    SimBus bus;
    ASSERT_TRUE(scenario.Build(bus, &error)) << error.toStdString();
    bus.AdvanceTo(50);
    EXPECT_EQ(bus.Unit(2)->Mode(), SimMode::Battery);
    EXPECT_TRUE(bus.Unit(4)->Silent());
    bus.AdvanceTo(300);
    for (int address : bus.Addresses())
        EXPECT_EQ(bus.Unit(address)->Mode(), SimMode::Online) << address;
}

} // namespace
