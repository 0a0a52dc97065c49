#include "protocol/ModbusCrc.h"
#include "support/EventWait.h"
#include "support/PtyPair.h"
#include "support/UpsSimProcess.h"

#include <QDeadlineTimer>
#include <QSerialPort>

#include <gtest/gtest.h>

namespace {

// Sends one frame on the simulator's device and collects the reply until it
// has the expected length or a generous time-out passes.
QByteArray Exchange(QSerialPort &port, const QByteArray &request, qsizetype expected)
{
    port.write(request);
    port.waitForBytesWritten(1000);
    QByteArray reply;
    const QDeadlineTimer deadline(5000);
    while (reply.size() < expected && !deadline.hasExpired()) {
        if (port.bytesAvailable() == 0)
            port.waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 200)));
        reply.append(port.readAll());
    }
    return reply;
}

TEST(UpsSimProgram, AnswersAModbusPollOnItsPseudoTerminal)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--protocol"), QStringLiteral("modbus"), QStringLiteral("--units"),
                           QStringLiteral("1,3,7"), QStringLiteral("--steady")}))
        << sim.ErrorText().toStdString();
    ASSERT_TRUE(sim.PortPath().startsWith(QLatin1String("/dev/"))) << sim.PortPath().toStdString();

    QSerialPort port(sim.PortPath());
    port.setBaudRate(9600);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();

    QByteArray request = QByteArray::fromHex("07047530000E");
    AppendModbusCrc(request);
    const QByteArray reply = Exchange(port, request, 33);
    ASSERT_EQ(reply.size(), 33) << reply.toHex(' ').toStdString();
    EXPECT_TRUE(ModbusCrcMatches(reply));
    EXPECT_EQ(reply.left(5), QByteArray::fromHex("07041C0898"));
}

TEST(UpsSimProgram, AnswersAnAsciiPollOnItsPseudoTerminal)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--protocol"), QStringLiteral("ydt"), QStringLiteral("--units"),
                           QStringLiteral("2"), QStringLiteral("--steady")}))
        << sim.ErrorText().toStdString();
    QSerialPort port(sim.PortPath());
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();

    const QByteArray reply = Exchange(port, "~31022A420000FDA1\r", 64);
    ASSERT_EQ(reply.size(), 64) << reply.constData();
    EXPECT_EQ(reply.left(19), QByteArray("~31022A00002E0055F0"));
    EXPECT_EQ(reply.back(), '\r');
}

TEST(UpsSimProgram, AnswersOnAGivenSerialDevice)
{
    PtyPair line;
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--port"), line.SlavePath(), QStringLiteral("--baud"),
                           QStringLiteral("19200"), QStringLiteral("--units"), QStringLiteral("5"),
                           QStringLiteral("--set"), QStringLiteral("5:40022=12")}))
        << sim.ErrorText().toStdString();
    EXPECT_EQ(sim.PortPath(), line.SlavePath());

    QByteArray read = QByteArray::fromHex("05039C550001"); // 40022
    AppendModbusCrc(read);
    ASSERT_TRUE(line.WriteToMaster(read));
    QByteArray reply;
    EXPECT_TRUE(WaitUntil([&] {
        reply += line.ReadAvailableFromMaster();
        return reply.size() >= 7;
    }));
    EXPECT_EQ(reply.left(5), QByteArray::fromHex("050302000C"));
    EXPECT_TRUE(ModbusCrcMatches(reply));
}

TEST(UpsSimProgram, RefusesABadScenario)
{
    UpsSimProcess sim;
    EXPECT_FALSE(sim.Start({QStringLiteral("--units"), QStringLiteral("1"), QStringLiteral("--set"),
                            QStringLiteral("1:state=flying")}));
    EXPECT_TRUE(sim.ErrorText().contains(QLatin1String("flying"))) << sim.ErrorText().toStdString();
    EXPECT_FALSE(sim.Start({QStringLiteral("--turnaround"), QStringLiteral("-1")}));
    EXPECT_TRUE(sim.ErrorText().contains(QLatin1String("--turnaround"))) << sim.ErrorText().toStdString();
}

} // namespace
