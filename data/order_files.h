#pragma once
// The three files of the order history beside the program: the data file
// ("ovd") and its backup ("bak"), read-only between runs, and the working
// file ("tmp") that a run reads and writes. Every file is replaced safely,
// and the data file and the backup are only ever replaced by a working file
// that reads back whole as the history this run last wrote.

#include <functional>
#include <string>
#include <string_view>

#include <QString>

namespace belvorine {

// The two questions of the start-up, asked by the main window.
struct DataFilePrompts {
    // ERROR No.0005 with a beep, Yes and No: use the backup? 1 for Yes.
    std::function<int()> askUseBackup;
    // ERROR No.0006: the backup is missing.
    std::function<void()> reportBackupMissing;
};

// Brings the working file into being from the data file, or from the backup
// when rows are expected but the data file is empty, missing or not a
// history (after the question). Returns 0 when the user declined the backup
// or none could be used, or the working file could not be written: ERROR
// No.0001 follows.
int prepareDataFiles(const DataFilePrompts& prompts);

enum CommitResult : int {
    kCommitRefused = 0,       // the run's history was not saved; data file and backup as before
    kCommitDone = 1,          // data file and backup hold the run's history
    kCommitBackupFailed = 2,  // data file saved, the backup could not be replaced
};

// At exit, after the settings were saved and the store freed: copies the
// working file over the data file and then the backup (mode 0444) and
// removes it. Refused, leaving both files and the working file as they are,
// when a rewrite of the working file failed during the run or the working
// file does not read back as the history last loaded or written.
int commitDataFiles();

QString dataFilePath();
QString backupFilePath();
QString workingFilePath();

// Size of the data file when prepareDataFiles looked at it.
long long dataFileSizeAtStart();

// Reads the working file whole; 0 when it is missing or unreadable.
int readWorkingFile(std::string& content);

// Replaces the working file with an encoded history of `rows` rows. A
// failure is remembered, so that the exit never commits this run.
int writeWorkingFile(std::string_view encoded, int rows);

// Tells the commit how many rows the working file held when it was loaded.
void noteWorkingFileRows(int rows);

// The working file was expected but could not be read as a history; the
// exit will not commit this run.
void noteWorkingFileUnreadable();

// Forgets what this run did with the files (tests).
void resetOrderFilesForTesting();

}  // namespace belvorine
