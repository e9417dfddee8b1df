#include "data/order_files.h"

#include <sys/stat.h>

#include <QFile>

#include "data/order_file_format.h"
#include "data/settings_state.h"
#include "platform/module_path.h"
#include "platform/safe_file.h"

namespace belvorine {
namespace {

constexpr mode_t kReadOnly = 0444;
constexpr mode_t kWritable = 0644;

// What this run did with the working file.
struct Session {
    long long dataFileSize = 0;
    bool workingFileMade = false;  // copied at start or written by this run
    int expectedRows = -1;         // rows it holds as last loaded or written; -1 unknown
    bool damaged = false;          // a rewrite failed or a load found no history
};

Session& session() {
    static Session state;
    return state;
}

// Reads a file that must be a history; 0 when it is missing, empty or not one.
int readHistoryFile(const QString& path, std::string& content) {
    return readWholeFile(path, content) && hasHistoryMark(content);
}

// Rows of a decoded history, counted as a load counts them.
int countRows(std::string_view file) {
    std::string decoded;
    if (!decodeHistory(file, decoded)) {
        return -1;
    }
    return static_cast<int>(historyRows(decoded).size());
}

// Recovery from the backup after the question ERROR No.0005.
int recoverFromBackup(const DataFilePrompts& prompts) {
    if (!prompts.askUseBackup || prompts.askUseBackup() != 1) {
        return 0;
    }
    std::string backup;
    if (!readHistoryFile(backupFilePath(), backup)) {
        if (prompts.reportBackupMissing) {
            prompts.reportBackupMissing();
        }
        // Nothing is left to recover: the next start begins a new history
        // instead of asking again for ever.
        settings().initialData.rowCount = 0;
        return 0;
    }
    // The data file itself is restored by the commit at exit.
    if (!replaceFileSafely(workingFilePath(), backup, kWritable)) {
        return 0;
    }
    session().workingFileMade = true;
    return 1;
}

// Between runs a file holds a history and is read-only, or is not there.
void settleBetweenRuns(const QString& path) {
    if (fileSize(path) > 0) {
        ::chmod(QFile::encodeName(path).constData(), kReadOnly);
    } else {
        QFile::remove(path);
    }
}

}  // namespace

QString dataFilePath() {
    return modulePathWithExtension(QStringLiteral("ovd"));
}

QString backupFilePath() {
    return modulePathWithExtension(QStringLiteral("bak"));
}

QString workingFilePath() {
    return modulePathWithExtension(QStringLiteral("tmp"));
}

long long dataFileSizeAtStart() {
    return session().dataFileSize;
}

int prepareDataFiles(const DataFilePrompts& prompts) {
    session() = Session();
    const int expectedRows = settings().initialData.rowCount;
    // A working file left behind by a crash is never taken for this run's.
    QFile::remove(workingFilePath());

    std::string data;
    session().dataFileSize = fileSize(dataFilePath());
    const bool dataIsHistory = readHistoryFile(dataFilePath(), data);
    if ((expectedRows != 0 && session().dataFileSize == 0) ||
        (session().dataFileSize > 0 && !dataIsHistory)) {
        return recoverFromBackup(prompts);
    }
    if (session().dataFileSize == 0) {
        return 1;
    }
    // A backup that cannot be refreshed still holds an older history; the
    // run goes on with the data file.
    replaceFileSafely(backupFilePath(), data, kReadOnly);
    if (!replaceFileSafely(workingFilePath(), data, kWritable)) {
        return 0;
    }
    session().workingFileMade = true;
    return 1;
}

int commitDataFiles() {
    const Session state = session();
    session() = Session();
    if (!state.workingFileMade) {
        QFile::remove(workingFilePath());
        settleBetweenRuns(dataFilePath());
        settleBetweenRuns(backupFilePath());
        return kCommitDone;
    }
    std::string working;
    if (state.damaged || !readHistoryFile(workingFilePath(), working) ||
        (state.expectedRows >= 0 && countRows(working) != state.expectedRows)) {
        return kCommitRefused;
    }
    if (!replaceFileSafely(dataFilePath(), working, kReadOnly)) {
        return kCommitRefused;
    }
    const bool backupSaved = replaceFileSafely(backupFilePath(), working, kReadOnly);
    QFile::remove(workingFilePath());
    return backupSaved ? kCommitDone : kCommitBackupFailed;
}

int readWorkingFile(std::string& content) {
    return readWholeFile(workingFilePath(), content);
}

int writeWorkingFile(std::string_view encoded, int rows) {
    if (!replaceFileSafely(workingFilePath(), encoded, kWritable)) {
        session().damaged = true;
        return 0;
    }
    session().workingFileMade = true;
    session().expectedRows = rows;
    return 1;
}

void noteWorkingFileRows(int rows) {
    session().expectedRows = rows;
}

void noteWorkingFileUnreadable() {
    session().damaged = true;
}

void resetOrderFilesForTesting() {
    session() = Session();
}

}  // namespace belvorine
