#include "service/DeviceJson.h"

#include "service/HttpDataFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QJsonObject Parse(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

QString En(const QJsonValue &texts) { return texts.toObject().value("en").toString(); }
QString Zh(const QJsonValue &texts) { return texts.toObject().value("zh").toString(); }

struct DeviceJsonTest : HttpDataFixture, ::testing::Test {
    DeviceJsonTest()
    {
        Settings.PortInfo.Protocol = 0; // YD/T
        AddDevice(1, QString::fromUtf8("一号机 <b>"));
        AddDevice(2, QStringLiteral("Lost"));
        AddDevice(3, QStringLiteral("Error"));
        TUpsInfo &online = OnlineUnit(1);
        online.AlarmList[0] = 25;
        online.AlarmList[1] = 25;
        online.AlarmCount = 2;
        OnlineUnit(2).LinkState = kLinkLost;
        OnlineUnit(3).LinkState = kLinkError;
    }
};

TEST_F(DeviceJsonTest, EveryDeviceWithItsStateInBothLanguagesAndValuesOnlyWhileOnline)
{
    const QJsonObject root = Parse(DevicesJson(Data));
    EXPECT_EQ(root.value("language").toString(), "en");
    EXPECT_TRUE(root.value("portOpen").toBool());
    const QJsonArray devices = root.value("devices").toArray();
    ASSERT_EQ(devices.size(), 3);

    const QJsonObject unit = devices[0].toObject();
    EXPECT_EQ(unit.value("address").toInt(), 1);
    EXPECT_EQ(unit.value("name").toString(), QString::fromUtf8("一号机 <b>"));
    EXPECT_EQ(unit.value("link").toInt(), 0);
    EXPECT_EQ(unit.value("look").toString(), "alarm");
    EXPECT_EQ(unit.value("state").toInt(), 4);
    EXPECT_EQ(En(unit.value("stateText")), "Online");
    EXPECT_EQ(Zh(unit.value("stateText")), QString::fromUtf8("市电状态"));
    EXPECT_EQ(unit.value("lastReply").toString(), "2026-01-01T12:00:00.123Z");
    const QJsonObject values = unit.value("values").toObject();
    EXPECT_EQ(values.value("inputVoltage").toArray(), (QJsonArray{220.5, 221.5, 222.5}));
    EXPECT_EQ(values.value("loadPercent").toArray(), (QJsonArray{40.0, 45.0, 50.0}));
    EXPECT_EQ(values.value("batteryCapacityPercent").toInt(), 96);
    EXPECT_EQ(values.value("batteryRuntimeMinutes").toInt(), 45);
    EXPECT_EQ(values.value("chargeCurrent").toDouble(), 1.5);
    const QJsonArray alarms = unit.value("alarms").toArray();
    ASSERT_EQ(alarms.size(), 1); // listed twice, active once
    EXPECT_EQ(alarms[0].toObject().value("code").toInt(), 25);
    EXPECT_EQ(En(alarms[0].toObject().value("text")), "Mains volt. abnormal");
    EXPECT_EQ(Zh(alarms[0].toObject().value("text")), QString::fromUtf8("市电电压异常"));

    const struct {
        int Index;
        int Link;
        const char *Look;
        const char *Text;
    } down[] = {{1, 2, "offline", "Communication lost"}, {2, 1, "alarm", "Communication Error"}};
    for (const auto &c : down) {
        const QJsonObject device = devices[c.Index].toObject();
        EXPECT_EQ(device.value("link").toInt(), c.Link) << c.Text;
        EXPECT_EQ(device.value("look").toString(), c.Look) << c.Text;
        EXPECT_EQ(En(device.value("stateText")), c.Text);
        EXPECT_TRUE(device.value("state").isNull()) << c.Text;
        EXPECT_TRUE(device.value("values").isNull()) << c.Text;
        EXPECT_TRUE(device.value("alarms").toArray().isEmpty()) << c.Text;
    }
}

TEST_F(DeviceJsonTest, ProtocolGapsAreNullAndAClosedPortTakesTheValues)
{
    Settings.PortInfo.Protocol = 1; // ROrizu
    Settings.Language = 1;
    QJsonObject root = Parse(DevicesJson(Data));
    EXPECT_EQ(root.value("language").toString(), "zh");
    const QJsonObject values = root.value("devices").toArray()[0].toObject().value("values").toObject();
    EXPECT_TRUE(values.value("batteryCapacityPercent").isNull());
    EXPECT_TRUE(values.value("chargeCurrent").isNull());
    EXPECT_EQ(values.value("batteryRuntimeMinutes").toInt(), 45);

    PortOpen = false;
    root = Parse(DevicesJson(Data));
    EXPECT_FALSE(root.value("portOpen").toBool());
    for (const QJsonValue &device : root.value("devices").toArray()) {
        EXPECT_EQ(device.toObject().value("link").toInt(), 2);
        EXPECT_TRUE(device.toObject().value("values").isNull());
    }
}

TEST_F(DeviceJsonTest, TheNewestEventsWithATextComeFirst)
{
    const auto event = [](std::uint8_t addr, std::uint8_t kind, std::int32_t code, std::uint8_t flag) {
        TEventRec rec;
        rec.Time = 46082.5 + addr / 86400.0; // 2026-03-01 12:00:0x
        rec.Addr = addr;
        rec.Kind = kind;
        rec.Code = code;
        rec.Flag = flag;
        return rec;
    };
    const std::vector<TEventRec> log = {
        event(0, kEventKindEvent, 20, kFlagNone), event(1, kEventKindEvent, 22, kFlagNone),
        event(1, kEventKindState, 4, kFlagNone),  event(1, kEventKindAlarm, 25, kAlarmOccurred),
        event(1, kEventKindAlarm, 25, kAlarmCleared), event(2, kEventKindEvent, 99, kFlagNone),
    };
    const QJsonArray events = Parse(EventsJson(log, DeviceList, 3)).value("events").toArray();
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(En(events[0].toObject().value("text")), "Recover from: Mains volt. abnormal");
    EXPECT_EQ(Zh(events[0].toObject().value("text")), QString::fromUtf8("恢复于: 市电电压异常"));
    EXPECT_EQ(events[0].toObject().value("flag").toInt(), 0);
    EXPECT_EQ(En(events[1].toObject().value("text")), "Mains volt. abnormal");
    EXPECT_EQ(En(events[2].toObject().value("text")), "Online");
    EXPECT_EQ(events[2].toObject().value("time").toString(), "2026-03-01 12:00:01");
    EXPECT_EQ(events[2].toObject().value("name").toString(), QString::fromUtf8("一号机 <b>"));

    EXPECT_EQ(Parse(EventsJson(log, DeviceList, 1000)).value("events").toArray().size(), 5);
}

} // namespace
