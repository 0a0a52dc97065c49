#include "service/THttpServer.h"

#include "service/HttpDataFixture.h"
#include "support/RawHttpClient.h"
#include "support/EventWait.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct THttpServerTest : HttpDataFixture, ::testing::Test {
    THttpServerTest()
    {
        AddDevice(1, QStringLiteral("UPS 1"));
        OnlineUnit(1);
        QStringList problems;
        EXPECT_TRUE(Server.Listen({TListenAddress{QHostAddress::LocalHost, 0}}, &problems))
            << problems.join(' ').toStdString();
    }

    quint16 Port() const { return Server.Bound().value(0).Port; }

    QStringList Logged;
    THttpServer Server{Data, [this](const QString &line) { Logged << line; }};
};

TEST_F(THttpServerTest, TheRoutesAndThePageAssetsAnswerAndNothingElse)
{
    const struct {
        const char *Target;
        int Status;
        const char *Type;
        const char *Contains;
    } cases[] = {
        {"/metrics", 200, "text/plain; version=0.0.4", "orvan_input_voltage_volts{address=\"1\""},
        {"/metrics?format=x", 200, "text/plain; version=0.0.4", "orvan_port_open 1"},
        {"/api/devices", 200, "application/json", "\"name\":\"UPS 1\""},
        {"/api/events?limit=5", 200, "application/json", "\"events\""},
        {"/api/events", 200, "application/json", "\"events\""},
        {"/", 200, "text/html", "<title>Orvan 2000</title>"},
        {"/status.js", 200, "text/javascript", "/api/devices"},
        {"/status.css", 200, "text/css", ".tile"},
        {"/icon.svg", 200, "image/svg+xml", "<svg"},
        {"/api/events?limit=0", 400, "text/plain", "limit"},
        {"/api/events?limit=1001", 400, "text/plain", "limit"},
        {"/api/events?limit=ten", 400, "text/plain", "limit"},
        {"/index.html", 404, "text/plain", "Not Found"},
        {"/metrics/", 404, "text/plain", "Not Found"},
        {"/METRICS", 404, "text/plain", "Not Found"},
        {"//metrics", 404, "text/plain", "Not Found"},
        {"/api", 404, "text/plain", "Not Found"},
        {"/api/devices/1", 404, "text/plain", "Not Found"},
        {"/favicon.ico", 404, "text/plain", "Not Found"},
        {"/../../../../etc/passwd", 404, "text/plain", "Not Found"},
        {"/%2e%2e/%2e%2e/etc/passwd", 404, "text/plain", "Not Found"},
        {"/:/orvan/statuspage/index.html", 404, "text/plain", "Not Found"},
        {"/orvan/statuspage/status.js", 404, "text/plain", "Not Found"},
    };
    for (const auto &c : cases) {
        const RawHttpResponse response = HttpGet(Port(), c.Target);
        EXPECT_EQ(response.Status, c.Status) << c.Target;
        EXPECT_TRUE(response.Header("Content-Type").startsWith(c.Type)) << c.Target << ": " << response.Head.constData();
        EXPECT_TRUE(response.Body.contains(c.Contains)) << c.Target;
        EXPECT_EQ(response.Header("X-Content-Type-Options"), "nosniff") << c.Target;
    }
    const RawHttpResponse page = HttpGet(Port(), "/");
    EXPECT_TRUE(page.Header("Content-Security-Policy").contains("default-src 'none'"));
}

TEST_F(THttpServerTest, ABodyIsBuiltAgainOnlyOnceItHasAged)
{
    Server.SetBodyMaxAgeMs(600000);
    const QByteArray series = "orvan_input_voltage_volts{address=\"1\",name=\"UPS 1\",phase=\"A\"} ";
    EXPECT_TRUE(HttpGet(Port(), "/metrics").Body.contains(series + "220.5\n"));
    EXPECT_TRUE(HttpGet(Port(), "/api/devices").Body.contains("[220.5,"));
    UpsInfo[1].InputVolt[0] = 199.5;
    // Asking again builds nothing.
    EXPECT_TRUE(HttpGet(Port(), "/metrics").Body.contains(series + "220.5\n"));
    EXPECT_TRUE(HttpGet(Port(), "/api/devices").Body.contains("[220.5,"));

    Server.SetBodyMaxAgeMs(0);
    EXPECT_TRUE(HttpGet(Port(), "/metrics").Body.contains(series + "199.5\n"));
    EXPECT_TRUE(HttpGet(Port(), "/api/devices").Body.contains("199.5"));
}

TEST_F(THttpServerTest, OnlyGetAnswersAndNothingChanges)
{
    const std::uint8_t stateBefore = UpsInfo[1].LinkState;
    for (const char *method : {"POST", "PUT", "DELETE", "PATCH", "HEAD", "OPTIONS"}) {
        RawHttpClient client;
        ASSERT_TRUE(client.Connect(Port()));
        client.Send(QByteArray(method) +
                    " /metrics HTTP/1.1\r\nHost: x\r\nContent-Length: 4\r\nConnection: close\r\n\r\nEnab");
        const std::optional<RawHttpResponse> response = client.ReadResponse();
        ASSERT_TRUE(response) << method;
        EXPECT_EQ(response->Status, 404) << method;
    }
    EXPECT_EQ(UpsInfo[1].LinkState, stateBefore);
    EXPECT_FALSE(CmdQueue.AnyPending());
}

TEST_F(THttpServerTest, AKeptConnectionIsAnsweredRequestByRequest)
{
    RawHttpClient client;
    ASSERT_TRUE(client.Connect(Port()));
    for (const char *target : {"/api/devices", "/metrics", "/nothing", "/"}) {
        client.Send("GET " + QByteArray(target) + " HTTP/1.1\r\nHost: x\r\n\r\n");
        const std::optional<RawHttpResponse> response = client.ReadResponse();
        ASSERT_TRUE(response) << target;
        EXPECT_EQ(response->Status, QByteArray(target) == "/nothing" ? 404 : 200) << target;
    }
    EXPECT_EQ(client.Socket().state(), QAbstractSocket::ConnectedState);
}

TEST_F(THttpServerTest, OversizedRequestsAreTurnedAwayAndClosed)
{
    const QByteArray longHeader = "X-Filler: " + QByteArray(20000, 'a') + "\r\n";
    const QByteArray requests[] = {
        "GET /metrics HTTP/1.1\r\nHost: x\r\n" + longHeader + "\r\n",
        "GET /" + QByteArray(20000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n",
        "GET /metrics HTTP/1.1\r\nHost: x\r\nContent-Length: 100000\r\n\r\n" + QByteArray(100000, 'b'),
    };
    for (const QByteArray &request : requests) {
        RawHttpClient client;
        ASSERT_TRUE(client.Connect(Port()));
        client.Send(request);
        const std::optional<RawHttpResponse> response = client.ReadResponse();
        ASSERT_TRUE(response) << request.left(40).constData();
        EXPECT_EQ(response->Status, 413);
        EXPECT_TRUE(client.WaitClosed());
    }
    EXPECT_TRUE(WaitUntil([this] { return Server.Guard().ConnectionCount() == 0; }));
    EXPECT_EQ(HttpGet(Port(), "/metrics").Status, 200); // the server carries on
}

TEST_F(THttpServerTest, AnUnreadableRequestOrAnUpgradeIsClosed)
{
    const struct {
        QByteArray Request;
        int Status; // 0: closed without a reply
    } cases[] = {
        {"GARBAGE\r\n\r\n", 0},
        {"GET /metrics HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
         "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n",
         404},
    };
    for (const auto &c : cases) {
        RawHttpClient client;
        ASSERT_TRUE(client.Connect(Port()));
        client.Send(c.Request);
        if (c.Status != 0) {
            const std::optional<RawHttpResponse> response = client.ReadResponse();
            ASSERT_TRUE(response) << c.Request.constData();
            EXPECT_EQ(response->Status, c.Status);
            EXPECT_FALSE(client.ReadResponse(500)) << "a second reply to " << c.Request.constData();
        }
        EXPECT_TRUE(client.WaitClosed()) << c.Request.constData();
    }
    EXPECT_TRUE(WaitUntil([this] { return Server.Guard().ConnectionCount() == 0; }));
    EXPECT_EQ(HttpGet(Port(), "/metrics").Status, 200);
}

TEST_F(THttpServerTest, ConnectionsBeyondTheCapAreRefusedUntilOneLeaves)
{
    THttpConnectionGuard::TLimits limits;
    limits.MaxConnections = 2;
    Server.Guard().SetLimits(limits);
    std::vector<std::unique_ptr<RawHttpClient>> held;
    for (int i = 0; i < 2; ++i) {
        held.push_back(std::make_unique<RawHttpClient>());
        ASSERT_TRUE(held.back()->Connect(Port()));
    }
    ASSERT_TRUE(WaitUntil([this] { return Server.Guard().ConnectionCount() == 2; }));

    RawHttpClient refused;
    ASSERT_TRUE(refused.Connect(Port()));
    const std::optional<RawHttpResponse> response = refused.ReadResponse();
    ASSERT_TRUE(response);
    EXPECT_EQ(response->Status, 503);
    EXPECT_TRUE(refused.WaitClosed());

    held.front()->Socket().disconnectFromHost();
    ASSERT_TRUE(WaitUntil([this] { return Server.Guard().ConnectionCount() == 1; }));
    EXPECT_EQ(HttpGet(Port(), "/api/devices").Status, 200);
}

TEST_F(THttpServerTest, AnIdleOrHalfSentRequestIsClosedAtTheTimeOut)
{
    THttpConnectionGuard::TLimits limits;
    limits.IdleTimeoutMs = 300;
    Server.Guard().SetLimits(limits);
    RawHttpClient silent;
    RawHttpClient halfSent;
    ASSERT_TRUE(silent.Connect(Port()));
    ASSERT_TRUE(halfSent.Connect(Port()));
    halfSent.Send("GET /metrics HTTP/1.1\r\nHost: x\r\n");
    EXPECT_TRUE(silent.WaitClosed());
    EXPECT_TRUE(halfSent.WaitClosed());
    EXPECT_TRUE(WaitUntil([this] { return Server.Guard().ConnectionCount() == 0; }));
}

TEST_F(THttpServerTest, AClientThatDoesNotReadItsRepliesIsDropped)
{
    THttpConnectionGuard::TLimits limits;
    limits.MaxPendingReplyBytes = 256 * 1024;
    Server.Guard().SetLimits(limits);
    RawHttpClient client;
    ASSERT_TRUE(client.Connect(Port()));
    client.Socket().setReadBufferSize(1); // the client's side takes nothing in
    const QByteArray requests = QByteArray("GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n").repeated(20);
    // Bounded: the kernel buffers of both sides hold a few megabytes.
    bool dropped = false;
    for (int i = 0; i < 1000 && !dropped; ++i) {
        client.Send(requests);
        WaitUntil([] { return false; }, 2);
        dropped = Server.Guard().ConnectionCount() == 0;
    }
    EXPECT_TRUE(dropped);
}

} // namespace
