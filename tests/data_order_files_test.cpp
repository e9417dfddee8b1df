// The three history files across runs: start-up, recovery from the backup,
// the commit at exit, and what damage or a full disk leaves behind.

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

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

// Answers of the start-up questions, counted, and the files put aside.
struct Prompts {
    int answer = 1;
    int asked = 0;
    bool askedAboutDamage = false;
    int missingReported = 0;
    int takeUnsaved = 1;
    int unsavedAsked = 0;
    int unsavedRows = 0;  // the rows it offered
    int useBackupForFewerRows = 1;
    QString fewerRowsAsked;  // "data/last/backup"
    QStringList setAside;

    DataFilePrompts callbacks() {
        return DataFilePrompts{
            [this](bool damaged) {
                ++asked;
                askedAboutDamage = damaged;
                return answer;
            },
            [this] { ++missingReported; },
            [this](int rows, int) {
                ++unsavedAsked;
                unsavedRows = rows;
                return takeUnsaved;
            },
            [this](SetAside, const QString& path) { setAside.append(path); },
            [this](int dataRows, int lastRows, int backupRows) {
                fewerRowsAsked =
                    QStringLiteral("%1/%2/%3").arg(dataRows).arg(lastRows).arg(backupRows);
                return useBackupForFewerRows;
            }};
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

// A backup left as the last exit wrote it is kept; any other is replaced
// by a copy of the data file: older rows of the same size, the right bytes
// with the wrong mode, a link to the right bytes elsewhere.
TEST_F(OrderFilesTest, StartRefreshesABackupThatIsNotTheDataFilesCopy) {
    const std::string history = fixture("orders-basic.ovd");
    std::string older = history;
    older[older.size() - 5] = older[older.size() - 5] == '0' ? '1' : '0';
    const auto readOnly = [](const QString& path) {
        ::chmod(QFile::encodeName(path).constData(), 0444);
    };
    QTemporaryDir elsewhere;
    const QString other = elsewhere.filePath("copy.ovd");
    writeFile(other, history);
    readOnly(other);
    const auto backupAfterStart = [&](const std::function<void()>& place, const char* what) {
        SCOPED_TRACE(what);
        writeFile(folder.file("ovd"), history);
        readOnly(folder.file("ovd"));
        place();
        ASSERT_EQ(start(5), 1);
        EXPECT_EQ(backup(), history);
        EXPECT_EQ(fileMode(folder.file("bak")), 0444);
        EXPECT_FALSE(QFileInfo(folder.file("bak")).isSymLink());
        EXPECT_EQ(exitRun(), kCommitDone);
    };
    backupAfterStart(
        [&] {
            writeFile(folder.file("bak"), older);
            readOnly(folder.file("bak"));
        },
        "older rows");
    backupAfterStart(
        [&] {
            writeFile(folder.file("bak"), history);
            ::chmod(QFile::encodeName(folder.file("bak")).constData(), 0644);
        },
        "writable");
    backupAfterStart(
        [&] {
            QFile::remove(folder.file("bak"));
            QFile::link(other, folder.file("bak"));
        },
        "a link");
    EXPECT_EQ(readFile(other), history);
    backupAfterStart([] {}, "as the exit left it");
}

TEST_F(OrderFilesTest, WorkingFileNoLargerThanTheDataFileIsReplaced) {
    installHistory(fixture("orders-basic.ovd"), 5);
    writeFile(folder.file("tmp"), fixture("orders-no-final-crlf.ovd"));
    Prompts prompts;
    ASSERT_EQ(start(5, prompts.callbacks()), 1);
    EXPECT_EQ(prompts.unsavedAsked, 0);
    EXPECT_EQ(readFile(folder.file("tmp")), fixture("orders-basic.ovd"));
}

// A run killed after a print leaves its working file; the next start asks
// before anything replaces it.
TEST_F(OrderFilesTest, RowsOfAKilledRunAreOfferedAndTakenAfterTheBackup) {
    installHistory(fixture("orders-basic.ovd"), 5);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (start(5) == 1) {
            printOrder("株式会社新規取引先");
        }
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string unsaved = readFile(folder.file("tmp"));
    ASSERT_NE(unsaved, fixture("orders-basic.ovd"));

    // Declined: the rows are kept under a name of their own.
    {
        Prompts prompts;
        prompts.takeUnsaved = 0;
        ASSERT_EQ(start(5, prompts.callbacks()), 1);
        EXPECT_EQ(prompts.unsavedAsked, 1);
        EXPECT_EQ(orderStore().rowCount(), 5);
        ASSERT_EQ(prompts.setAside.size(), 1);
        EXPECT_EQ(readFile(prompts.setAside[0]), unsaved);
        EXPECT_EQ(exitRun(), kCommitDone);
        QFile::rename(prompts.setAside[0], folder.file("tmp"));
    }
    // Taken: the old history goes to the backup and the rows become the
    // data file, at once and again at exit.
    Prompts prompts;
    ASSERT_EQ(start(5, prompts.callbacks()), 1);
    EXPECT_EQ(prompts.unsavedAsked, 1);
    EXPECT_EQ(prompts.asked, 0);
    EXPECT_EQ(orderStore().rowCount(), 6);
    EXPECT_EQ(data(), unsaved);
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(settings().initialData.rowCount, 6);
    EXPECT_EQ(data(), unsaved);
}

// The first load takes the history copied at start-up only while the
// working file is that copy.
TEST_F(OrderFilesTest, WorkingFileReplacedBeforeTheFirstLoadIsReadAgain) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(prepareDataFiles({}), 1);
    writeFile(folder.file("tmp"), fixture("orders-first-print.ovd"));
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(orderStore().rowCount(), 2);
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
    EXPECT_TRUE(prompts.askedAboutDamage);
    EXPECT_EQ(backup(), fixture("orders-basic.ovd"));
    EXPECT_EQ(orderStore().rowCount(), 5);
}

// A data file cut short after its mark (here its first 7 bytes) still looks
// like a history; the row count of the last exit tells it apart.
TEST_F(OrderFilesTest, CutShortDataFileNeverReplacesTheBackup) {
    const std::string history = fixture("orders-basic.ovd");
    const std::string cut = history.substr(0, 7);
    installHistory(history, 5);
    writeFile(folder.file("ovd"), cut);
    Prompts declined;
    declined.answer = 0;
    EXPECT_EQ(openOrderData(declined.callbacks()), kErrorDataFiles);
    EXPECT_TRUE(declined.askedAboutDamage);
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(settings().initialData.rowCount, 5);
    EXPECT_EQ(data(), cut);
    EXPECT_EQ(backup(), history);

    Prompts prompts;
    ASSERT_EQ(openOrderData(prompts.callbacks()), 0);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(orderStore().rowCount(), 5);
    EXPECT_EQ(backup(), history);
    ASSERT_EQ(prompts.setAside.size(), 1);
    EXPECT_EQ(readFile(prompts.setAside[0]), cut);
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(data(), history);
    EXPECT_EQ(backup(), history);
}

// The all-NUL file a full disk can leave, and a link to a device, with no
// backup: put aside, never deleted, and the run starts with an empty
// history instead of refusing every start.
TEST_F(OrderFilesTest, DamagedDataFileWithoutBackupIsPutAsideAndTheRunStarts) {
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "link to /dev/zero" : "all NUL");
        if (link) {
            ASSERT_TRUE(QFile::link("/dev/zero", folder.file("ovd")));
        } else {
            writeFile(folder.file("ovd"), std::string(4096, '\0'));
        }
        QFile::remove(folder.file("bak"));
        Prompts prompts;
        ASSERT_EQ(start(5, prompts.callbacks()), 1);
        EXPECT_EQ(prompts.asked, 0);
        EXPECT_EQ(orderStore().rowCount(), 0);
        ASSERT_EQ(prompts.setAside.size(), 1);
        if (link) {
            EXPECT_EQ(QFileInfo(prompts.setAside[0]).symLinkTarget(), "/dev/zero");
        } else {
            EXPECT_EQ(readFile(prompts.setAside[0]), std::string(4096, '\0'));
        }
        printOrder("株式会社山田製作所");
        EXPECT_EQ(exitRun(), kCommitDone);
        EXPECT_EQ(settings().initialData.rowCount, 1);
        Prompts next;
        ASSERT_EQ(start(settings().initialData.rowCount, next.callbacks()), 1);
        EXPECT_EQ(next.asked + next.unsavedAsked + next.setAside.size(), 0);
        EXPECT_EQ(orderStore().rowCount(), 1);
        EXPECT_EQ(exitRun(), kCommitDone);
        QFile::remove(folder.file("ovd"));
    }
}

// A folder where the working file belongs is moved aside, not a reason
// to refuse the start.
TEST_F(OrderFilesTest, FolderInThePlaceOfTheWorkingFileIsMovedAside) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_TRUE(QDir(folder.path()).mkdir("belvorine.tmp"));
    Prompts prompts;
    ASSERT_EQ(start(5, prompts.callbacks()), 1);
    EXPECT_EQ(orderStore().rowCount(), 5);
    ASSERT_EQ(prompts.setAside.size(), 1);
    EXPECT_TRUE(QFileInfo(prompts.setAside[0]).isDir());
    EXPECT_EQ(exitRun(), kCommitDone);
}

// The exit makes only our own regular files read-only, never a link's
// target.
TEST_F(OrderFilesTest, ExitNeverChangesTheModeOfALinksTarget) {
    QTemporaryDir elsewhere;
    const QString other = elsewhere.filePath("letter.txt");
    writeFile(other, "someone else's file");
    ::chmod(QFile::encodeName(other).constData(), 0644);
    installHistory(fixture("orders-basic.ovd"), 5);
    QFile::remove(folder.file("ovd"));
    ASSERT_TRUE(QFile::link(other, folder.file("ovd")));
    Prompts prompts;
    prompts.answer = 0;
    EXPECT_EQ(openOrderData(prompts.callbacks()), kErrorDataFiles);
    EXPECT_EQ(exitRun(), kCommitDone);
    EXPECT_EQ(fileMode(other), 0644);
    EXPECT_EQ(readFile(other), "someone else's file");
    EXPECT_EQ(fileMode(folder.file("bak")), 0444);
}

// --- damage and full disks never cost the history ------------------------

// The working file may hold this run's earlier prints: a store that could
// not read it must not replace it with the next order alone either.
TEST_F(OrderFilesTest, DamagedWorkingFileNeverReplacesTheDataFileOrBackup) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    const std::string damaged("\x00\x01\x1B$BCm damaged\r\n", 18);
    writeFile(folder.file("tmp"), damaged);
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(orderStore().rowCount(), 0);
    setOrderHeader("株式会社山田製作所", "90");
    fillLine(0, "六角ボルト", "M8×30", "100", "本", "12.5", "本社工場");
    EXPECT_EQ(appendCurrentOrder(), 0);
    EXPECT_EQ(readFile(folder.file("tmp")), damaged);
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

// The backup is replaced before the data file, so that it is never the
// older of the two; the rows the data file missed are offered next time.
TEST_F(OrderFilesTest, FullDiskAfterTheBackupKeepsTheDataFileAndOffersTheRowsNextTime) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    printOrder("ABC");
    const std::string working = readFile(folder.file("tmp"));
    setWriteFaultForTesting(static_cast<long long>(working.size()) + 10);
    EXPECT_EQ(exitRun(), kCommitRefused);
    setWriteFaultForTesting(-1);
    EXPECT_EQ(data(), fixture("orders-basic.ovd"));
    EXPECT_EQ(backup(), working);
    EXPECT_EQ(settings().initialData.rowCount, 5);

    Prompts prompts;
    ASSERT_EQ(start(settings().initialData.rowCount, prompts.callbacks()), 1);
    EXPECT_EQ(prompts.unsavedAsked, 1);
    EXPECT_EQ(prompts.unsavedRows, 1);
    EXPECT_TRUE(prompts.fewerRowsAsked.isEmpty());
    EXPECT_EQ(orderStore().rowCount(), 6);
}

}  // namespace
}  // namespace belvorine
