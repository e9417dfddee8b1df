// Program file names and the safe replacement of files.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/module_path.h"
#include "platform/safe_file.h"
#include "test_support.h"

using namespace belvorine;

TEST(ModulePath, ReplacesAThreeLetterExtensionOrAppendsOne) {
    EXPECT_EQ(replaceExtension("/opt/order.exe", "dat"), "/opt/order.dat");
    EXPECT_EQ(replaceExtension("/opt/order.exe", "chm"), "/opt/order.chm");
    EXPECT_EQ(replaceExtension("/home/u/Belvorine/belvorine", "ovd"),
              "/home/u/Belvorine/belvorine.ovd");
    // A dot in a folder name or a short extension is not the program's
    // three-letter extension.
    EXPECT_EQ(replaceExtension("/home/u.v/belvorine", "dat"), "/home/u.v/belvorine.dat");
    EXPECT_EQ(replaceExtension("/opt/a.b", "tmp"), "/opt/a.b.tmp");
}

TEST(ModulePath, FilesLieBesideTheProgram) {
    test::ProgramFolder folder;
    EXPECT_EQ(modulePathWithExtension("dat"), folder.path() + "/belvorine.dat");
    EXPECT_EQ(modulePathWithExtension("da2"), folder.path() + "/belvorine.da2");
}

// The per-user folder follows the XDG rules where the whole-run tests do
// not look: a relative XDG_DATA_HOME is ignored, and every folder made on
// the way is the user's alone.
TEST(ModulePath, TheUserDataFolderFollowsTheXdgRules) {
    QTemporaryDir home;
    test::EnvironmentVariable homeVariable("HOME", home.path());
    test::EnvironmentVariable relative("XDG_DATA_HOME", "data");
    test::ProgramFolder restore;
    setModulePathForTesting("/usr/bin/belvorine");
    EXPECT_EQ(programFilesFolder(), home.path() + "/.local/share/belvorine");
    QString reason;
    ASSERT_EQ(makeProgramFilesFolder(&reason), 1) << reason.toStdString();
    for (const char* made : {"/.local", "/.local/share", "/.local/share/belvorine"}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(home.path() + made).constData(), &info), 0) << made;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << made;
    }
}

class SafeFile : public ::testing::Test {
protected:
    void TearDown() override { setWriteFaultForTesting(-1); }
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.path() + "/" + name; }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::Files); }
};

TEST_F(SafeFile, ReplacesContentAndSetsTheMode) {
    test::writeFile(path("history"), "old");
    ASSERT_EQ(replaceFileSafely(path("history"), "new content", 0444), 1);
    EXPECT_EQ(test::readFile(path("history")), "new content");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path("history")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    // A read-only file can still be replaced: the folder decides.
    EXPECT_EQ(replaceFileSafely(path("history"), "again", 0444), 1);
    EXPECT_EQ(test::readFile(path("history")), "again");
    EXPECT_EQ(entries(), QStringList{"history"});
}

TEST_F(SafeFile, AFullDiskLeavesThePreviousFileWhole) {
    test::writeFile(path("settings"), "previous settings");
    for (long long budget : {0LL, 1LL, 100LL}) {
        setWriteFaultForTesting(budget);
        EXPECT_EQ(replaceFileSafely(path("settings"), std::string(5000, 'x')), 0) << budget;
        EXPECT_EQ(test::readFile(path("settings")), "previous settings");
        EXPECT_EQ(entries(), QStringList{"settings"}) << "no temporary file is left behind";
    }
}

TEST_F(SafeFile, AMissingFolderFailsWithoutCreatingAnything) {
    EXPECT_EQ(replaceFileSafely(path("no/such/file"), "x"), 0);
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(SafeFile, CopyAndSizes) {
    test::writeFile(path("a"), "12345");
    EXPECT_EQ(fileSize(path("a")), 5);
    EXPECT_EQ(fileSize(path("missing")), 0);
    ReadFile from;
    ASSERT_EQ(from.open(path("a")), FileRead::kRead);
    EXPECT_EQ(copyFileSafely(from, from.stamp().size, path("b")), 1);
    EXPECT_EQ(test::readFile(path("b")), "12345");
    EXPECT_EQ(copyFileSafely(from, 6, path("c")), 0) << "the file holds fewer bytes";
    EXPECT_FALSE(QFile::exists(path("c")));
    EXPECT_EQ(copyFileSafely(ReadFile(), 0, path("c")), 0) << "nothing open";
    EXPECT_FALSE(QFile::exists(path("c")));
}
