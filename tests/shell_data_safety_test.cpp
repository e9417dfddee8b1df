// The history and the settings across whole runs, started and ended the
// way the program starts and ends: failed commits and saves, files that do
// not read, and what a killed run leaves in the program's folder.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "data/settings_file.h"
#include "main_window_fixture.h"
#include "order_test_support.h"
#include "platform/module_path.h"

using namespace belvorine;

namespace {

// Each test starts and ends the program itself, as often as it needs.
class DataSafetyTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        resetOrderFilesForTesting();
    }
    void TearDown() override {
        setWriteFaultForTesting(-1);
        MainWindowFixture::TearDown();
    }

    void startProgram() {
        messages.clear();
        window.reset(initApplication());
    }
    void endProgram() {
        messages.clear();
        window->close();
        window.reset();
    }
    void print(const char* counterparty) {
        test::setOrderHeader(counterparty, "90");
        test::fillLine(0, "六角ボルト", "M8×30", "100", "本", "12.5", "本社工場");
        ASSERT_EQ(appendCurrentOrder(), 1);
    }
    // The row count the settings file on disk holds.
    int savedRowCount() {
        loadSettings();
        return settings().startupInitialData.rowCount;
    }
};

// A first run whose commit fails must not leave settings that expect rows
// no data file holds: the next start goes on, and offers the rows the
// failed run kept in its working file. A full disk at exit is reported and
// leaves the previous settings whole.
TEST_F(DataSafetyTest, FailedExitsAreReportedAndTheNextStartGoesOn) {
    // What a killed run of the safe replace leaves: only our names go.
    const QStringList stale = {"belvorine.ovd.Ab12Cd", "belvorine.dat.XyZ123",
                               "belvorine.da2.000000"};
    const QStringList foreign = {"belvorine.ovd.old", "other.ovd.Ab12Cd", "belvorine.ovd"};
    for (const QString& name : stale + foreign) {
        test::writeFile(folder.path() + "/" + name, "x");
    }
    QFile::remove(folder.file("ovd"));
    startProgram();
    ASSERT_NE(window, nullptr);
    for (const QString& name : stale) {
        EXPECT_FALSE(QFile::exists(folder.path() + "/" + name)) << name.toStdString();
    }
    for (const QString& name : QStringList{"belvorine.ovd.old", "other.ovd.Ab12Cd"}) {
        EXPECT_TRUE(QFile::exists(folder.path() + "/" + name)) << name.toStdString();
    }

    print("株式会社山田製作所");
    // Something takes the data file's place: the commit cannot rename.
    ASSERT_TRUE(QDir(folder.path()).mkdir("belvorine.ovd"));
    endProgram();
    EXPECT_TRUE(shown("今回の変更はデータファイルに保存されていません"));
    EXPECT_EQ(savedRowCount(), 0);

    ASSERT_TRUE(QDir(folder.path()).rmdir("belvorine.ovd"));
    startProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shown("前回の終了時に保存されなかったデータが残っています"));
    EXPECT_FALSE(shown("ERROR No.0001"));
    EXPECT_EQ(orderStore().rowCount(), 1);
    endProgram();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(savedRowCount(), 1);

    // A full disk at exit: both failures are told, nothing is half written.
    const std::string settingsBefore = test::readFile(folder.file("dat"));
    const std::string dataBefore = test::readFile(folder.file("ovd"));
    startProgram();
    ASSERT_NE(window, nullptr);
    print("有限会社佐藤商店");
    settings().initialData.zoomPercent = 60;
    setWriteFaultForTesting(0);
    endProgram();
    setWriteFaultForTesting(-1);
    EXPECT_TRUE(shown("今回の変更はデータファイルに保存されていません"));
    EXPECT_TRUE(shown("設定ファイルの保存でエラーが発生しました"));
    EXPECT_EQ(test::readFile(folder.file("dat")), settingsBefore);
    EXPECT_EQ(test::readFile(folder.file("ovd")), dataBefore);
}

// A data file cut short after its first bytes still carries the history
// mark: the next start must not copy it over the backup but offer the
// backup, and keep the damaged file under a name of its own.
TEST_F(DataSafetyTest, CutShortDataFileIsRecoveredFromTheBackup) {
    startProgram();
    ASSERT_NE(window, nullptr);
    print("株式会社山田製作所");
    print("有限会社佐藤商店");
    endProgram();
    const std::string history = test::readFile(folder.file("ovd"));
    ASSERT_EQ(savedRowCount(), 2);

    test::writeFile(folder.file("ovd"), history.substr(0, 7));
    startProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shown("データファイルが壊れています"));
    EXPECT_TRUE(shown("belvorine-damaged-"));
    EXPECT_EQ(orderStore().rowCount(), 2);
    EXPECT_EQ(test::readFile(folder.file("bak")), history);
    endProgram();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(test::readFile(folder.file("ovd")), history);
    EXPECT_EQ(test::readFile(folder.file("bak")), history);
    const QStringList kept = QDir(folder.path()).entryList({"belvorine-damaged-*.ovd"});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(test::readFile(folder.path() + "/" + kept[0]), history.substr(0, 7));
}

// An older history the program wrote, copied over the data file with the
// program closed, is a history, not damage: the start says how many rows
// each file holds and lets the user choose; the file not chosen is kept
// under a name of its own and never overwritten.
TEST_F(DataSafetyTest, AnOlderHistoryCopiedBackIsUsedOrSetAsideAsTheUserChooses) {
    startProgram();
    ASSERT_NE(window, nullptr);
    print("株式会社山田製作所");
    endProgram();
    const std::string older = test::readFile(folder.file("ovd"));
    startProgram();
    print("有限会社佐藤商店");
    print("合同会社鈴木");
    endProgram();
    const std::string newer = test::readFile(folder.file("ovd"));
    ASSERT_EQ(savedRowCount(), 3);
    const auto keptFiles = [this](const char* pattern) {
        QStringList contents;
        for (const QString& name : QDir(folder.path()).entryList({pattern})) {
            contents << QString::fromStdString(test::readFile(folder.path() + "/" + name));
        }
        return contents;
    };
    const QString question =
        "データファイルの行数 (1) が前回終了時 (3) より少なくなっています。\n"
        "バックアップ (3 行) を使いますか？";

    // No: the older history is used; the backup is kept aside.
    QFile::remove(folder.file("ovd"));
    test::writeFile(folder.file("ovd"), older);
    answer = kResultNo;
    startProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shown(question));
    EXPECT_FALSE(shown("ERROR"));
    EXPECT_EQ(orderStore().rowCount(), 1);
    EXPECT_EQ(keptFiles("belvorine-backup-*.ovd"), QStringList{QString::fromStdString(newer)});
    endProgram();
    EXPECT_EQ(test::readFile(folder.file("ovd")), older);
    EXPECT_EQ(savedRowCount(), 1);
    startProgram();
    EXPECT_TRUE(messages.empty());
    endProgram();

    // Yes, after the newer history was put back and used once: the backup
    // is used; the data file is kept aside.
    QFile::remove(folder.file("ovd"));
    test::writeFile(folder.file("ovd"), newer);
    startProgram();
    EXPECT_TRUE(messages.empty());
    endProgram();
    QFile::remove(folder.file("ovd"));
    test::writeFile(folder.file("ovd"), older);
    answer = kResultYes;
    startProgram();
    EXPECT_TRUE(shown(question));
    EXPECT_EQ(orderStore().rowCount(), 3);
    EXPECT_EQ(keptFiles("belvorine-unused-*.ovd"), QStringList{QString::fromStdString(older)});
    endProgram();
    EXPECT_EQ(test::readFile(folder.file("ovd")), newer);
    EXPECT_EQ(test::readFile(folder.file("bak")), newer);
}

// The all-NUL file a full disk can leave, with no backup: the program
// starts with an empty history, says where the old file is, and every
// later start goes on as usual.
TEST_F(DataSafetyTest, DamagedDataFileWithoutBackupNeverLocksTheUserOut) {
    startProgram();
    ASSERT_NE(window, nullptr);
    print("株式会社山田製作所");
    endProgram();
    QFile::remove(folder.file("bak"));
    test::writeFile(folder.file("ovd"), std::string(600, '\0'));

    startProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shown("既存データのない状態で起動します"));
    EXPECT_TRUE(shown("belvorine-damaged-"));
    EXPECT_EQ(orderStore().rowCount(), 0);
    endProgram();
    startProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(messages.empty());
}

// A layout file that is there but cannot be read is reported at start-up
// and survives the exit instead of being replaced by the factory layout.
TEST_F(DataSafetyTest, UnreadableLayoutFileIsReportedAndKept) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("belvorine.da1"));
    startProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shown("設定ファイルを読み込むことができませんでした"));
    EXPECT_TRUE(shown(QDir::toNativeSeparators(folder.file("da1")).toUtf8().constData()));
    endProgram();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(QFileInfo(folder.file("da1")).isDir());
    EXPECT_TRUE(QFileInfo(folder.file("da2")).isFile());
}

// Installed system-wide the program keeps its files in the user's data
// folder: a first start makes it without a word and the exit writes there
// the files it writes beside a program in a folder of its own; a folder
// that cannot be made ends the start with a message that names it.
TEST_F(DataSafetyTest, ASystemWideInstallKeepsItsFilesInTheUserDataFolder) {
    QTemporaryDir home;
    test::EnvironmentVariable dataHome("XDG_DATA_HOME", home.path() + "/data");
    setModulePathForTesting("/usr/bin/belvorine");
    startProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(messages.empty());
    print("株式会社山田製作所");
    endProgram();
    for (const char* extension : {"dat", "da1", "da2", "ovd", "bak"}) {
        EXPECT_TRUE(QFileInfo::exists(home.path() + "/data/belvorine/belvorine." + extension))
            << extension;
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    test::writeFile(home.path() + "/taken", "x");
    test::EnvironmentVariable taken("XDG_DATA_HOME", home.path() + "/taken");
    setModulePathForTesting("/usr/bin/belvorine");
    startProgram();
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(shown("フォルダを作成できませんでした"));
    EXPECT_TRUE(shown(home.path() + "/taken/belvorine"));
}

}  // namespace
