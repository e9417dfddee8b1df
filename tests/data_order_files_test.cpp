// The three history files across runs: start-up, recovery from the backup,
// the commit at exit, and what damage or a full disk leaves behind.

#include <gtest/gtest.h>

#include <string>

#include "data/order_session.h"
#include "order_test_support.h"

namespace belvorine {
namespace {

using test::fileMode;
using test::fillLine;
using test::fixture;
using test::OrderHistoryTest;
using test::readFile;
using test::setOrderHeader;
using test::writeFile;

// Answers of the two start-up questions, counted.
struct Prompts {
    int answer = 1;
    int asked = 0;
    int missingReported = 0;

    DataFilePrompts callbacks() {
        return DataFilePrompts{[this] {
                                   ++asked;
                                   return answer;
                               },
                               [this] { ++missingReported; }};
    }
};

class OrderFilesTest : public OrderHistoryTest {
protected:
    void printOrder(const char* counterparty) {
        setOrderHeader(counterparty, "90");
        fillLine(0, "六角ボルト", "M8×30", "100", "本", "12.5", "本社工場");
        ASSERT_EQ(appendCurrentOrder(), 1);
    }

    // The exit of a run: the store freed, then the commit.
    int exitRun() {
        freeStore();
        return commitDataFiles();
    }

    std::string data() const { return readFile(folder.file("ovd")); }
    std::string backup() const { return readFile(folder.file("bak")); }
};

// --- runs ----------------------------------------------------------------

TEST_F(OrderFilesTest, FirstPrintBecomesTheDataFileAndBackupAtExit) {
    ASSERT_EQ(openOrderData({}), 0);
    printOrder("株式会社山田製作所");
    const std::string working = readFile(folder.file("tmp"));
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(data(), working);
    EXPECT_EQ(backup(), working);
    EXPECT_EQ(fileMode(folder.file("ovd")), 0444);
    EXPECT_EQ(fileMode(folder.file("bak")), 0444);
    EXPECT_FALSE(QFile::exists(folder.file("tmp")));

    // The next run starts from them and writes over the read-only files.
    ASSERT_EQ(start(settings().initialData.rowCount), 1);
    EXPECT_EQ(orderStore().rowCount(), 1);
    printOrder("有限会社佐藤商店");
    EXPECT_EQ(exitRun(), kCommitDone);
    ASSERT_EQ(start(settings().initialData.rowCount), 1);
    EXPECT_EQ(orderStore().rowCount(), 2);
}

TEST_F(OrderFilesTest, RunWithoutHistoryLeavesNoFiles) {
    ASSERT_EQ(openOrderData({}), 0);
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_FALSE(QFile::exists(folder.file("ovd")));
    EXPECT_FALSE(QFile::exists(folder.file("bak")));
    EXPECT_FALSE(QFile::exists(folder.file("tmp")));
}

TEST_F(OrderFilesTest, StartCopiesTheDataFileToBackupAndWorkingFile) {
    writeFile(folder.file("ovd"), fixture("orders-basic.ovd"));
    ASSERT_EQ(start(5), 1);
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
    EXPECT_EQ(readFile(folder.file("tmp")), fixture("orders-basic.ovd"));
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(data(), fixture("orders-basic.ovd"));
    EXPECT_EQ(fileMode(folder.file("ovd")), 0444);
}

TEST_F(OrderFilesTest, WorkingFileLeftByACrashIsNotCommitted) {
    writeFile(folder.file("tmp"), fixture("orders-basic.ovd"));
    ASSERT_EQ(start(0), 1);
    EXPECT_EQ(orderStore().rowCount(), 0);
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_FALSE(QFile::exists(folder.file("ovd")));
}

// --- recovery from the backup --------------------------------------------

TEST_F(OrderFilesTest, MissingDataFileIsRecoveredFromTheBackupAfterTheQuestion) {
    installHistory(fixture("orders-basic.ovd"), 5);
    QFile::remove(folder.file("ovd"));
    Prompts prompts;
    ASSERT_EQ(openOrderData(prompts.callbacks()), 0);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(orderStore().rowCount(), 5);
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(data(), fixture("orders-basic.ovd"));
}

TEST_F(OrderFilesTest, DecliningTheBackupFailsAndTouchesNothing) {
    installHistory(fixture("orders-basic.ovd"), 5);
    QFile::remove(folder.file("ovd"));
    Prompts prompts;
    prompts.answer = 0;
    EXPECT_EQ(openOrderData(prompts.callbacks()), kErrorDataFiles);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(prompts.missingReported, 0);
    // The exit sequence still runs.
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
    EXPECT_FALSE(QFile::exists(folder.file("ovd")));
}

TEST_F(OrderFilesTest, MissingBackupIsReportedAndTheNextStartIsAFirstRun) {
    settings().initialData.rowCount = 5;
    Prompts prompts;
    EXPECT_EQ(openOrderData(prompts.callbacks()), kErrorDataFiles);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(prompts.missingReported, 1);
    // The exit saves the settings; the next start is a first run.
    EXPECT_EQ(exitRun(), kCommitDone);
    Prompts next;
    EXPECT_EQ(openOrderData(next.callbacks()), 0);
    EXPECT_EQ(next.asked, 0);
}

TEST_F(OrderFilesTest, DataFileThatIsNoHistoryIsNeitherBackedUpNorUsed) {
    installHistory(fixture("orders-basic.ovd"), 5);
    writeFile(folder.file("ovd"), "garbage that is no history\r\n");
    Prompts prompts;
    ASSERT_EQ(openOrderData(prompts.callbacks()), 0);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
    EXPECT_EQ(orderStore().rowCount(), 5);
}

// --- damage and full disks never cost the history ------------------------

TEST_F(OrderFilesTest, DamagedWorkingFileNeverReplacesTheDataFileOrBackup) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    writeFile(folder.file("tmp"), std::string("\x00\x01\x1B$BCm damaged\r\n", 18));
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(orderStore().rowCount(), 0);
    printOrder("株式会社山田製作所");
    EXPECT_EQ(exitRun(), kCommitRefused);
    EXPECT_EQ(data(), fixture("orders-basic.ovd"));
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
}

TEST_F(OrderFilesTest, WorkingFileWithRowsMissingIsNotCommitted) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    writeFile(folder.file("tmp"), fixture("orders-no-final-crlf.ovd"));
    EXPECT_EQ(exitRun(), kCommitRefused);
    EXPECT_EQ(data(), fixture("orders-basic.ovd"));
    EXPECT_TRUE(QFile::exists(folder.file("tmp")));
}

TEST_F(OrderFilesTest, FullDiskDuringARewriteKeepsThePreviousFiles) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    setWriteFaultForTesting(40);
    setOrderHeader("株式会社山田製作所", "90");
    fillLine(0, "新しい品名", "", "1", "本", "1", "本社工場");
    EXPECT_EQ(appendCurrentOrder(), 0);
    setWriteFaultForTesting(-1);
    EXPECT_EQ(readFile(folder.file("tmp")), fixture("orders-basic.ovd"));
    EXPECT_EQ(exitRun(), kCommitRefused);
    EXPECT_EQ(data(), fixture("orders-basic.ovd"));
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
}

TEST_F(OrderFilesTest, FullDiskDuringTheCommitKeepsTheDataFileAndBackup) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    printOrder("ABC");
    setWriteFaultForTesting(100);
    EXPECT_EQ(exitRun(), kCommitRefused);
    setWriteFaultForTesting(-1);
    EXPECT_EQ(data(), fixture("orders-basic.ovd"));
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
    EXPECT_TRUE(QFile::exists(folder.file("tmp")));
}

TEST_F(OrderFilesTest, FullDiskAfterTheDataFileKeepsTheOldBackupWhole) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    printOrder("ABC");
    const std::string working = readFile(folder.file("tmp"));
    setWriteFaultForTesting(static_cast<long long>(working.size()) + 10);
    EXPECT_EQ(exitRun(), kCommitBackupFailed);
    setWriteFaultForTesting(-1);
    EXPECT_EQ(data(), working);
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
}

}  // namespace
}  // namespace belvorine
