#include "service/TNutUsers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kUsersFile = R"(# upsd.users of a test site
[admin]
    password = "s3cret #1"
    actions = SET FSD
    instcmds = ALL

[operator]
    password=op
    instcmds = test.battery.start
    instcmds = TEST.BATTERY.STOP

[monprimary]
    password = mp
    upsmon primary
[monsecondary]
    password = ms
    upsmon slave
[nopassword]
    upsmon primary
)";

} // namespace

TEST(TNutUsers, ReadsNutsOwnFormatAndGrantsWhatItSays)
{
    QStringList problems;
    const TNutUsers users = TNutUsers::Parse(kUsersFile, &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_EQ(users.Count(), 5);

    const struct {
        const char *name;
        const char *password;
        bool known;
        bool login, primary, fsd, set, batteryTest, loadOff;
    } cases[] = {
        {"admin", "s3cret #1", true, false, false, true, true, true, true},
        {"operator", "op", true, false, false, false, false, true, false},
        {"monprimary", "mp", true, true, true, true, false, false, false},
        {"monsecondary", "ms", true, true, false, false, false, false, false},
        {"admin", "s3cret", false},     // wrong password
        {"Admin", "s3cret #1", false},  // names are case-sensitive
        {"nopassword", "", false},      // no password in the file: no login at all
        {"nobody", "x", false},
    };
    for (const auto &c : cases) {
        const TNutUser *user = users.Authenticate(c.name, c.password);
        ASSERT_EQ(user != nullptr, c.known) << c.name << " / " << c.password;
        if (user == nullptr)
            continue;
        EXPECT_EQ(user->MayLogin(), c.login) << c.name;
        EXPECT_EQ(user->IsPrimary(), c.primary) << c.name;
        EXPECT_EQ(user->MayForceShutdown(), c.fsd) << c.name;
        EXPECT_EQ(user->MaySet(), c.set) << c.name;
        EXPECT_EQ(user->MayRun("test.battery.start"), c.batteryTest) << c.name;
        EXPECT_EQ(user->MayRun("load.off"), c.loadOff) << c.name;
    }
    EXPECT_TRUE(users.Authenticate("operator", "op")->MayRun("test.battery.stop"));
}

TEST(TNutUsers, ProblemsNameTheLineAndNeverThePassword)
{
    QStringList problems;
    const TNutUsers users = TNutUsers::Parse("password = early\n"
                                             "[u]\n"
                                             "  password = \"unclosed\n"
                                             "  upsmon boss\n"
                                             "  colour = blue\n"
                                             "[broken\n"
                                             "  password = hidden\n",
                                             &problems);
    EXPECT_EQ(problems, (QStringList{
                            "upsd.users line 1: a setting outside a user's section is ignored",
                            "upsd.users line 3: a quote is left open",
                            "upsd.users line 4: upsmon needs primary or secondary",
                            "upsd.users line 5: unknown setting \"colour\" is ignored",
                            "upsd.users line 6: a section name needs its closing bracket",
                            "upsd.users line 7: a setting outside a user's section is ignored",
                        }));
    EXPECT_FALSE(problems.join(' ').contains("early"));
    EXPECT_EQ(users.Authenticate("u", "unclosed"), nullptr);
}

TEST(TNutUsers, AMissingFileMeansNoUsers)
{
    QTemporaryDir dir;
    QStringList problems;
    EXPECT_EQ(TNutUsers::Load(dir.filePath("upsd.users"), &problems).Count(), 0);
    EXPECT_TRUE(problems.isEmpty());
}
