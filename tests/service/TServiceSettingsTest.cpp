#include "service/TServiceSettings.h"

#include "service/TListenAddress.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(TServiceSettings, DefaultsThenTheirSectionsOfTheSettingsFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserParaIni.ini"));
    const TServiceSettings defaults = TServiceSettings::Load(path);
    EXPECT_FALSE(defaults.NutServer.Enabled);
    EXPECT_EQ(defaults.NutServer.Listen, QStringLiteral("127.0.0.1:3493"));
    EXPECT_EQ(defaults.NutServer.LowRuntime, 300);
    EXPECT_TRUE(defaults.Notify.Command.isEmpty());
    EXPECT_EQ(TServiceSettings::UsersFile(path), dir.filePath(QStringLiteral("upsd.users")));

    WriteFileBytes(path, "[CommPort]\nComName=COM2\n"
                         "[nutserver]\nenabled=1\nListen = 0.0.0.0:3493, [::1]:3494\nLowRuntime=0x258\n"
                         "MaxClients=0\nIdleTimeout=abc\n"
                         "[Notify]\nCommand=/usr/local/bin/ups-mail \"a b\"\nTimeout=99999\n");
    const TServiceSettings read = TServiceSettings::Load(path);
    EXPECT_TRUE(read.NutServer.Enabled);
    EXPECT_EQ(read.NutServer.Listen, QStringLiteral("0.0.0.0:3493, [::1]:3494"));
    EXPECT_EQ(read.NutServer.LowRuntime, 600);
    EXPECT_EQ(read.NutServer.MaxClients, 1);     // brought into range
    EXPECT_EQ(read.NutServer.IdleTimeout, 300);  // no number: the default
    EXPECT_EQ(read.Notify.Command, QStringLiteral("/usr/local/bin/ups-mail \"a b\""));
    EXPECT_EQ(read.Notify.Timeout, 3600);
}

TEST(TListenAddress, ReadsAddressesAndPortsAndNamesWhatItCannot)
{
    QStringList problems;
    const QList<TListenAddress> addresses = TListenAddress::ParseList(
        QStringLiteral("127.0.0.1:3493, [::1]:3494,localhost:0,0.0.0.0:1, ::1:3493, host.example:3493, 1.2.3.4:70000, :3493"),
        &problems);
    QStringList texts;
    for (const TListenAddress &address : addresses)
        texts << address.Text();
    EXPECT_EQ(texts, (QStringList{"127.0.0.1:3493", "[::1]:3494", "127.0.0.1:0", "0.0.0.0:1"}));
    EXPECT_EQ(problems, (QStringList{"\"::1:3493\" is no ADDRESS:PORT", "\"host.example:3493\" is no ADDRESS:PORT",
                                     "\"1.2.3.4:70000\" is no ADDRESS:PORT", "\":3493\" is no ADDRESS:PORT"}));
}
