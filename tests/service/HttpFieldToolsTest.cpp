// The HTTP side against the field's own tools: promtool checks the
// exposition, a Prometheus server scrapes it and answers a query, headless
// Chromium runs the status page. The engine polls upssim on a real
// pseudo-terminal meanwhile, and everything talks over 127.0.0.1 only. A
// tool that is missing fails the test: scripts/deps.sh installs them.
#include "service/THttpServer.h"

#include "model/TDeviceNode.h"
#include "model/UpsInfoRules.h"
#include "support/RawHttpClient.h"
#include "support/EngineOnSim.h"
#include "support/EventWait.h"
#include "support/LoopbackPort.h"
#include "support/UpsSimProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString Tool(const char *name, const char *package)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    EXPECT_FALSE(path.isEmpty()) << name << " is not installed: scripts/deps.sh installs Debian's " << package;
    return path;
}

// Runs a program to its end while the event loop keeps serving; its
// standard output, or nothing when it did not finish in time.
struct ToolRun {
    int ExitCode = -1;
    QByteArray Output;
    QByteArray Errors;
};

ToolRun RunTool(const QString &program, const QStringList &arguments, const QByteArray &input, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    ToolRun run;
    const bool finished = WaitUntil([&] {
        run.Output += process.readAllStandardOutput();
        run.Errors += process.readAllStandardError();
        return process.state() == QProcess::NotRunning;
    }, timeoutMs);
    if (!finished) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.Output += process.readAllStandardOutput();
    run.Errors += process.readAllStandardError();
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

// GET on a loopback URL through Qt's own client; the reply body, or
// nothing on a failure or after the time-out.
QByteArray FetchUrl(QNetworkAccessManager &network, const QUrl &url, int timeoutMs = 5000)
{
    std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(url)));
    if (!WaitUntil([&] { return reply->isFinished(); }, timeoutMs) || reply->error() != QNetworkReply::NoError)
        return {};
    return reply->readAll();
}

// upssim as three Modbus units, 1 with a mains alarm, and unit 9 listed but
// silent; the engine polls them and the HTTP server serves their state.
struct HttpFieldToolsTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(Sim.Start({"--protocol", "modbus", "--units", "1,2,3", "--steady", "--set", "1:alarm=25",
                               "--set", "3:state=battery"}))
            << Sim.ErrorText().toStdString();
        Bus = std::make_unique<EngineOnSim>(Sim.PortPath(), 2);
        for (const auto &[addr, name] : kDevices)
            Bus->DeviceList.AddDevice(TDeviceNode::Make(addr, QString::fromUtf8(name)));
        Bus->Poll.Start();
        ASSERT_TRUE(Bus->Poll.PortOpened());
        Server = std::make_unique<THttpServer>(THttpData{Bus->DeviceList, Bus->UpsInfo, Bus->Settings, Bus->Debug,
                                                         Bus->Engine, Bus->EventLog,
                                                         [this] { return Bus->Poll.PortOpened(); },
                                                         [this] {
                                                             return Bus->Poll.Comm1().LinkStatus().Phase
                                                                    == TLinkPhase::Connected;
                                                         }},
                                               TServiceLog());
        QStringList problems;
        ASSERT_TRUE(Server->Listen({TListenAddress{QHostAddress::LocalHost, 0}}, &problems))
            << problems.join(' ').toStdString();
        Port = Server->Bound().value(0).Port;
        // Every unit on the bus online with its state, and one round over.
        ASSERT_TRUE(WaitUntil(
            [this] {
                for (int addr : {1, 2, 3})
                    if (Bus->UpsInfo[addr].LinkState != kLinkOnline || Bus->UpsInfo[addr].State < 0)
                        return false;
                return Bus->UpsInfo[1].AlarmCount > 0 && Bus->UpsInfo[3].State == kStateBattery &&
                       Bus->Engine.LastRoundMs >= 0;
            },
            60000));
    }

    static constexpr std::pair<std::uint8_t, const char *> kDevices[] = {
        {1, "Rack A \"north\""}, {2, "机房 B"}, {3, "Rack\\C"}, {9, "Spare"}};

    UpsSimProcess Sim;
    std::unique_ptr<EngineOnSim> Bus;
    std::unique_ptr<THttpServer> Server;
    quint16 Port = 0;
};

TEST_F(HttpFieldToolsTest, PromtoolFindsNothingToCriticiseInTheMetrics)
{
    const QString promtool = Tool("promtool", "prometheus");
    ASSERT_FALSE(promtool.isEmpty());
    const RawHttpResponse metrics = HttpGet(Port, "/metrics");
    ASSERT_EQ(metrics.Status, 200);
    // Every kind of series is there: a lost unit, alarms, phases, the bus.
    for (const char *part : {"orvan_link_state{address=\"9\",name=\"Spare\"} 2",
                             "orvan_alarm_active{address=\"1\",name=\"Rack A \\\"north\\\"\",code=\"25\"",
                             "orvan_input_voltage_volts{address=\"3\",name=\"Rack\\\\C\",phase=\"C\"}",
                             "orvan_bus_round_seconds ", "orvan_last_reply_timestamp_seconds{address=\"2\""})
        EXPECT_TRUE(metrics.Body.contains(part)) << part;

    // The bus totals come from the polling itself.
    const auto total = [&](const QByteArray &name) {
        const qsizetype at = metrics.Body.indexOf("\n" + name + ' ');
        return at < 0 ? -1 : metrics.Body.mid(at + name.size() + 2).split('\n').first().toLongLong();
    };
    EXPECT_GT(total("orvan_bus_replies_valid_total"), 0);
    EXPECT_GE(total("orvan_bus_frames_sent_total"), total("orvan_bus_replies_valid_total"));

    const ToolRun check = RunTool(promtool, {"check", "metrics"}, metrics.Body, 30000);
    EXPECT_EQ(check.ExitCode, 0) << check.Output.constData() << check.Errors.constData();
    EXPECT_TRUE(check.Output.trimmed().isEmpty()) << check.Output.constData();
    EXPECT_TRUE(check.Errors.trimmed().isEmpty()) << check.Errors.constData();
}

TEST_F(HttpFieldToolsTest, PrometheusScrapesTheEndpointAndAnswersAQueryForAUnitsInputVoltage)
{
    const QString prometheus = Tool("prometheus", "prometheus");
    ASSERT_FALSE(prometheus.isEmpty());
    QTemporaryDir dir;
    const quint16 apiPort = FreeLoopbackPort();
    QFile config(dir.filePath("prometheus.yml"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n  evaluation_interval: 1s\n"
                 "scrape_configs:\n  - job_name: orvan\n    static_configs:\n      - targets: ['127.0.0.1:" +
                 QByteArray::number(Port) + "']\n");
    config.close();

    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(prometheus, {"--config.file=" + config.fileName(), "--storage.tsdb.path=" + dir.filePath("data"),
                              "--web.listen-address=127.0.0.1:" + QString::number(apiPort), "--log.level=warn"});
    ASSERT_TRUE(server.waitForStarted(10000));

    QNetworkAccessManager network;
    const auto query = [&](const QString &promql) {
        QUrl url(QStringLiteral("http://127.0.0.1:%1/api/v1/query").arg(apiPort));
        url.setQuery(QUrlQuery{{"query", promql}});
        return QJsonDocument::fromJson(FetchUrl(network, url)).object().value("data").toObject().value("result").toArray();
    };
    const QString voltage = QStringLiteral(R"(orvan_input_voltage_volts{job="orvan",address="2",phase="A"})");
    QJsonArray result;
    const bool answered = WaitUntil([&] {
        result = query(voltage);
        return !result.isEmpty() || server.state() == QProcess::NotRunning;
    }, 90000);
    const QJsonArray up = query(QStringLiteral(R"(up{job="orvan"})"));
    server.terminate();
    server.waitForFinished(10000);
    ASSERT_TRUE(answered && !result.isEmpty()) << server.readAll().constData();

    const QJsonObject series = result[0].toObject();
    EXPECT_EQ(series.value("metric").toObject().value("name").toString(), QString::fromUtf8("机房 B"));
    EXPECT_NEAR(series.value("value").toArray()[1].toString().toDouble(), Bus->UpsInfo[2].InputVolt[0], 1e-9);
    EXPECT_NEAR(Bus->UpsInfo[2].InputVolt[0], 220.0, 1.0);
    ASSERT_FALSE(up.isEmpty());
    EXPECT_EQ(up[0].toObject().value("value").toArray()[1].toString(), "1"); // the whole scrape was read
}

// The page as headless Chromium leaves it once its script has run.
QString PageDom(quint16 port, const QString &target)
{
    const QString chromium = Tool("chromium", "chromium");
    if (chromium.isEmpty())
        return {};
    QTemporaryDir profile;
    const ToolRun run = RunTool(chromium,
                                {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                                 "--user-data-dir=" + profile.path(), "--virtual-time-budget=8000", "--dump-dom",
                                 QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(target)},
                                {}, 120000);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.constData();
    return QString::fromUtf8(run.Output);
}

TEST_F(HttpFieldToolsTest, ChromiumShowsEveryDeviceWithItsLiveValuesInEitherLanguage)
{
    Bus->Settings.Language = 1;
    const struct {
        const char *Target;
        std::vector<const char *> Texts; // state, alarm, lost link, an event, a caption
    } cases[] = {
        {"/", {"电池状态", "市电电压异常", "通讯中断", "监控软件开启", "输入电压"}},
        {"/?lang=en", {"Battery Status", "Mains volt. abnormal", "Communication lost", "Monitor software is open",
                       "Input voltage"}},
    };
    for (const auto &c : cases) {
        const QString dom = PageDom(Port, QString::fromLatin1(c.Target));
        ASSERT_FALSE(dom.isEmpty()) << c.Target;
        // The names as text: the page never takes them as markup.
        for (const char *name : {"Rack A \"north\"", "机房 B", "Rack\\C", "Spare"})
            EXPECT_TRUE(dom.contains(QString::fromUtf8(name).toHtmlEscaped().replace("&quot;", "\"")))
                << name << " in " << c.Target;
        for (const int addr : {1, 2, 3, 9})
            EXPECT_TRUE(dom.contains(QStringLiteral("id=\"device-%1\"").arg(addr))) << addr << " in " << c.Target;
        const QString inputA = QString::number(Bus->UpsInfo[2].InputVolt[0], 'f', 1);
        EXPECT_TRUE(dom.contains(QStringLiteral("data-field=\"input-voltage-a\">%1<").arg(inputA)))
            << c.Target << ": " << dom.toStdString();
        for (const char *text : c.Texts)
            EXPECT_TRUE(dom.contains(QString::fromUtf8(text))) << text << " in " << c.Target;
    }
}

} // namespace
