#include "app/TSettings.h"

#include "support/FileBytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

// Every field away from its default, so that a default that is not applied,
// or a field that is not saved, shows.
TSettings NonDefaultSettings()
{
    TSettings settings;
    TPortInfo &port = settings.PortInfo;
    port.ComName = QStringLiteral("/dev/ttyUSB0");
    port.BaudRate = 2400;
    port.StopBits = 2;
    port.AutoStart = true;
    port.Protocol = 3;
    port.ReadIntervalTimeout = 150;
    port.WaitTimer = 255;
    port.MaxReSend = 0;
    port.CommErrCnt = 7;
    port.CommLostCnt = 8;
    port.PollMode = 1;
    port.ReplyTimeout = 1200;
    settings.Language = 1;
    settings.RecInterval = 3000;
    return settings;
}

class SettingsFile : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("UserParaIni.ini"));

    // The library lays out blank lines in its own way; the lines that
    // carry content are what must survive.
    QStringList ContentLines()
    {
        return QString::fromUtf8(ReadFileBytes(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    TSettings Load(const QByteArray &content)
    {
        WriteFileBytes(path, content);
        TSettings settings = NonDefaultSettings();
        LoadSettings(settings, path);
        return settings;
    }
};

TEST_F(SettingsFile, MissingFileGivesEveryDefault)
{
    TSettings settings = NonDefaultSettings();
    LoadSettings(settings, path);

    const TPortInfo &port = settings.PortInfo;
    EXPECT_EQ(port.ComName, QStringLiteral("COM1"));
    EXPECT_EQ(port.BaudRate, 9600);
    EXPECT_EQ(port.StopBits, 1);
    EXPECT_EQ(port.ReadIntervalTimeout, 200);
    EXPECT_FALSE(port.AutoStart);
    EXPECT_EQ(port.Protocol, 0);
    EXPECT_EQ(port.WaitTimer, 15);
    EXPECT_EQ(port.MaxReSend, 2);
    EXPECT_EQ(port.CommErrCnt, 5);
    EXPECT_EQ(port.CommLostCnt, 10);
    EXPECT_EQ(port.PollMode, 0);
    EXPECT_FALSE(port.PacedByBus());
    EXPECT_EQ(port.ReplyTimeout, 500);
    EXPECT_EQ(settings.Language, 0);
    EXPECT_FALSE(settings.IsChinese());
    EXPECT_EQ(settings.RecInterval, 600);
}

TEST_F(SettingsFile, RecIntervalKeepsOffAndRaisesShortIntervals)
{
    const struct { const char *stored; qint32 expected; } cases[] = {
        {"10", 50}, {"-5", 50}, {"0", 0}, {"49", 50}, {"50", 50},
        {"3000", 3000}, {"abc", 600}, {"", 600}, {"12x", 600},
    };
    for (const auto &c : cases) {
        const TSettings settings = Load(QByteArray("[DataLog]\nRecInterval=") + c.stored + "\n");
        EXPECT_EQ(settings.RecInterval, c.expected) << "stored " << c.stored;
    }
}

TEST_F(SettingsFile, ReplyTimeoutIsKeptWithinItsBoundsAndSavedClamped)
{
    const struct { const char *stored; qint32 expected; } cases[] = {
        {"49", 50}, {"50", 50}, {"0", 50}, {"-300", 50}, {"750", 750},
        {"5000", 5000}, {"5001", 5000}, {"0x7FFFFFFF", 5000}, {"soon", 500},
    };
    for (const auto &c : cases) {
        const TSettings settings = Load(QByteArray("[CommMast]\nReplyTimeout=") + c.stored + "\n");
        EXPECT_EQ(settings.PortInfo.ReplyTimeout, c.expected) << "stored " << c.stored;
        SaveSettings(settings, path);
        EXPECT_TRUE(ContentLines().contains(QStringLiteral("ReplyTimeout=%1").arg(c.expected))) << "stored " << c.stored;
    }
}

TEST_F(SettingsFile, OnlyPollModeOnePacesByTheBus)
{
    const struct { const char *stored; bool paced; } cases[] = {
        {"1", true}, {"0", false}, {"2", false}, {"257", true}, {"fast", false},
    };
    for (const auto &c : cases) {
        const TSettings settings = Load(QByteArray("[CommMast]\nPollMode=") + c.stored + "\n");
        EXPECT_EQ(settings.PortInfo.PacedByBus(), c.paced) << "stored " << c.stored;
    }
}

TEST_F(SettingsFile, IntegerTextsAndByteFields)
{
    const struct { const char *stored; quint8 expected; } cases[] = {
        {"0x2", 2}, {"0X0A", 10}, {"$ff", 255}, {"258", 2}, {"-1", 255},
        {"0x", 0}, {"$", 0}, {"0xG", 0}, {"2.5", 0}, {" 3 ", 3},
        {"99999999999", 0},
    };
    for (const auto &c : cases) {
        const TSettings settings = Load(QByteArray("[CommPort]\nProtocol=") + c.stored + "\n");
        EXPECT_EQ(settings.PortInfo.Protocol, c.expected) << "stored '" << c.stored << "'";
    }
}

TEST_F(SettingsFile, EmptyOrUnreadableValuesFallBackToDefaults)
{
    const TSettings settings = Load("[CommPort]\nStopBits=\nBaudRate=fast\nAutoStart=-1\n"
                                    "[CommMast]\nMaxReSend=0x\n");
    EXPECT_EQ(settings.PortInfo.StopBits, 1);
    EXPECT_EQ(settings.PortInfo.BaudRate, 9600);
    EXPECT_TRUE(settings.PortInfo.AutoStart);
    EXPECT_EQ(settings.PortInfo.MaxReSend, 2);
}

TEST_F(SettingsFile, SectionsAndKeysMatchWithoutRegardToCase)
{
    const TSettings settings = Load("[COMMPORT]\ncomname=COM3\nBAUDRATE=4800\n"
                                    "[commmast]\nmaxresend=4\n"
                                    "[language]\nLANGUAGE=1\n");
    EXPECT_EQ(settings.PortInfo.ComName, QStringLiteral("COM3"));
    EXPECT_EQ(settings.PortInfo.BaudRate, 4800);
    EXPECT_EQ(settings.PortInfo.MaxReSend, 4);
    EXPECT_EQ(settings.Language, 1);
    EXPECT_TRUE(settings.IsChinese());
}

TEST_F(SettingsFile, SaveWritesEveryKeyInOrderAndLoadsBack)
{
    TSettings saved = NonDefaultSettings();
    saved.RecInterval = 0;

    SaveSettings(saved, path);

    EXPECT_EQ(ContentLines(), QStringList({
        "[CommPort]", "ComName=/dev/ttyUSB0", "BaudRate=2400", "StopBits=2",
        "ReadIntervalTimeout=150", "AutoStart=1", "Protocol=3",
        "[CommMast]", "WaitTimer=255", "MaxReSend=0", "CommErrCnt=7", "CommLostCnt=8",
        "PollMode=1", "ReplyTimeout=1200",
        "[Language]", "Language=1",
        "[DataLog]", "RecInterval=0"}));

    TSettings loaded;
    LoadSettings(loaded, path);
    EXPECT_TRUE(loaded == saved);
}

TEST_F(SettingsFile, SaveKeepsOtherContentAndTheFileSpelling)
{
    WriteFileBytes(path, "; site notes\n"
                         "[Vendor]\n"
                         "Colour=Blue\n"
                         "[commport]\n"
                         "; the bus adapter\n"
                         "comname=COM4\n"
                         "Extra=keep me\n");
    TSettings settings;
    LoadSettings(settings, path);
    settings.PortInfo.ComName = QStringLiteral("COM5");

    SaveSettings(settings, path);

    EXPECT_EQ(ContentLines(), QStringList({
        "; site notes", "[Vendor]", "Colour=Blue",
        "[commport]", "; the bus adapter", "comname=COM5", "Extra=keep me",
        "BaudRate=9600", "StopBits=1", "ReadIntervalTimeout=200", "AutoStart=0", "Protocol=0",
        "[CommMast]", "WaitTimer=15", "MaxReSend=2", "CommErrCnt=5", "CommLostCnt=10",
        "PollMode=0", "ReplyTimeout=500",
        "[Language]", "Language=0",
        "[DataLog]", "RecInterval=600"}));
}

TEST_F(SettingsFile, DamagedForeignFileLoadsItsSoundValuesAndSaveKeepsItsLines)
{
    // Written by hand on another system: CRLF line ends, GBK text, stray
    // lines, a key twice, wrong types and no line end at the very end.
    const QByteArray foreign = "\xc9\xe8\xd6\xc3\xce\xc4\xbc\xfe\r\n"  // a stray line in GBK
                               "[Site]\r\n"
                               "Room=\xbb\xfa\xb7\xbf 2\r\n"
                               "=no key\r\n"
                               "[CommPort\r\n"
                               "[CommPort]\r\n"
                               "ComName=COM3\r\n"
                               "BaudRate=4800\r\n"
                               "BaudRate=2400\r\n"
                               "StopBits=two\r\n"
                               "Protocol=2.0\r\n"
                               "ReadIntervalTimeout = 150\r\n"
                               "[DataLog]\r\n"
                               "RecInterval=300";
    const TSettings loaded = Load(foreign);
    EXPECT_EQ(loaded.PortInfo.ComName, QStringLiteral("COM3"));
    EXPECT_EQ(loaded.PortInfo.BaudRate, 2400); // a key given twice: the later line counts
    EXPECT_EQ(loaded.PortInfo.StopBits, 1);
    EXPECT_EQ(loaded.PortInfo.Protocol, 0);
    EXPECT_EQ(loaded.PortInfo.ReadIntervalTimeout, 150);
    EXPECT_EQ(loaded.PortInfo.MaxReSend, 2);
    EXPECT_EQ(loaded.RecInterval, 300);

    SaveSettings(loaded, path);
    // Every line the settings do not own keeps its bytes and the file its
    // CRLF line ends; of the key given twice only the line that counts stays.
    const QByteArray expected = "\xc9\xe8\xd6\xc3\xce\xc4\xbc\xfe\r\n"
                                "[Site]\r\n"
                                "Room=\xbb\xfa\xb7\xbf 2\r\n"
                                "=no key\r\n"
                                "[CommPort\r\n"
                                "[CommPort]\r\n"
                                "ComName=COM3\r\n"
                                "BaudRate=2400\r\n"
                                "StopBits=1\r\n"
                                "Protocol=0\r\n"
                                "ReadIntervalTimeout = 150\r\n"
                                "AutoStart=0\r\n"
                                "[DataLog]\r\n"
                                "RecInterval=300\r\n"
                                "[CommMast]\r\nWaitTimer=15\r\nMaxReSend=2\r\nCommErrCnt=5\r\nCommLostCnt=10\r\n"
                                "PollMode=0\r\nReplyTimeout=500\r\n"
                                "[Language]\r\nLanguage=0\r\n";
    EXPECT_EQ(ReadFileBytes(path), expected);
    TSettings reloaded;
    LoadSettings(reloaded, path);
    EXPECT_TRUE(reloaded == loaded);
}

TEST_F(SettingsFile, SaveOfUnchangedSettingsKeepsAHandWrittenFileByteForByte)
{
    const QByteArray handWritten = "; copied from the old monitoring PC\r\n"
                                   "[CommPort]\r\n"
                                   "ComName = \xb4\xae\xbf\xda" "1\r\n" // a port name in GBK
                                   "BaudRate=9600\r\nStopBits=1\r\nReadIntervalTimeout=200\r\n"
                                   "AutoStart=0\r\nProtocol=0x2\r\n"
                                   "[CommMast]\r\nWaitTimer=$0F\r\nMaxReSend=2\r\nCommErrCnt=5\r\nCommLostCnt=10\r\n"
                                   "PollMode=0\r\nReplyTimeout=0x1F4\r\n"
                                   "[Language]\r\nLanguage=1\r\n"
                                   "[DataLog]\r\nRecInterval=600\r\n"
                                   "; keep this note at the end";
    const TSettings loaded = Load(handWritten);
    ASSERT_EQ(loaded.PortInfo.Protocol, 2);

    SaveSettings(loaded, path);
    EXPECT_EQ(ReadFileBytes(path), handWritten);

    TSettings changed = loaded;
    changed.PortInfo.Protocol = 1;
    SaveSettings(changed, path);
    QByteArray expected = handWritten;
    expected.replace("Protocol=0x2", "Protocol=1");
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST_F(SettingsFile, LoadingThePortSettingsKeepsTheOtherValuesInMemory)
{
    WriteFileBytes(path, "[CommPort]\nComName=COM7\nProtocol=1\n[Language]\nLanguage=0\n[DataLog]\nRecInterval=600\n");
    TSettings settings = NonDefaultSettings();
    LoadPortSettings(settings, path);
    EXPECT_EQ(settings.PortInfo.ComName, "COM7");
    EXPECT_EQ(settings.PortInfo.Protocol, 1);
    EXPECT_EQ(settings.PortInfo.BaudRate, 9600); // from the file, where it is missing
    EXPECT_EQ(settings.Language, 1);
    EXPECT_EQ(settings.RecInterval, 3000);
}

TEST_F(SettingsFile, UnwritableFileRaisesTheWriteError)
{
    const QString unwritable[] = {
        dir.filePath(QStringLiteral("missing/UserParaIni.ini")), // no such directory
        dir.path(),                                               // a directory, not a file
    };
    for (const QString &target : unwritable) {
        try {
            SaveSettings(TSettings{}, target);
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const std::runtime_error &e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + target.toStdString());
        }
    }
}

} // namespace
