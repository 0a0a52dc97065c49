// orvan-reconnect: the polling engine on a bus behind a serial device server
// that goes away for a while and comes back. upssim serves its units on raw
// TCP (or Modbus TCP); between it and the engine sits a relay of our own in
// the role of the device server, which for each outage stops listening and
// drops its connections, then listens again. For each outage the bench
// prints whether the units were declared lost, the pause the link was in at
// the return, and the time from the return to the first valid reply and to
// every unit online.
#include "protocol/TPollEngine.h"
#include "support/BenchBus.h"
#include "support/RunUntil.h"
#include "serial/TBusTransport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kModbus = 2;

void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

// The device server: relays each connection it accepts to the simulator,
// byte for byte, until it is taken down.
class Relay
{
public:
    explicit Relay(quint16 targetPort) : m_targetPort(targetPort)
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { Accept(); });
    }
    bool Up(quint16 port = 0) { return m_server.listen(QHostAddress::LocalHost, port); }
    quint16 Port() const { return m_server.serverPort(); }
    void Down()
    {
        m_server.close();
        for (QTcpSocket *socket : m_sockets)
            if (socket)
                socket->abort();
        m_sockets.clear();
    }

private:
    void Accept()
    {
        while (QTcpSocket *client = m_server.nextPendingConnection()) {
            auto *target = new QTcpSocket(client);
            target->connectToHost(QHostAddress::LocalHost, m_targetPort);
            QObject::connect(client, &QTcpSocket::readyRead, [client, target] { target->write(client->readAll()); });
            QObject::connect(target, &QTcpSocket::readyRead, [client, target] { client->write(target->readAll()); });
            QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            m_sockets.append(client);
        }
    }

    quint16 m_targetPort;
    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_sockets;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Time from a device server's return to the first valid reply.");
    const QCommandLineOption unitsOption("units", "Units behind the device server.", "N", "4");
    const QCommandLineOption outagesOption("outages", "Outages in seconds, comma-separated.", "LIST", "1,3,10,20,40");
    const QCommandLineOption modbusTcpOption("modbus-tcp", "Modbus TCP instead of raw TCP.");
    const QCommandLineOption upssimOption("upssim", "The simulator program.", "PATH", ORVAN_UPSSIM);
    parser.addOptions({unitsOption, outagesOption, modbusTcpOption, upssimOption});
    parser.addHelpOption();
    parser.process(app);
    const int units = parser.value(unitsOption).toInt();
    const bool modbusTcp = parser.isSet(modbusTcpOption);
    std::vector<int> outages;
    for (const QString &text : parser.value(outagesOption).split(','))
        outages.push_back(text.toInt());

    QProcess sim;
    sim.start(parser.value(upssimOption), {"--protocol", "modbus", "--units", QStringLiteral("1-%1").arg(units),
                                           "--steady", modbusTcp ? "--modbus-tcp" : "--listen", "127.0.0.1:0"});
    if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 2;
    }
    const QString simAddress = QString::fromLocal8Bit(sim.readLine()).trimmed();
    const quint16 simPort = simAddress.section(':', -1).toUShort();
    Relay relay(simPort);
    if (!relay.Up()) {
        std::fprintf(stderr, "the relay cannot listen\n");
        return 2;
    }
    const quint16 relayPort = relay.Port();

    BenchBus bus;
    bus.Settings.PortInfo.ComName = QStringLiteral("%1://127.0.0.1:%2").arg(modbusTcp ? "modbus-tcp" : "tcp").arg(relayPort);
    bus.Settings.PortInfo.Protocol = kModbus;
    bus.Settings.PortInfo.PollMode = 1;
    bus.Settings.RecInterval = 0;
    bus.ListDevices(units);
    const auto allIn = [&](std::uint8_t state) {
        for (int addr = 1; addr <= units; ++addr)
            if (bus.UpsInfo[addr].LinkState != state)
                return false;
        return true;
    };
    bus.Poll.Start();
    if (!RunUntil([&] { return allIn(kLinkOnline); }, 60000)) {
        std::fprintf(stderr, "the units did not come online\n");
        return 1;
    }

    std::printf("%s, %d units, PollMode 1, ReplyTimeout %d ms, MaxReSend %d, CommLostCnt %d\n",
                qPrintable(bus.Settings.PortInfo.ComName.section(':', 0, 0)), units, bus.Settings.PortInfo.ReplyTimeout,
                bus.Settings.PortInfo.MaxReSend, bus.Settings.PortInfo.CommLostCnt);
    std::printf("%8s  %10s  %14s  %16s  %16s\n", "outage", "units lost", "pause at return", "to first reply",
                "to all online");
    int failures = 0;
    for (int outageSeconds : outages) {
        RunFor(3000); // polling settles, and the link has carried data again
        relay.Down();
        RunFor(outageSeconds * 1000);
        const bool lost = allIn(kLinkLost);
        const TLinkStatus atReturn = bus.Poll.Comm1().LinkStatus();
        if (!relay.Up(relayPort)) {
            std::fprintf(stderr, "the relay cannot listen again on %u\n", relayPort);
            return 2;
        }
        QElapsedTimer sinceReturn;
        sinceReturn.start();
        const std::uint64_t validBefore = bus.Debug.RepliesValidTotal;
        const bool replied = RunUntil([&] { return bus.Debug.RepliesValidTotal > validBefore; }, 60000);
        const qint64 firstReplyMs = sinceReturn.elapsed();
        const bool online = RunUntil([&] { return allIn(kLinkOnline); }, 60000);
        const qint64 onlineMs = sinceReturn.elapsed();
        if (!replied || !online)
            ++failures;
        const QString pause = atReturn.Phase == TLinkPhase::Waiting
                                  ? QStringLiteral("%1 s left").arg(atReturn.RetryInSeconds)
                                  : QStringLiteral("(connecting)");
        std::printf("%6d s  %10s  %14s  %13.2f s  %13.2f s\n", outageSeconds, lost ? "yes" : "no",
                    qPrintable(pause), replied ? firstReplyMs / 1000.0 : -1.0, online ? onlineMs / 1000.0 : -1.0);
        std::fflush(stdout);
    }
    bus.Poll.Shutdown();
    sim.kill();
    sim.waitForFinished(5000);
    return failures == 0 ? 0 : 1;
}
