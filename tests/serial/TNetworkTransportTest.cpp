// The network transports against real TCP peers on the loopback interface.
#include "serial/TNetworkTransport.h"

#include "app/TPortInfo.h"
#include "protocol/BusTransports.h"
#include "protocol/ModbusCrc.h"
#include "serial/ECommsError.h"
#include "serial/TComm.h"
#include "support/EventWait.h"
#include "support/LoopbackPort.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The other end: a TCP server on 127.0.0.1 that takes one connection at a
// time, records what it receives and answers as the test says.
struct LoopbackPeer {
    QTcpServer Server;
    QPointer<QTcpSocket> Connection;
    QByteArray Received;
    int Accepted = 0;

    LoopbackPeer()
    {
        QObject::connect(&Server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = Server.nextPendingConnection()) {
                ++Accepted;
                Connection = socket;
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { Received += socket->readAll(); });
            }
        });
    }
    bool Listen(quint16 port = 0) { return Server.listen(QHostAddress::LocalHost, port); }
    quint16 Port() const { return Server.serverPort(); }
    void Send(const QByteArray &bytes)
    {
        Connection->write(bytes);
        Connection->flush();
    }
    bool AwaitReceived(qsizetype bytes) { return WaitUntil([&] { return Received.size() >= bytes; }); }
};

// What a transport tells its owner.
struct TransportLog {
    std::vector<QByteArray> Blocks;
    std::vector<TLinkStatus> Statuses;
    std::vector<std::pair<bool, QByteArray>> Envelopes;
    int Strays = 0;

    explicit TransportLog(TBusTransport &transport)
    {
        QObject::connect(&transport, &TBusTransport::OnReceiveData,
                         [this](const QByteArray &block, qint64) { Blocks.push_back(block); });
        QObject::connect(&transport, &TBusTransport::OnLinkStatusChanged,
                         [this](const TLinkStatus &status) { Statuses.push_back(status); });
        QObject::connect(&transport, &TBusTransport::OnFrameEnvelope,
                         [this](bool sent, const QByteArray &envelope) { Envelopes.emplace_back(sent, envelope); });
        QObject::connect(&transport, &TBusTransport::OnStrayFrame, [this] { ++Strays; });
    }
    int Count(TLinkPhase phase) const
    {
        return int(std::count_if(Statuses.begin(), Statuses.end(), [&](const TLinkStatus &s) { return s.Phase == phase; }));
    }
};

bool AwaitPhase(const TBusTransport &transport, TLinkPhase phase, int timeoutMs = 5000)
{
    return WaitUntil([&] { return transport.LinkStatus().Phase == phase; }, timeoutMs);
}

QString Address(const char *scheme, quint16 port)
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(port);
}

QByteArray RtuFrame(const char *hexWithoutCrc)
{
    QByteArray frame = QByteArray::fromHex(hexWithoutCrc);
    AppendModbusCrc(frame);
    return frame;
}

} // namespace

TEST(RawTcpTransport, CarriesBytesBothWaysCutByTheSilenceAndComesBackAfterThePeerHangsUp)
{
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Listen());
    TRawTcpTransport transport;
    TransportLog log(transport);
    transport.SetCommName(Address("tcp", peer.Port()));
    transport.SetReadIntervalTimeout(200);
    EXPECT_FALSE(transport.SendData("early")) << "nothing goes out before the link is up";
    transport.Open();
    EXPECT_TRUE(transport.IsOpen()) << "open while connecting";
    ASSERT_TRUE(AwaitPhase(transport, TLinkPhase::Connected));
    EXPECT_NE(transport.Handle(), 0);

    ASSERT_TRUE(transport.SendData("\x01\x04request"));
    ASSERT_TRUE(peer.AwaitReceived(9));
    EXPECT_EQ(peer.Received, QByteArray("\x01\x04request"));

    peer.Send("12");
    WaitUntil([] { return false; }, 20);
    peer.Send("34");
    WaitUntil([] { return false; }, 700);
    peer.Send("56");
    ASSERT_TRUE(WaitUntil([&] { return log.Blocks.size() == 2; }));
    EXPECT_EQ(log.Blocks[0], "1234");
    EXPECT_EQ(log.Blocks[1], "56");

    // The peer hangs up: the transport stays open, waits and connects again.
    peer.Connection->disconnectFromHost();
    ASSERT_TRUE(AwaitPhase(transport, TLinkPhase::Waiting));
    EXPECT_FALSE(transport.LinkStatus().Error.isEmpty());
    EXPECT_TRUE(transport.IsOpen());
    EXPECT_FALSE(transport.SendData("lost"));
    ASSERT_TRUE(WaitUntil([&] { return peer.Accepted == 2 && transport.LinkStatus().Phase == TLinkPhase::Connected; }));
    peer.Received.clear();
    EXPECT_TRUE(transport.SendData("again"));
    EXPECT_TRUE(peer.AwaitReceived(5));

    transport.Close();
    EXPECT_FALSE(transport.IsOpen());
    EXPECT_EQ(transport.LinkStatus().Phase, TLinkPhase::Closed);
    EXPECT_EQ(log.Statuses.back().Phase, TLinkPhase::Closed);
}

TEST(RawTcpTransport, ARefusedConnectionIsRetriedWithGrowingPausesUntilThePeerListens)
{
    const quint16 port = FreeLoopbackPort(); // nobody listens on it
    TRawTcpTransport transport;
    TransportLog log(transport);
    transport.SetCommName(Address("tcp", port));
    transport.Open();
    ASSERT_TRUE(AwaitPhase(transport, TLinkPhase::Waiting));
    EXPECT_TRUE(transport.LinkStatus().Error.contains(QLatin1String("refused"), Qt::CaseInsensitive))
        << transport.LinkStatus().Error.toStdString();
    ASSERT_TRUE(WaitUntil([&] { return log.Count(TLinkPhase::Waiting) >= 2; }, 4000));
    // Each pause is twice the one before: the second wait begins at 2 s.
    std::vector<int> pauses;
    for (const TLinkStatus &status : log.Statuses)
        if (status.Phase == TLinkPhase::Waiting)
            pauses.push_back(status.RetryInSeconds);
    EXPECT_EQ(pauses[0], 1);
    EXPECT_EQ(pauses[1], 2);

    LoopbackPeer peer;
    ASSERT_TRUE(peer.Listen(port));
    EXPECT_TRUE(AwaitPhase(transport, TLinkPhase::Connected, 8000));
    EXPECT_TRUE(transport.LinkStatus().Error.isEmpty());
}

TEST(RawTcpTransport, ReachesAPeerByItsIpv6Address)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHostIPv6, 0)) << "no IPv6 loopback here";
    TRawTcpTransport transport;
    transport.SetCommName(QStringLiteral("tcp://[::1]:%1").arg(server.serverPort()));
    transport.Open();
    EXPECT_TRUE(AwaitPhase(transport, TLinkPhase::Connected));
    EXPECT_TRUE(WaitUntil([&] { return server.hasPendingConnections(); }));
}

TEST(RawTcpTransport, AHostThatDoesNotResolveIsReportedAndRetried)
{
    TRawTcpTransport transport;
    transport.SetCommName(QStringLiteral("tcp://no-such-host.invalid:4001"));
    transport.Open();
    ASSERT_TRUE(AwaitPhase(transport, TLinkPhase::Waiting, 8000));
    EXPECT_FALSE(transport.LinkStatus().Error.isEmpty());
    EXPECT_TRUE(transport.IsOpen());
    EXPECT_TRUE(AwaitPhase(transport, TLinkPhase::Connecting, 3000)) << "tried again";
}

TEST(ModbusTcpTransport, FramesTravelInAdusAndOnlyTheAwaitedTransactionIsTaken)
{
    LoopbackPeer peer;
    ASSERT_TRUE(peer.Listen());
    TModbusTcpTransport transport;
    TransportLog log(transport);
    transport.SetCommName(Address("modbus-tcp", peer.Port()));
    transport.Open();
    ASSERT_TRUE(AwaitPhase(transport, TLinkPhase::Connected));

    // Two requests; the second is the one in flight.
    ASSERT_TRUE(transport.SendData(RtuFrame("01047530000E")));
    ASSERT_TRUE(transport.SendData(RtuFrame("020475300001")));
    ASSERT_TRUE(peer.AwaitReceived(24));
    EXPECT_EQ(peer.Received.toHex(), QByteArray("00010000000601047530000e"
                                                "000200000006020475300001"));
    ASSERT_EQ(log.Envelopes.size(), 2u);
    EXPECT_EQ(log.Envelopes[1], std::make_pair(true, QByteArray::fromHex("00020000000602")));

    // The late reply to the first request, then the awaited one split over
    // two writes, then a second copy of it.
    peer.Send(QByteArray::fromHex("00010000000701040208980000"));
    peer.Send(QByteArray::fromHex("0002000000050204"));
    WaitUntil([] { return false; }, 30);
    peer.Send(QByteArray::fromHex("020898" "0002000000050204020898"));
    ASSERT_TRUE(WaitUntil([&] { return log.Strays == 2; }));
    ASSERT_EQ(log.Blocks.size(), 1u);
    EXPECT_EQ(log.Blocks[0], RtuFrame("02040208" "98"));
    EXPECT_EQ(log.Envelopes.back(), std::make_pair(false, QByteArray::fromHex("00020000000502")));

    // A stream that is no Modbus TCP is given up and connected again.
    peer.Send(QByteArray::fromHex("00030001000601040000"));
    ASSERT_TRUE(AwaitPhase(transport, TLinkPhase::Waiting));
    EXPECT_TRUE(transport.LinkStatus().Error.contains(QLatin1String("no Modbus TCP")));
    EXPECT_TRUE(WaitUntil([&] { return peer.Accepted == 2 && transport.LinkStatus().Phase == TLinkPhase::Connected; }));
}

TEST(BusTransports, ThePortNameChoosesTheTransportAndBadCombinationsDoNotOpen)
{
    TPortInfo port;
    port.Protocol = 2;
    for (const char *name : {"COM2", "/dev/ttyUSB0"}) {
        port.ComName = QLatin1String(name);
        EXPECT_NE(dynamic_cast<TComm *>(MakeBusTransport(port).get()), nullptr) << name;
    }
    port.ComName = "tcp://10.0.0.5:4001";
    EXPECT_NE(dynamic_cast<TRawTcpTransport *>(MakeBusTransport(port).get()), nullptr);
    port.ComName = "modbus-tcp://10.0.0.5:502";
    EXPECT_NE(dynamic_cast<TModbusTcpTransport *>(MakeBusTransport(port).get()), nullptr);

    port.Protocol = 0;
    try {
        MakeBusTransport(port);
        ADD_FAILURE() << "Modbus TCP opened with YD/T";
    } catch (const ECommsError &error) {
        EXPECT_NE(std::string(error.what()).find("Modbus protocol only"), std::string::npos) << error.what();
    }
    port.ComName = "tcp://10.0.0.5";
    try {
        MakeBusTransport(port);
        ADD_FAILURE() << "an address without a port opened";
    } catch (const ECommsError &error) {
        EXPECT_NE(std::string(error.what()).find("port number is missing"), std::string::npos) << error.what();
    }
}
