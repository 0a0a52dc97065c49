#include "serial/ComPortName.h"

#include <gtest/gtest.h>

TEST(ComPortName, ComNumberComesFromThe4thAnd5thCharacters)
{
    const struct { const char *name; int number; bool opens; } rows[] = {
        {"COM1", 1, true},
        {"COM12", 12, true},
        {"COM256", 25, true},   // only two characters are read
        {"com3", 3, true},
        {"COM0", 0, false},
        {"COMX", 0, false},
        {"PORT", 0, false},
        {"COM", 0, false},
        {"", 0, false},
        {"COM1X", 0, false},
        {"COM-1", 0, false},
        {"ttyUSB0", 0, false},  // a device is given by its full path
        {"/dev/ttyUSB0", 0, true},
        {"/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", 0, true},
    };
    for (const auto &row : rows) {
        const QString name = QString::fromLatin1(row.name);
        EXPECT_EQ(ComNamePortNumber(name), row.number) << row.name;
        EXPECT_EQ(ComNameOpensPort(name), row.opens) << row.name;
    }
}

TEST(ComPortName, ComNamesMapToTtySDevicesAndPathsStayAsTheyAre)
{
    const struct { const char *name; const char *device; } rows[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM12", "/dev/ttyS11"},
        {"COM256", "/dev/ttyS255"},
        {"com2", "/dev/ttyS1"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/pts/7", "/dev/pts/7"},
        {"COM0", "COM0"},
        {"COMX", "COMX"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(SystemPortName(QString::fromLatin1(row.name)), QString::fromLatin1(row.device)) << row.name;
}

TEST(ComPortName, NetworkAddressesAreReadIntoTheirParts)
{
    const struct { const char *name; TNetworkKind kind; const char *host; quint16 port; } rows[] = {
        {"tcp://10.0.0.5:4001", TNetworkKind::RawTcp, "10.0.0.5", 4001},
        {"TCP://serial-server.hall-b:1", TNetworkKind::RawTcp, "serial-server.hall-b", 1},
        {"modbus-tcp://[fd00::5]:502", TNetworkKind::ModbusTcp, "fd00::5", 502},
        {"modbus-tcp://[::1]:65535", TNetworkKind::ModbusTcp, "::1", 65535},
        {"tcp://gw_1:4001", TNetworkKind::RawTcp, "gw_1", 4001},
    };
    for (const auto &row : rows) {
        QString error;
        const auto address = ParseNetworkPortName(QString::fromLatin1(row.name), &error);
        ASSERT_TRUE(address) << row.name << ": " << error.toStdString();
        EXPECT_EQ(address->Kind, row.kind) << row.name;
        EXPECT_EQ(address->Host, QString::fromLatin1(row.host)) << row.name;
        EXPECT_EQ(address->Port, row.port) << row.name;
        EXPECT_TRUE(ComNameOpensPort(QString::fromLatin1(row.name))) << row.name;
        EXPECT_TRUE(PortNameProblem(QString::fromLatin1(row.name)).isEmpty()) << row.name;
    }
}

TEST(ComPortName, MalformedNetworkAddressesSayWhatIsWrong)
{
    const struct { const char *name; const char *reason; } rows[] = {
        {"tcp://10.0.0.5", "the port number is missing"},
        {"tcp://:4001", "the host is missing"},
        {"tcp://10.0.0.5:0", "1 to 65535"},
        {"tcp://10.0.0.5:65536", "1 to 65535"},
        {"tcp://10.0.0.5:40x1", "1 to 65535"},
        {"tcp://10.0.0.5:+401", "1 to 65535"},
        {"tcp://10.0.0.256:4001", "no host name or IPv4 address"},
        {"tcp://host name:4001", "no host name or IPv4 address"},
        {"tcp://host/path:4001", "no host name or IPv4 address"},
        {"modbus-tcp://fd00::5:502", "in brackets"},
        {"modbus-tcp://[fd00::5:502", "no closing"},
        {"modbus-tcp://[fd00::5]502", "the port number is missing"},
        {"modbus-tcp://[10.0.0.5]:502", "no IPv6 address"},
    };
    for (const auto &row : rows) {
        const QString name = QString::fromLatin1(row.name);
        QString error;
        EXPECT_FALSE(ParseNetworkPortName(name, &error)) << row.name;
        EXPECT_TRUE(error.contains(QLatin1String(row.reason))) << row.name << ": " << error.toStdString();
        EXPECT_EQ(PortNameProblem(name), error);
        // A malformed address still opens, so that opening says what is wrong.
        EXPECT_TRUE(ComNameOpensPort(name)) << row.name;
    }
    EXPECT_TRUE(PortNameProblem(QStringLiteral("COM3")).isEmpty());
    EXPECT_TRUE(PortNameProblem(QStringLiteral("COMX")).isEmpty());
}
