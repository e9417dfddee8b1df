#pragma once
// The three files of the order history beside the program: the data file
// ("ovd") and its backup ("bak"), read-only between runs, and the working
// file ("tmp") that a run reads and writes. Every file is replaced safely,
// and the data file and the backup are only ever replaced by a working file
// that reads back whole as the history this run last wrote.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

namespace belvorine {

// Why a history file was put aside under another name.
enum class SetAside {
    kDamagedDataFile,  // the data file could not be read whole as a history
    kDamagedNoBackup,  // the same, and no backup could stand in: the run starts empty
    kUnsavedWorkFile,  // an earlier run's working file the user did not take
    kUnusedDataFile,   // a data file with fewer rows than the last run left; the backup was taken
    kUnusedBackup,     // the backup that was offered for such a data file and not taken
};

// The questions and notices of the start-up, asked by the main window.
struct DataFilePrompts {
    // ERROR No.0005 with a beep, Yes and No: use the backup? 1 for Yes.
    // `damaged`: the data file is there but damaged, rather than missing.
    std::function<int(bool damaged)> askUseBackup;
    // ERROR No.0006: the backup is missing.
    std::function<void()> reportBackupMissing;
    // An earlier run ended without saving: its working file holds `rows`
    // rows that the data file (`dataRows` rows) does not hold. Take it into
    // the history? 1 for Yes. Without an answer it is put aside.
    std::function<int(int rows, int dataRows)> askTakeUnsavedRows;
    // A file was renamed to `path` and kept there.
    std::function<void(SetAside why, const QString& path)> reportSetAside;
    // The data file reads whole but holds `dataRows` rows, fewer than the
    // `lastRows` the last run left in it, and the backup holds `backupRows`,
    // more: use the backup instead? 1 for Yes. Whatever the answer, the file
    // not used is put aside; without an answer the data file is used.
    std::function<int(int dataRows, int lastRows, int backupRows)> askUseBackupForFewerRows;
};

// Brings the working file into being from the data file. A data file that
// reads whole as a history is used as it is; only when it holds fewer rows
// than the last run left in it and the backup holds more is the backup
// offered instead (the file not chosen is put aside, never replaced). The
// backup also stands in, after the question ERROR No.0005, for a data file
// that is missing while rows are expected or that is not a history (put
// aside then); with no usable backup a damaged data file is put aside and
// the run starts with an empty history. An earlier run's working file that
// holds rows the data file does not hold is offered first; taken, it
// becomes the data file after the old one went to the backup; declined, it
// is put aside. Returns 0 when the user declined the backup for a missing
// or damaged data file, none could be used, or the working file could not
// be written: ERROR No.0001 follows.
int prepareDataFiles(const DataFilePrompts& prompts);

enum CommitResult : int {
    kCommitRefused = 0,       // the run's history was not saved; data file and backup as before
    kCommitDone = 1,          // data file and backup hold the run's history
    kCommitBackupFailed = 2,  // data file saved, the backup could not be replaced
};

// At exit, after the store was freed and before the settings are saved:
// copies the working file over the backup and then the data file (mode
// 0444) and removes it; the backup first, so that it is never older than
// the data file. Refused, leaving the data file and the working file as
// they are, when a rewrite of the working file failed during the run, the
// working file does not read back as the history last loaded or written,
// or the backup could not be replaced while the history shrank (a data file
// with fewer rows beside an older backup with more would look like a
// history restored from elsewhere). Either way the settings' row count is
// set to the rows the data file now holds: it is only ever the count of a
// committed data file, never of a run's unsaved rows.
int commitDataFiles();

QString dataFilePath();
QString backupFilePath();
QString workingFilePath();

// True when this run has a working file to read: made at start-up from a
// history, or written since. Without one the store starts empty.
bool hasWorkingFile();

// The working file decoded; 0 when it is missing, unreadable or not a
// history.
int readWorkingHistory(std::string& decoded);

// True when the working file is still the one readWorkingHistory last read
// or writeWorkingFile last wrote, unchanged since: reading it again would
// give the history that was read or written. It then counts as read again.
bool workingFileUnchanged();

// Every write of the working file by this process gets a version number of
// its own, never 0. The version of the working file that readWorkingHistory
// last read when it is the one this run last wrote (its rows are then in
// the order and form they were written in); 0 otherwise.
std::uint64_t versionOfLastRead();

// Replaces the working file with the history of the non-empty `rows`,
// encoded on the way, and gives the new file's version. `rowsBefore`, when
// given, holds for each row its index in the working file of version
// `versionBefore`, or -1 when that file does not hold it: while that file
// is still in place, the rows it holds are copied from it instead of being
// encoded again, so that adding a few rows costs little more than writing
// the file. `readsBack`, when given, tells whether every row encoded reads
// back from the file as it was given (a NUL does not: it reads as a space).
// Returns 0 on failure, which is remembered, so that the exit never commits
// this run.
std::uint64_t writeWorkingFile(const std::vector<std::string_view>& rows,
                               const std::vector<int>& rowsBefore = {},
                               std::uint64_t versionBefore = 0, bool* readsBack = nullptr);

// Tells the commit how many rows the working file held when it was last
// read.
void noteWorkingFileRows(int rows);

// The working file was expected but could not be read as a history; the
// exit will not commit this run, and no write replaces the file, which may
// hold this run's earlier prints.
void noteWorkingFileUnreadable();

// Forgets what this run did with the files (tests).
void resetOrderFilesForTesting();

}  // namespace belvorine
