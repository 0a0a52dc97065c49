#include "service/DeviceJson.h"
#include "service/MetricsText.h"

#include "service/HttpDataFixture.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// The exposition parsed into what a scraper keeps: series by their full
// text ("name{labels}"), the metrics that have HELP and TYPE lines, and
// the metric names in the order of their groups.
struct ParsedMetrics {
    std::map<std::string, std::string> Series;
    std::set<std::string> Helped;
    std::set<std::string> Typed;
    std::vector<std::string> GroupOrder;

    explicit ParsedMetrics(const QByteArray &text)
    {
        for (const QByteArray &line : text.split('\n')) {
            if (line.isEmpty())
                continue;
            const std::string s = line.toStdString();
            if (s.rfind("# HELP ", 0) == 0) {
                Helped.insert(s.substr(7, s.find(' ', 7) - 7));
            } else if (s.rfind("# TYPE ", 0) == 0) {
                const std::string name = s.substr(7, s.find(' ', 7) - 7);
                Typed.insert(name);
                GroupOrder.push_back(name);
            } else {
                const std::size_t space = s.rfind(' ');
                const std::string series = s.substr(0, space);
                Series[series] = s.substr(space + 1);
                const std::string name = series.substr(0, series.find('{'));
                EXPECT_EQ(name, GroupOrder.back()) << "sample outside its group: " << s;
            }
        }
    }

    bool HasAnyOf(const std::string &name, const std::string &labelPart) const
    {
        for (const auto &[series, value] : Series)
            if (series.rfind(name + "{", 0) == 0 && series.find(labelPart) != std::string::npos)
                return true;
        return false;
    }
};

const char *const kEveryMetric[] = {
    "orvan_link_state", "orvan_state", "orvan_alarm_active", "orvan_alarms",
    "orvan_input_voltage_volts", "orvan_output_voltage_volts", "orvan_load_ratio",
    "orvan_output_frequency_hertz", "orvan_dc_voltage_volts", "orvan_battery_charge_ratio",
    "orvan_battery_runtime_seconds", "orvan_battery_charge_current_amperes",
    "orvan_battery_discharge_current_amperes", "orvan_last_reply_timestamp_seconds",
    "orvan_bus_frames_sent_total", "orvan_bus_replies_valid_total", "orvan_bus_replies_invalid_total",
    "orvan_bus_round_seconds", "orvan_port_open", "orvan_port_link_up",
};

struct MetricsTextTest : HttpDataFixture, ::testing::Test {
    MetricsTextTest()
    {
        Settings.PortInfo.Protocol = 2; // Modbus
        AddDevice(1, QString::fromUtf8("UPS \"机房\"\\1"));
        AddDevice(2, QStringLiteral("Lost"));
        AddDevice(3, QStringLiteral("Error"));
        AddDevice(1, QStringLiteral("Listed twice"));
        AddDevice(200, QStringLiteral("Never answered"));
        TUpsInfo &online = OnlineUnit(1);
        online.AlarmList[0] = 25;
        online.AlarmList[1] = 3;
        online.AlarmList[2] = 25;
        online.AlarmCount = 3;
        // Values a device kept from before its link went: none may show.
        OnlineUnit(2).LinkState = kLinkLost;
        OnlineUnit(3).LinkState = kLinkError;
        Debug.FramesSentTotal = 120;
        Debug.RepliesValidTotal = 100;
        Debug.RepliesInvalidTotal = 3;
        Debug.SendCnt = 7; // the Trace window's counter, cleared by hand
        Engine.LastRoundMs = 1250;
    }
};

constexpr const char *kUnit1 = R"(address="1",name="UPS \"机房\"\\1")";

TEST_F(MetricsTextTest, AnOnlineUnitShowsEveryValueInBaseUnitsWithPhases)
{
    const ParsedMetrics m(MetricsText(Data));
    const std::string u = kUnit1;
    const std::map<std::string, std::string> expected = {
        {"orvan_link_state{" + u + "}", "0"},
        {"orvan_state{" + u + "}", "4"},
        {"orvan_alarms{" + u + "}", "2"},
        {"orvan_alarm_active{" + u + ",code=\"25\",text=\"Mains volt. abnormal\"}", "1"},
        {"orvan_alarm_active{" + u + ",code=\"3\",text=\"Rectifier over current\"}", "1"},
        {"orvan_input_voltage_volts{" + u + ",phase=\"A\"}", "220.5"},
        {"orvan_input_voltage_volts{" + u + ",phase=\"C\"}", "222.5"},
        {"orvan_output_voltage_volts{" + u + ",phase=\"B\"}", "230"},
        {"orvan_load_ratio{" + u + ",phase=\"B\"}", "0.45"},
        {"orvan_output_frequency_hertz{" + u + "}", "50"},
        {"orvan_dc_voltage_volts{" + u + "}", "432.5"},
        {"orvan_battery_charge_ratio{" + u + "}", "0.96"},
        {"orvan_battery_runtime_seconds{" + u + "}", "2700"},
        {"orvan_battery_charge_current_amperes{" + u + "}", "1.5"},
        {"orvan_battery_discharge_current_amperes{" + u + "}", "0"},
        {"orvan_last_reply_timestamp_seconds{" + u + "}", "1767268800.123"},
        {"orvan_bus_frames_sent_total", "120"},
        {"orvan_bus_replies_valid_total", "100"},
        {"orvan_bus_replies_invalid_total", "3"},
        {"orvan_bus_round_seconds", "1.25"},
        {"orvan_port_open", "1"},
        {"orvan_port_link_up", "1"},
    };
    for (const auto &[series, value] : expected) {
        const auto found = m.Series.find(series);
        ASSERT_NE(found, m.Series.end()) << series;
        EXPECT_EQ(found->second, value) << series;
    }
    for (const char *name : kEveryMetric) {
        EXPECT_TRUE(m.Helped.count(name)) << name;
        EXPECT_TRUE(m.Typed.count(name)) << name;
    }
    // Each metric is one group.
    EXPECT_EQ(m.GroupOrder.size(), std::set<std::string>(m.GroupOrder.begin(), m.GroupOrder.end()).size());
    // The address listed twice and the devices without a bus address show once or not at all.
    EXPECT_FALSE(m.HasAnyOf("orvan_link_state", "Listed twice"));
}

TEST_F(MetricsTextTest, AUnitNotOnlineShowsItsLinkAndNoStaleValue)
{
    const ParsedMetrics m(MetricsText(Data));
    const struct {
        const char *Labels;
        const char *Link;
        bool Replied;
    } cases[] = {
        {R"(address="2",name="Lost")", "2", true},
        {R"(address="3",name="Error")", "1", true},
        {R"(address="200",name="Never answered")", "2", false},
    };
    for (const auto &c : cases) {
        const std::string labels = c.Labels;
        EXPECT_EQ(m.Series.at("orvan_link_state{" + labels + "}"), c.Link) << labels;
        EXPECT_EQ(m.Series.count("orvan_last_reply_timestamp_seconds{" + labels + "}"), c.Replied ? 1u : 0u)
            << labels;
        for (const char *name : kEveryMetric) {
            const std::string metric = name;
            if (metric == "orvan_link_state" || metric == "orvan_last_reply_timestamp_seconds")
                continue;
            EXPECT_FALSE(m.HasAnyOf(metric, labels)) << metric << " for " << labels;
        }
    }
}

TEST_F(MetricsTextTest, ANetworkLinkDownShowsApartFromThePort)
{
    LinkUp = false;
    ParsedMetrics m(MetricsText(Data));
    EXPECT_EQ(m.Series.at("orvan_port_open"), "1");
    EXPECT_EQ(m.Series.at("orvan_port_link_up"), "0");
    EXPECT_FALSE(QJsonDocument::fromJson(DevicesJson(Data)).object().value("linkUp").toBool());
    LinkUp = true;
    EXPECT_TRUE(QJsonDocument::fromJson(DevicesJson(Data)).object().value("linkUp").toBool());
}

TEST_F(MetricsTextTest, AClosedPortLosesEveryLink)
{
    PortOpen = false;
    const ParsedMetrics m(MetricsText(Data));
    EXPECT_EQ(m.Series.at("orvan_port_open"), "0");
    EXPECT_EQ(m.Series.at("orvan_port_link_up"), "0") << "a closed port reaches nothing";
    EXPECT_EQ(m.Series.at("orvan_link_state{" + std::string(kUnit1) + "}"), "2");
    EXPECT_FALSE(m.HasAnyOf("orvan_input_voltage_volts", "address=\"1\""));
}

TEST_F(MetricsTextTest, ValuesAProtocolDoesNotFillAreLeftOutAndTextsFollowTheLanguage)
{
    Settings.PortInfo.Protocol = 1; // ROrizu: no battery charge, no currents
    Settings.Language = 1;
    Engine.LastRoundMs = -1;
    const ParsedMetrics m(MetricsText(Data));
    for (const char *name : {"orvan_battery_charge_ratio", "orvan_battery_charge_current_amperes",
                             "orvan_battery_discharge_current_amperes"}) {
        EXPECT_FALSE(m.HasAnyOf(name, "")) << name;
        EXPECT_TRUE(m.Typed.count(name)) << name;
    }
    EXPECT_TRUE(m.HasAnyOf("orvan_battery_runtime_seconds", "address=\"1\""));
    EXPECT_TRUE(m.Series.count("orvan_alarm_active{" + std::string(kUnit1) + ",code=\"25\",text=\"市电电压异常\"}"));
    EXPECT_FALSE(m.Series.count("orvan_bus_round_seconds")); // no round has ended yet
}

} // namespace
