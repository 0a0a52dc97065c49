#include "app/SoftwareParaChoices.h"

#include "app/TSettings.h"

#include <gtest/gtest.h>

TEST(SoftwareParaChoicesTest, PortListOffersEveryComNameTheSystemDevicesAndTheStoredName)
{
    const QStringList devices = {"/dev/ttyS0", "/dev/ttyS4", "/dev/ttyUSB0", "/dev/ttyACM1"};
    const QStringList items = PortListItems("/dev/pts/7", devices);
    ASSERT_EQ(items.size(), 256 + 3);
    EXPECT_EQ(items.first(), "COM1");
    EXPECT_EQ(items[255], "COM256");
    // ttyS0 and ttyS4 are COM1 and COM5 already.
    EXPECT_EQ(items.mid(256), (QStringList{"/dev/ttyUSB0", "/dev/ttyACM1", "/dev/pts/7"}));

    EXPECT_EQ(PortListItems("COM12", devices).size(), 258);
    EXPECT_EQ(PortListItems("/dev/ttyUSB0", devices).size(), 258);
    EXPECT_EQ(PortListItems("com3", {}).last(), "com3"); // case counts
}

TEST(SoftwareParaChoicesTest, StoredValuesAreSelected)
{
    const struct {
        const char *comName;
        int index;
    } ports[] = {{"COM1", 0}, {"COM20", 19}, {"COM25", 24}, {"COM256", 255}, {"/dev/ttyUSB0", 256}, {"", 0}};
    for (const auto &c : ports) {
        SCOPED_TRACE(c.comName);
        EXPECT_EQ(ItemIndex(PortListItems(c.comName, {}), c.comName), c.index);
    }

    const struct {
        qint32 stored;
        const char *shown;
    } rates[] = {{2400, "2400"}, {4800, "4800"}, {9600, "9600"}, {19200, "19200"}, {0, "2400"}, {-5, "2400"}};
    for (const auto &c : rates) {
        SCOPED_TRACE(c.stored);
        const QStringList items = BaudListItems(c.stored);
        EXPECT_EQ(items[ItemIndex(items, QString::number(c.stored))], c.shown);
    }
}

TEST(SoftwareParaChoicesTest, ProtocolEntriesStandForTheStoredCodes)
{
    EXPECT_EQ(ProtocolListItems(), QStringList({"YD/T V3.1", "ROrizu", "Modbus"}));
    const struct {
        quint8 stored;
        int shown;
        int chosen;
        quint8 saved;
    } cases[] = {
        {0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2},
        {3, 2, 2, 3},   // Modbus as well, kept when Modbus stays chosen
        {3, 2, 0, 0},
        {0, 0, 2, 2},
        {9, -1, -1, 9}, // no protocol: nothing shown, nothing changed
        {9, -1, 1, 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ProtocolItemIndex(c.stored), c.shown) << int(c.stored);
        EXPECT_EQ(ProtocolFromItem(c.chosen, c.stored), c.saved) << int(c.stored) << " " << c.chosen;
    }
}

TEST(SoftwareParaChoicesTest, SavingStoresTheChoices)
{
    TSettings settings;
    settings.PortInfo.Protocol = 0;
    settings.PortInfo.StopBits = 2;
    ApplySoftwareChoices(settings, {"COM3", "4800", true, 2});
    EXPECT_EQ(settings.PortInfo.ComName, "COM3");
    EXPECT_EQ(settings.PortInfo.BaudRate, 4800);
    EXPECT_EQ(settings.PortInfo.Protocol, 2);
    EXPECT_TRUE(settings.PortInfo.AutoStart);
    EXPECT_EQ(settings.PortInfo.StopBits, 2);

    ApplySoftwareChoices(settings, {"COM3", "fast", false});
    EXPECT_EQ(settings.PortInfo.BaudRate, 2400);
    EXPECT_FALSE(settings.PortInfo.AutoStart);
}

TEST(SoftwareParaChoicesTest, ThePaceIsOfferedAsStoredAndTheTimeOutKept)
{
    EXPECT_EQ(PollModeItems(false), (QStringList{"Fixed pace", "Pace of the bus"}));
    EXPECT_EQ(PollModeItems(true), (QStringList{QString::fromUtf8("固定节拍"), QString::fromUtf8("总线节拍")}));
    const struct { quint8 stored; int shown; } cases[] = {{0, 0}, {1, 1}, {2, 0}, {255, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(PollModeIndex(c.stored), c.shown) << int(c.stored);

    TSettings settings;
    settings.PortInfo.ReplyTimeout = 1200;
    ApplySoftwareChoices(settings, {"COM1", "9600", false, -1, 1});
    EXPECT_EQ(settings.PortInfo.PollMode, 1);
    EXPECT_EQ(settings.PortInfo.ReplyTimeout, 1200);
    ApplySoftwareChoices(settings, {"COM1", "9600", false, -1, 0});
    EXPECT_EQ(settings.PortInfo.PollMode, 0);
}
