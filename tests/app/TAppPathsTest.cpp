#include "app/TAppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A program directory and the homes of one user, all in one temporary tree.
struct ProgramAndHomes {
    QTemporaryDir Root;
    QString ProgramDir = Root.filePath("build/src");
    QString InstallDir = Root.filePath("usr/bin");
    QString ConfigHome = Root.filePath("home/.config");
    QString DataHome = Root.filePath("home/.local/share");

    ProgramAndHomes()
    {
        QDir().mkpath(ProgramDir);
        QDir().mkpath(InstallDir);
    }

    TAppPaths For(const QString &programDir) const
    {
        return TAppPaths::ForProgram(programDir, InstallDir, ConfigHome, DataHome);
    }
};

void ExpectBeside(const TAppPaths &paths, const QString &dir)
{
    EXPECT_EQ(paths.SettingsFile, dir + "/UserParaIni.ini");
    EXPECT_EQ(paths.RecordDir, dir + "/Record/");
    EXPECT_EQ(paths.BackupDir, dir + "/Backup/");
    EXPECT_EQ(paths.DataDir(), dir);
}

void ExpectPerUser(const TAppPaths &paths, const ProgramAndHomes &tree)
{
    EXPECT_EQ(paths.SettingsFile, tree.ConfigHome + "/orvan/UserParaIni.ini");
    EXPECT_EQ(paths.RecordDir, tree.DataHome + "/orvan/Record/");
    EXPECT_EQ(paths.BackupDir, tree.DataHome + "/orvan/Backup/");
    EXPECT_EQ(paths.DataDir(), tree.DataHome + "/orvan");
}

} // namespace

TEST(TAppPathsTest, BuildTreeKeepsEverythingBesideTheProgram)
{
    ProgramAndHomes tree;
    const TAppPaths paths = tree.For(tree.ProgramDir);
    ExpectBeside(paths, tree.ProgramDir);

    paths.CreateDirectories();
    EXPECT_TRUE(QFileInfo(paths.RecordDir).isDir());
    EXPECT_TRUE(QFileInfo(paths.BackupDir).isDir());
    EXPECT_FALSE(QFileInfo::exists(tree.Root.filePath("home"))) << "nothing goes into the user's directories";
}

TEST(TAppPathsTest, InstalledProgramKeepsItsFilesPerUserCreatedOnFirstUse)
{
    ProgramAndHomes tree;
    // The install directory counts as installed even where this user (root)
    // could write it; a symbolic link to it is the same directory.
    ASSERT_TRUE(QFile::link(tree.InstallDir, tree.Root.filePath("bin")));
    for (const QString &programDir : {tree.InstallDir, tree.Root.filePath("bin")}) {
        SCOPED_TRACE(programDir.toStdString());
        ExpectPerUser(tree.For(programDir), tree);
    }

    const TAppPaths paths = tree.For(tree.InstallDir);
    ASSERT_FALSE(QFileInfo::exists(tree.ConfigHome));
    paths.CreateDirectories();
    EXPECT_TRUE(QFileInfo(paths.RecordDir).isDir());
    EXPECT_TRUE(QFileInfo(paths.BackupDir).isDir());
    EXPECT_TRUE(QFileInfo(tree.ConfigHome + "/orvan").isDir());
    EXPECT_EQ(QDir(tree.InstallDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST(TAppPathsTest, ProgramDirectoryThisUserCannotWriteIsAnInstalledOne)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes every directory";
    ProgramAndHomes tree;
    const QString readOnly = tree.Root.filePath("opt/orvan");
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    ExpectPerUser(tree.For(readOnly), tree);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(TAppPathsTest, XdgBaseDirectoriesIgnoreEmptyAndRelativeValues)
{
    struct Case {
        const char *value;
        const char *expected;
    };
    const Case cases[] = {
        {"/srv/cfg", "/srv/cfg"},
        {"/srv/cfg/", "/srv/cfg"},
        {"", "/home/op/.config"},
        {"cfg", "/home/op/.config"},
        {"./cfg", "/home/op/.config"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(TAppPaths::XdgBaseDir(c.value, "/home/op", ".config"), c.expected);
    }
}
