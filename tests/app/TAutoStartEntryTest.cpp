#include "app/TAutoStartEntry.h"

#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct AutoStartDirs {
    QTemporaryDir Root;
    QString System = Root.filePath("etc/xdg/autostart");
    QString User = Root.filePath("home/config/autostart");
    TAutoStartEntry Entry{System, User, "/opt/orvan/orvan"};

    QString SystemFile() const { return System + "/Orvan 2000.desktop"; }
    QString UserFile() const { return User + "/Orvan 2000.desktop"; }
};

} // namespace

TEST(TAutoStartEntryTest, WritableSystemDirectoryGetsTheEntryOnceAndUncheckingRemovesIt)
{
    AutoStartDirs dirs;
    ASSERT_TRUE(QDir().mkpath(dirs.System));
    dirs.Entry.Apply(true);
    EXPECT_EQ(ReadFileBytes(dirs.SystemFile()), "[Desktop Entry]\nType=Application\nName=Orvan 2000\n"
                                                 "Exec=\"/opt/orvan/orvan\"\nTerminal=false\n"
                                                 "X-GNOME-Autostart-enabled=true\n");
    EXPECT_FALSE(QFileInfo::exists(dirs.UserFile()));

    // A second save finds the entry and leaves it, even one that runs
    // another program.
    WriteFileBytes(dirs.SystemFile(), "[Desktop Entry]\nExec=/elsewhere\n");
    dirs.Entry.Apply(true);
    EXPECT_EQ(ReadFileBytes(dirs.SystemFile()), "[Desktop Entry]\nExec=/elsewhere\n");

    dirs.Entry.Apply(false);
    EXPECT_FALSE(QFileInfo::exists(dirs.SystemFile()));
    dirs.Entry.Apply(false); // nothing there: nothing happens
    EXPECT_FALSE(QFileInfo::exists(dirs.SystemFile()));
}

TEST(TAutoStartEntryTest, WithoutTheSystemDirectoryTheUsersOwnIsUsed)
{
    AutoStartDirs dirs; // neither directory exists yet
    dirs.Entry.Apply(true);
    EXPECT_TRUE(QFileInfo::exists(dirs.UserFile()));
    EXPECT_FALSE(QFileInfo::exists(dirs.System));
    EXPECT_EQ(dirs.Entry.ExistingEntry(), dirs.UserFile());

    dirs.Entry.Apply(false);
    EXPECT_EQ(dirs.Entry.ExistingEntry(), "");
}

TEST(TAutoStartEntryTest, ProgramPathIsQuotedForTheExecLine)
{
    const QByteArray text = TAutoStartEntry::EntryText(R"(/opt/my "tools"/50%/orvan$1)");
    EXPECT_TRUE(text.contains(R"(Exec="/opt/my \\"tools\\"/50%%/orvan\\$1")" "\n")) << text.toStdString();
}

TEST(TAutoStartEntryTest, FailuresToWriteAndToMakeTheDirectory)
{
    AutoStartDirs dirs;
    // Something that is no entry stands where it would go.
    ASSERT_TRUE(QDir().mkpath(dirs.UserFile()));
    try {
        dirs.Entry.Apply(true);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error &error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Orvan 2000'");
    }

    // A directory that cannot be made: nothing is written, nothing said.
    AutoStartDirs blocked;
    WriteFileBytes(blocked.Root.filePath("home"), "not a directory");
    EXPECT_NO_THROW(blocked.Entry.Apply(true));
    EXPECT_EQ(blocked.Entry.ExistingEntry(), "");
}
