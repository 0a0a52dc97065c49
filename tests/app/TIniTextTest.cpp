#include "app/TIniText.h"

#include <gtest/gtest.h>

namespace {

// Written by hand on another system: a byte order mark, CRLF line ends, GBK
// text, a stray line, an unclosed header, a key without a value, a comment
// after the last key and no line end at the very end.
const QByteArray kForeign = "\xEF\xBB\xBF; site notes\r\n"
                            "\xc9\xe8\xd6\xc3\r\n"
                            "[Site]\r\n"
                            "Room = \xbb\xfa\xb7\xbf 2  \r\n"
                            "=no key\r\n"
                            "[CommPort\r\n"
                            "[CommPort]\r\n"
                            "  baudrate = 4800\r\n"
                            "BaudRate=2400\r\n"
                            "Empty=\r\n"
                            "; the last word";

TEST(IniText, KeepsEveryByteOfAFileItDidNotChange)
{
    EXPECT_EQ(TIniText(kForeign).ToBytes(), kForeign);
    EXPECT_EQ(TIniText(QByteArray("a=1\n\n\nb")).ToBytes(), QByteArray("a=1\n\n\nb"));
    EXPECT_EQ(TIniText().ToBytes(), QByteArray());
}

TEST(IniText, FindsValuesWithoutRegardToCaseAndTheLastOfATwiceGivenKey)
{
    const TIniText ini(kForeign);
    EXPECT_EQ(ini.Value("site", "ROOM"), QByteArray("\xbb\xfa\xb7\xbf 2"));
    EXPECT_EQ(ini.Value("CommPort", "BaudRate"), QByteArray("2400"));
    EXPECT_EQ(ini.Value("CommPort", "Empty"), QByteArray(""));
    EXPECT_EQ(ini.Value("CommPort", "Room"), std::nullopt);
    EXPECT_EQ(ini.Value("Site", ""), std::nullopt);
}

TEST(IniText, ChangesOnlyTheValueBytesOfTheKeyWritten)
{
    TIniText ini(kForeign);
    ini.SetValue("site", "room", "Hall 3");
    ini.SetValue("COMMPORT", "BAUDRATE", "9600");

    QByteArray expected = kForeign;
    expected.replace("Room = \xbb\xfa\xb7\xbf 2  \r\n", "Room = Hall 3  \r\n");
    expected.replace("  baudrate = 4800\r\nBaudRate=2400", "BaudRate=9600"); // the earlier line goes
    EXPECT_EQ(ini.ToBytes(), expected);
}

TEST(IniText, AddsMissingKeysToTheirSectionAndMissingSectionsAtTheEnd)
{
    TIniText ini(kForeign);
    ini.SetValue("CommPort", "Protocol", "2");
    ini.SetValue("DataLog", "RecInterval", "600");

    QByteArray expected = kForeign;
    expected.replace("Empty=\r\n", "Empty=\r\nProtocol=2\r\n");
    expected += "\r\n[DataLog]\r\nRecInterval=600\r\n";
    EXPECT_EQ(ini.ToBytes(), expected);

    TIniText fresh;
    fresh.SetValue("CommPort", "ComName", "COM1");
    fresh.SetValue("Language", "Language", "1");
    fresh.SetValue("CommPort", "BaudRate", "9600");
    EXPECT_EQ(fresh.ToBytes(), QByteArray("[CommPort]\nComName=COM1\nBaudRate=9600\n[Language]\nLanguage=1\n"));
}

} // namespace
