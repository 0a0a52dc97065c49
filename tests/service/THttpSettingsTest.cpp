#include "service/THttpSettings.h"

#include "support/FileBytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(THttpSettings, DefaultsThenTheHttpSectionOfTheSettingsFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserParaIni.ini"));
    EXPECT_EQ(THttpSettings::Load(path), THttpSettings{}); // no file
    EXPECT_FALSE(THttpSettings{}.Enabled);
    EXPECT_EQ(THttpSettings{}.Listen, QStringLiteral("127.0.0.1:9613"));

    const struct {
        const char *File;
        bool Enabled;
        const char *Listen;
    } cases[] = {
        {"[CommPort]\nComName=COM2\n", false, "127.0.0.1:9613"},
        {"[http]\nenabled=1\nListen = 0.0.0.0:9100 \n", true, "0.0.0.0:9100"},
        {"[Http]\r\nEnabled=0\r\nListen=\r\n", false, "127.0.0.1:9613"},
        {"[Http]\nEnabled=yes\n", false, "127.0.0.1:9613"},
    };
    for (const auto &c : cases) {
        WriteFileBytes(path, c.File);
        const THttpSettings read = THttpSettings::Load(path);
        EXPECT_EQ(read.Enabled, c.Enabled) << c.File;
        EXPECT_EQ(read.Listen, QString::fromLatin1(c.Listen)) << c.File;
    }
}
