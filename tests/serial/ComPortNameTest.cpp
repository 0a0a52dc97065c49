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
