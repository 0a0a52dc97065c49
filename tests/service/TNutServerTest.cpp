// The NUT server on real loopback sockets against clients that misbehave:
// too many of them, endless lines, binary bytes, silence, never reading,
// thousands of short visits. Every wait is bounded.
#include "service/TNutServer.h"

#include "app/TMonitorState.h"
#include "model/TDeviceNode.h"
#include "support/EventWait.h"

#include <QCoreApplication>
#include <QTcpSocket>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

class NutServerOnLoopback : public ::testing::Test
{
protected:
    TMonitorState State;
    QStringList Logged;
    std::unique_ptr<TNutServer> Server;

    void Start(const TNutServer::TLimits &limits = {})
    {
        State.Settings.PortInfo.Protocol = 2;
        State.UpsInfo.Reset();
        State.DeviceList.AddDevice(TDeviceNode::Make(1, QStringLiteral("UPS-01")));
        TUpsInfo &rec = State.UpsInfo[1];
        rec.LinkState = kLinkOnline;
        rec.State = 4;
        rec.InputSupply = 1;
        Server = std::make_unique<TNutServer>(
            TNutData{State.DeviceList, State.UpsInfo, State.CmdQueue, State.Settings, [] { return true; },
                     QStringLiteral("1.0.0.1")},
            [this](const QString &line) { Logged << line; });
        Server->SetLimits(limits);
        QStringList problems;
        ASSERT_TRUE(Server->Listen({TListenAddress{QHostAddress::LocalHost, 0}}, &problems)) << problems.join(' ').toStdString();
    }

    quint16 Port() const { return Server->Bound().first().Port; }

    std::unique_ptr<QTcpSocket> Connect()
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, Port());
        EXPECT_TRUE(WaitUntil([&] { return socket->state() == QAbstractSocket::ConnectedState; }));
        return socket;
    }

    // The next reply line, or an empty one when none comes in time.
    static QByteArray ReadLine(QTcpSocket &socket)
    {
        WaitUntil([&] { return socket.canReadLine() || socket.state() != QAbstractSocket::ConnectedState; });
        return socket.readLine();
    }

    static QByteArray Ask(QTcpSocket &socket, const QByteArray &line)
    {
        socket.write(line + '\n');
        return ReadLine(socket);
    }

    static bool WaitForClose(QTcpSocket &socket)
    {
        return WaitUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 10000);
    }
};

} // namespace

TEST_F(NutServerOnLoopback, ClientsBeyondTheCapAreToldSoAndClosed)
{
    TNutServer::TLimits limits;
    limits.MaxClients = 3;
    Start(limits);
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 3; ++i) {
        clients.push_back(Connect());
        EXPECT_EQ(Ask(*clients.back(), "GET VAR ups1 ups.status"), "VAR ups1 ups.status \"OL\"\n");
    }
    for (int i = 0; i < 2; ++i) {
        auto refused = Connect();
        EXPECT_EQ(ReadLine(*refused), "ERR ACCESS-DENIED too many clients\n");
        EXPECT_TRUE(WaitForClose(*refused));
    }
    EXPECT_EQ(Logged.filter(QStringLiteral("refusing more")).size(), 1);

    // One leaves; the next is served.
    clients.front()->disconnectFromHost();
    ASSERT_TRUE(WaitUntil([&] { return Server->ClientCount() == 2; }));
    auto next = Connect();
    EXPECT_EQ(Ask(*next, "NETVER"), "1.3\n");
}

TEST_F(NutServerOnLoopback, TooLongLinesDropTheClientAndBinaryBytesAreOnlyAnswered)
{
    Start();
    auto binary = Connect();
    EXPECT_EQ(Ask(*binary, QByteArray("\x00\xff\xfe garbage\r", 12)), "ERR UNKNOWN-COMMAND\n");
    EXPECT_EQ(Ask(*binary, QByteArray("GET VAR ups1 \x00\x01", 15)), "ERR VAR-NOT-SUPPORTED\n");
    EXPECT_EQ(Ask(*binary, "GET VAR ups1 ups.status"), "VAR ups1 ups.status \"OL\"\n");

    // A line that never ends, and one that ends too late.
    auto endless = Connect();
    endless->write(QByteArray(5000, 'A'));
    EXPECT_TRUE(WaitForClose(*endless));
    auto late = Connect();
    late->write("GET VAR ups1 " + QByteArray(Server->Limits().MaxLineLength, 'x') + "\n");
    EXPECT_TRUE(WaitForClose(*late));

    EXPECT_EQ(Ask(*binary, "NETVER"), "1.3\n") << "the others carry on";
    EXPECT_EQ(Server->ClientCount(), 1);
}

TEST_F(NutServerOnLoopback, SilentClientsAreDroppedAtTheIdleTimeOut)
{
    TNutServer::TLimits limits;
    limits.IdleTimeoutMs = 300;
    Start(limits);
    // Half a line and then nothing, as from a peer that went away unseen.
    auto silent = Connect();
    silent->write("GET VAR ups1");
    EXPECT_TRUE(WaitForClose(*silent));
    EXPECT_EQ(Server->ClientCount(), 0);
    EXPECT_EQ(Server->Protocol().SessionCount(), 0);
}

TEST_F(NutServerOnLoopback, AClientThatNeverReadsIsDropped)
{
    Start();
    // A plain socket with a small receive buffer that is never read.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::fcntl(fd, F_SETFL, O_NONBLOCK);

    const QByteArray request = "LIST VAR ups1\n";
    bool dropped = false;
    for (int sent = 0; sent < 200000 && !dropped;) {
        const ssize_t n = ::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL);
        if (n > 0)
            ++sent;
        else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            dropped = true; // reset by the server
        QCoreApplication::processEvents();
        dropped = dropped || (sent > 0 && Server->ClientCount() == 0);
    }
    ::close(fd);
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(WaitUntil([&] { return Server->ClientCount() == 0; }));
    auto next = Connect();
    EXPECT_EQ(Ask(*next, "NETVER"), "1.3\n");
}

TEST_F(NutServerOnLoopback, ThousandsOfShortVisitsLeaveNothingBehind)
{
    Start();
    for (int i = 0; i < 2000; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, Port());
        ASSERT_TRUE(WaitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; })) << i;
        if (i % 2 == 0) {
            ASSERT_EQ(Ask(socket, "NETVER"), "1.3\n") << i;
            socket.disconnectFromHost();
        } else {
            socket.abort(); // gone without a word
        }
    }
    EXPECT_TRUE(WaitUntil([&] { return Server->ClientCount() == 0; }, 10000)) << Server->ClientCount();
    EXPECT_EQ(Server->Protocol().SessionCount(), 0);
    auto last = Connect();
    EXPECT_EQ(Ask(*last, "NETVER"), "1.3\n");
}
