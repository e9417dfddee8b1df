#include "data/order_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <deque>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data/order_file_format.h"
#include "data/settings_state.h"
#include "platform/local_clock.h"
#include "platform/module_path.h"
#include "platform/safe_file.h"

namespace belvorine {
namespace {

constexpr mode_t kReadOnly = 0444;
constexpr mode_t kWritable = 0644;

// What this run did with the working file.
struct Session {
    bool workingFileMade = false;  // copied at start or written by this run
    int expectedRows = -1;         // rows it holds as last loaded or written; -1 unknown
    FileStamp expectedStamp;       // the working file of expectedRows
    FileStamp lastRead;            // the working file as readWorkingHistory last read it
    FileStamp lastUsed;            // the working file as this run last read or wrote it
    // The decoded history that the working file was copied from at start-up,
    // so that the first load need not read and decode it again.
    std::string madeFromText;
    FileStamp madeFromStamp;
    bool damaged = false;  // a rewrite failed or a load found no history
    // The working file was expected but could not be read: it may hold this
    // run's earlier prints, so this run never replaces it.
    bool workingFileLost = false;
    // Rows the data file holds as the last commit left it (or the backup
    // that stands in for it): the settings' row count at exit unless this
    // run commits.
    int committedRows = 0;
    // The backup was offered instead of the data file, not taken, and could
    // not be put aside: this run never replaces it.
    bool keepBackup = false;
    // The working file as this run last wrote it: where its header and each
    // of its rows end, CR LF included (empty: not written, or too large).
    std::vector<std::uint32_t> writtenEnds;
    FileStamp writtenStamp;
    std::uint64_t writtenVersion = 0;
};

std::uint64_t nextVersion() {
    static std::uint64_t version = 0;
    return ++version;
}

Session& session() {
    static Session state;
    return state;
}

// Rows of a decoded history, counted as a load counts them; -1 when the
// file is not a history: no history mark, or not even its header line
// whole (a file cut short within its first line).
int countRows(std::string_view file, std::string& decoded) {
    if (!decodeHistory(file, decoded) || decoded.find("\r\n") == std::string::npos) {
        return -1;
    }
    int rows = 0;
    forEachHistoryRow(decoded, [&rows](std::string_view) { ++rows; });
    return rows;
}

// The rows of a decoded history in their normal form, sorted; `normalised`
// keeps the texts of rows that were not.
std::vector<std::string_view> sortedNormalRows(std::string_view decoded,
                                               std::deque<std::string>& normalised) {
    std::vector<std::string_view> rows;
    forEachHistoryRow(decoded, [&](std::string_view row) {
        if (isNormalRow(row)) {
            rows.push_back(row);
        } else {
            rows.push_back(normalised.emplace_back(normaliseRow(row)));
        }
    });
    std::sort(rows.begin(), rows.end());
    return rows;
}

// How many distinct rows of `history` the decoded history `other` does not
// hold.
int rowsMissingFrom(std::string_view history, std::string_view other) {
    std::deque<std::string> normalised;
    const std::vector<std::string_view> held = sortedNormalRows(other, normalised);
    std::vector<std::string_view> rows = sortedNormalRows(history, normalised);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [&held](std::string_view row) {
        return !std::binary_search(held.begin(), held.end(), row);
    }));
}

// One history file as found at start-up.
struct Found {
    FileRead read = FileRead::kMissing;
    ReadFile file;        // kept open, to copy the bytes read from it
    long long bytes = 0;  // read whole; only the decoded text is kept
    std::string decoded;
    int rows = -1;  // -1: not a history

    bool empty() const {
        return read == FileRead::kMissing || (read == FileRead::kRead && bytes == 0);
    }
    bool isHistory() const { return rows >= 0; }
};

Found inspect(const QString& path) {
    Found found;
    found.read = found.file.open(path);
    if (found.read != FileRead::kRead) {
        return found;
    }
    std::string content;
    found.read = found.file.read(content);
    found.bytes = static_cast<long long>(content.size());
    if (found.read == FileRead::kRead && hasHistoryMark(content)) {
        found.rows = countRows(content, found.decoded);
    }
    return found;
}

// Renames a history file that must not be used or replaced to a name of its
// own beside it ("belvorine-damaged-20240305-093000.ovd"), never over
// another file. Returns the new path, or an empty one when it could not be
// renamed.
QString putAside(const QString& path, SetAside why, const DataFilePrompts& prompts) {
    const QFileInfo data(dataFilePath());
    const LocalTime now = localNow();
    const QString stamp = QString::asprintf("%04d%02d%02d-%02d%02d%02d", now.year, now.month,
                                            now.day, now.hour, now.minute, now.second);
    const QString kind = why == SetAside::kUnsavedWorkFile  ? QStringLiteral("unsaved")
                         : why == SetAside::kUnusedDataFile ? QStringLiteral("unused")
                         : why == SetAside::kUnusedBackup   ? QStringLiteral("backup")
                                                            : QStringLiteral("damaged");
    const QString stem = data.dir().filePath(data.completeBaseName() + QLatin1Char('-') + kind +
                                             QLatin1Char('-') + stamp);
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QString target = stem +
                               (attempt == 1 ? QString() : QStringLiteral("-%1").arg(attempt)) +
                               QStringLiteral(".ovd");
        if (renameWithoutReplacing(path, target)) {
            if (prompts.reportSetAside) {
                prompts.reportSetAside(why, target);
            }
            return target;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return QString();
}

// Copies the history that was read to `to`, from the file it was read from.
int copyHistory(const Found& from, const QString& to, mode_t mode,
                Durability durability = Durability::kPowerLoss, FileStamp* made = nullptr) {
    return copyFileSafely(from.file, from.bytes, to, mode, durability, made);
}

// The working file is worthless after a crash (the next start makes it
// again from the data file), so it is only renamed into place, not flushed.
int makeWorkingFile(Found& history) {
    FileStamp made;
    if (!copyHistory(history, workingFilePath(), kWritable, Durability::kCrash, &made)) {
        return 0;
    }
    session().madeFromText = std::move(history.decoded);
    session().madeFromStamp = made;
    session().workingFileMade = true;
    return 1;
}

// Recovery from the backup after the question ERROR No.0005. A damaged data
// file stays as it is until the user has chosen, and is put aside when the
// backup is taken instead.
int recoverFromBackup(const DataFilePrompts& prompts, bool damaged) {
    if (!prompts.askUseBackup || prompts.askUseBackup(damaged) != 1) {
        return 0;
    }
    Found backup = inspect(backupFilePath());
    if (!backup.isHistory()) {
        if (prompts.reportBackupMissing) {
            prompts.reportBackupMissing();
        }
        // Nothing is left to recover: the next start begins a new history
        // instead of asking again for ever.
        session().committedRows = 0;
        return 0;
    }
    if (damaged && putAside(dataFilePath(), SetAside::kDamagedDataFile, prompts).isEmpty()) {
        // The damaged file could not be moved; the commit must not replace it.
        session().damaged = true;
    }
    // The data file itself is restored by the commit at exit.
    return makeWorkingFile(backup);
}

// A damaged data file and no backup that could stand in for it: the file is
// put aside and the run starts with an empty history.
int startAfterDamage(const DataFilePrompts& prompts) {
    if (putAside(dataFilePath(), SetAside::kDamagedNoBackup, prompts).isEmpty()) {
        session().damaged = true;
    }
    session().committedRows = 0;
    return 1;
}

// A data file that reads whole but holds fewer rows than the last run left
// in it: restored from an older copy, or cut at a row's end. When the
// backup holds more, the user chooses; the file not chosen is put aside
// under a name of its own, never replaced. Returns 1 when the backup was
// taken (-1: and its working file could not be made), 0 when the run goes
// on with the data file.
int offerBackupForFewerRows(const DataFilePrompts& prompts, const Found& data, int lastRows) {
    Found backup = inspect(backupFilePath());
    if (!backup.isHistory() || backup.rows <= data.rows) {
        return 0;
    }
    if (!prompts.askUseBackupForFewerRows ||
        prompts.askUseBackupForFewerRows(data.rows, lastRows, backup.rows) != 1) {
        if (putAside(backupFilePath(), SetAside::kUnusedBackup, prompts).isEmpty()) {
            session().keepBackup = true;
        }
        return 0;
    }
    if (putAside(dataFilePath(), SetAside::kUnusedDataFile, prompts).isEmpty()) {
        // The data file could not be moved; the commit must not replace it.
        session().damaged = true;
    } else if (copyHistory(backup, dataFilePath(), kReadOnly)) {
        // Should this fail, the commit at exit writes the data file.
        session().committedRows = backup.rows;
    }
    return makeWorkingFile(backup) ? 1 : -1;
}

// An earlier run's working file that holds rows the data file does not:
// what was printed or edited since the last exit that saved. A working file
// whose rows the data file holds already (the start-up's copy of it, or a
// run that only deleted rows) is removed. Returns 1 when it was taken in as
// the data file (-1: and the working file could not be made).
int offerUnsavedRows(const DataFilePrompts& prompts, const Found& data) {
    Found left = inspect(workingFilePath());
    const bool dataGood = data.isHistory();
    const int dataRows = dataGood ? data.rows : 0;
    const int unsaved = !left.isHistory() ? 0
                        : dataGood        ? rowsMissingFrom(left.decoded, data.decoded)
                                          : left.rows;
    if (unsaved == 0) {
        // Something that cannot simply be removed (a folder) is moved out
        // of the way, so that this run can make its working file.
        if (!QFile::remove(workingFilePath()) && QFileInfo(workingFilePath()).isDir()) {
            putAside(workingFilePath(), SetAside::kUnsavedWorkFile, prompts);
        }
        return 0;
    }
    if (!prompts.askTakeUnsavedRows || prompts.askTakeUnsavedRows(unsaved, dataRows) != 1) {
        putAside(workingFilePath(), SetAside::kUnsavedWorkFile, prompts);
        return 0;
    }
    if (dataGood && dataRows > 0) {
        copyHistory(data, backupFilePath(), kReadOnly);
    } else if (!data.empty() && !dataGood) {
        putAside(dataFilePath(), SetAside::kDamagedDataFile, prompts);
    }
    // Should this fail, the commit at exit writes the data file again.
    if (copyHistory(left, dataFilePath(), kReadOnly)) {
        session().committedRows = left.rows;
    }
    return makeWorkingFile(left) ? 1 : -1;
}

// Between runs a file holds a history and is read-only, or is not there.
// Only a regular file of our own gets its mode changed, never a link's
// target.
void settleBetweenRuns(const QString& path) {
    if (fileSize(path) > 0) {
        setRegularFileMode(path, kReadOnly);
    } else {
        QFile::remove(path);
    }
}

// Opens the working file when it is still the one this run last wrote, as
// `ends` describes it.
bool opensAsWritten(ReadFile& file, const std::vector<std::uint32_t>& ends,
                    const FileStamp& stamp) {
    return !ends.empty() && file.open(workingFilePath()) == FileRead::kRead &&
           file.stamp() == stamp && file.stamp().size == static_cast<long long>(ends.back());
}

// Writes a working file: rows are encoded into pieces of about 64 KiB, so
// that no copy of the whole file is ever held, and rows of the file before
// are copied from it; notes where each row ends for the next rewrite.
class WorkingFileWriter {
public:
    // `before`: the working file as last written, with the ends of its
    // header and rows; null when nothing is copied.
    WorkingFileWriter(const ReadFile* before, const std::vector<std::uint32_t>& beforeEnds)
        : before_(before), beforeEnds_(beforeEnds) {}

    void start(FileSink& sink) {
        sink_ = &sink;
        piece_.clear();
        piece_.reserve(kPiece + 4 * kMaxRowBytes + 8);
        ends_.clear();
        written_ = 0;
        piece_ = encodedHistoryHeader();
        noteEnd();
    }
    // True when the file before holds row `row`.
    bool holds(int row) const {
        return before_ != nullptr && row >= 0 &&
               static_cast<std::size_t>(row) + 1 < beforeEnds_.size();
    }
    bool encode(std::string_view row) {
        if (row.empty()) {
            return true;
        }
        readsBack_ = readsBack_ && row.find('\0') == std::string_view::npos;
        appendEncodedRow(piece_, row);
        noteEnd();
        return piece_.size() < kPiece || flush();
    }
    // Rows `first` to `last` of the file before.
    bool copy(int first, int last) {
        const std::uint32_t from = beforeEnds_[static_cast<std::size_t>(first)];
        const std::uint32_t to = beforeEnds_[static_cast<std::size_t>(last) + 1];
        if (!flush() || !sink_->copy(*before_, from, to - from)) {
            return false;
        }
        const long long shift = written_ - from;
        written_ += to - from;
        for (int row = first; row <= last; ++row) {
            noteEndAt(beforeEnds_[static_cast<std::size_t>(row) + 1] + shift);
        }
        return true;
    }
    bool finish() { return flush(); }

    int rowCount() const { return static_cast<int>(ends_.size()) - 1; }
    // Every row encoded reads back as it was given; copied rows read back
    // as they did from the file before.
    bool readsBack() const { return readsBack_; }
    // Where the header and each row end; empty when the file outgrew the
    // offsets kept.
    std::vector<std::uint32_t> takeEnds() {
        if (tooLarge_) {
            ends_.clear();
        }
        return std::move(ends_);
    }

private:
    static constexpr std::size_t kPiece = 64 * 1024;

    bool flush() {
        if (piece_.empty()) {
            return true;
        }
        if (!sink_->write(piece_)) {
            return false;
        }
        written_ += static_cast<long long>(piece_.size());
        piece_.clear();
        return true;
    }
    void noteEnd() { noteEndAt(written_ + static_cast<long long>(piece_.size())); }
    void noteEndAt(long long end) {
        tooLarge_ = tooLarge_ || end > UINT32_MAX;
        ends_.push_back(static_cast<std::uint32_t>(end));
    }

    const ReadFile* before_;
    const std::vector<std::uint32_t>& beforeEnds_;
    FileSink* sink_ = nullptr;
    std::string piece_;
    std::vector<std::uint32_t> ends_;
    long long written_ = 0;  // bytes handed to the sink
    bool tooLarge_ = false;
    bool readsBack_ = true;
};

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

bool hasWorkingFile() {
    return session().workingFileMade;
}

int prepareDataFiles(const DataFilePrompts& prompts) {
    session() = Session();
    // The rows the data file held when the last run ended.
    const int lastRows = settings().initialData.rowCount;
    session().committedRows = lastRows;
    for (const QString& path : {dataFilePath(), backupFilePath(), workingFilePath()}) {
        removeStaleTemporaries(path);
    }

    Found data = inspect(dataFilePath());
    if (data.read == FileRead::kFailed) {
        // A read error says nothing about the file's rows: it is neither used
        // nor set aside, and this start ends (ERROR No.0001) with every file
        // as it was.
        return 0;
    }
    const bool damaged = !data.empty() && !data.isHistory();

    const int taken = offerUnsavedRows(prompts, data);
    if (taken != 0) {
        return taken > 0 ? 1 : 0;
    }
    if (lastRows != 0 && data.empty()) {
        return recoverFromBackup(prompts, false);
    }
    if (damaged) {
        const Found backup = inspect(backupFilePath());
        if (backup.isHistory() && backup.rows > 0) {
            return recoverFromBackup(prompts, true);
        }
        return startAfterDamage(prompts);
    }
    if (data.empty()) {
        session().committedRows = 0;
        return 1;
    }
    if (data.rows < lastRows) {
        const int backupTaken = offerBackupForFewerRows(prompts, data, lastRows);
        if (backupTaken != 0) {
            return backupTaken > 0 ? 1 : 0;
        }
    }
    session().committedRows = data.rows;
    // After a clean exit the backup already holds the data file: reading it
    // costs less than writing and flushing it again. A backup that cannot
    // be refreshed still holds an older history; the run goes on with the
    // data file.
    if (!session().keepBackup && !holdsCopyOf(backupFilePath(), data.file, data.bytes, kReadOnly)) {
        copyHistory(data, backupFilePath(), kReadOnly);
    }
    return makeWorkingFile(data);
}

int commitDataFiles() {
    const Session state = std::move(session());
    session() = Session();
    settings().initialData.rowCount = state.committedRows;
    if (!state.workingFileMade) {
        QFile::remove(workingFilePath());
        settleBetweenRuns(dataFilePath());
        settleBetweenRuns(backupFilePath());
        return kCommitDone;
    }
    ReadFile working;
    if (state.damaged || working.open(workingFilePath()) != FileRead::kRead) {
        return kCommitRefused;
    }
    long long bytes = working.stamp().size;
    int rows = state.expectedRows;
    if (rows < 0 || working.stamp() != state.expectedStamp) {
        // Changed since this run last read or wrote it: it must still read
        // back as that history.
        std::string content;
        std::string decoded;
        if (working.read(content) != FileRead::kRead || !hasHistoryMark(content)) {
            return kCommitRefused;
        }
        rows = countRows(content, decoded);
        if (state.expectedRows >= 0 && rows != state.expectedRows) {
            return kCommitRefused;
        }
        bytes = static_cast<long long>(content.size());
    }
    // A file that already holds the history (a run that changed nothing) is
    // kept: comparing costs less than writing and flushing it again.
    const auto save = [&](const QString& to) {
        return holdsCopyOf(to, working, bytes, kReadOnly) ||
               copyFileSafely(working, bytes, to, kReadOnly);
    };
    // The backup first: a data file with fewer rows than the settings count
    // beside a backup with more must only ever come from outside the program.
    const bool backupSaved = state.keepBackup || save(backupFilePath());
    if ((!backupSaved && rows < state.committedRows) || !save(dataFilePath())) {
        return kCommitRefused;
    }
    settings().initialData.rowCount = rows;
    QFile::remove(workingFilePath());
    return backupSaved ? kCommitDone : kCommitBackupFailed;
}

int readWorkingHistory(std::string& decoded) {
    Session& state = session();
    state.lastRead = FileStamp();
    std::string madeFrom = std::move(state.madeFromText);
    state.madeFromText = std::string();
    ReadFile file;
    if (file.open(workingFilePath()) != FileRead::kRead) {
        return 0;
    }
    if (file.stamp() == state.madeFromStamp && !madeFrom.empty()) {
        decoded = std::move(madeFrom);
    } else {
        std::string content;
        if (file.read(content) != FileRead::kRead || !decodeHistory(content, decoded)) {
            return 0;
        }
    }
    state.lastRead = file.stamp();
    state.lastUsed = file.stamp();
    return 1;
}

bool workingFileUnchanged() {
    Session& state = session();
    ReadFile file;
    if (state.workingFileLost || state.lastUsed.size < 0 ||
        file.open(workingFilePath()) != FileRead::kRead || file.stamp() != state.lastUsed) {
        return false;
    }
    state.lastRead = file.stamp();
    state.madeFromText = std::string();
    return true;
}

std::uint64_t versionOfLastRead() {
    const Session& state = session();
    return !state.writtenEnds.empty() && state.lastRead == state.writtenStamp ? state.writtenVersion
                                                                              : 0;
}

std::uint64_t writeWorkingFile(const std::vector<std::string_view>& rows,
                               const std::vector<int>& rowsBefore, std::uint64_t versionBefore,
                               bool* readsBack) {
    Session& state = session();
    if (state.workingFileLost) {
        return 0;
    }
    ReadFile before;
    const bool reuse = rowsBefore.size() == rows.size() && versionBefore != 0 &&
                       versionBefore == state.writtenVersion &&
                       opensAsWritten(before, state.writtenEnds, state.writtenStamp);
    WorkingFileWriter writer(reuse ? &before : nullptr, state.writtenEnds);
    const auto fill = [&](FileSink& sink) {
        writer.start(sink);
        std::size_t i = 0;
        while (i < rows.size()) {
            const int first = reuse ? rowsBefore[i] : -1;
            std::size_t next = i + 1;
            if (first < 0 || !writer.holds(first)) {
                if (!writer.encode(rows[i])) {
                    return false;
                }
            } else {
                // A run of rows that lie one after another in the file before.
                while (next < rows.size() && rowsBefore[next] == rowsBefore[next - 1] + 1 &&
                       writer.holds(rowsBefore[next])) {
                    ++next;
                }
                if (!writer.copy(first, rowsBefore[next - 1])) {
                    return false;
                }
            }
            i = next;
        }
        return writer.finish();
    };
    FileStamp stamp;
    if (!replaceFileWith(workingFilePath(), fill, kWritable, Durability::kCrash, &stamp)) {
        state.damaged = true;
        return 0;
    }
    state.workingFileMade = true;
    state.expectedRows = writer.rowCount();
    state.expectedStamp = stamp;
    state.writtenEnds = writer.takeEnds();
    state.writtenStamp = stamp;
    state.lastUsed = stamp;
    state.writtenVersion = nextVersion();
    if (readsBack != nullptr) {
        *readsBack = writer.readsBack();
    }
    return state.writtenVersion;
}

void noteWorkingFileRows(int rows) {
    session().expectedRows = rows;
    session().expectedStamp = session().lastRead;
}

void noteWorkingFileUnreadable() {
    session().damaged = true;
    session().workingFileLost = true;
}

void resetOrderFilesForTesting() {
    session() = Session();
}

}  // namespace belvorine
