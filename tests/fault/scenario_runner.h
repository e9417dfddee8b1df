#pragma once
// Runs fault_scenario as a separate process in a program folder and reads
// what it reported and what it left in the folder; shared by the fault
// injection test and the bad-file test.

#include <map>
#include <optional>
#include <string>

#include <QString>
#include <QStringList>

namespace belvorine::test {

// The program's five files between runs: extension -> content (nullopt:
// missing or not readable as a file).
using FileSet = std::map<std::string, std::optional<std::string>>;
inline const char* const kProgramFiles[] = {"dat", "da1", "da2", "ovd", "bak"};

FileSet readProgramFiles(const QString& folder);
// Writes the files that have content; the others are left missing.
void writeProgramFiles(const QString& folder, const FileSet& files);

// Everything in the folder but the program's five files.
QStringList strayEntries(const QString& folder);

// A folder in memory when there is one: every run writes and flushes files.
QString temporaryBase();

struct Fault {
    long at = 0;  // operation number; 0: none (operations are still logged)
    std::string mode;
};

struct ScenarioOptions {
    Fault fault;
    bool asOrdinaryUser = false;  // run as "nobody" when the test runs as root
    bool declineBackup = false;   // answer No to ERROR No.0005
    int watchdogMs = -1;          // a run still going after it counts as hung
    int orders = 1;               // orders printed by "run"
};

struct Outcome {
    bool crashed = false;     // ended by a signal other than an injected kill, or exit code != 0
    bool killed = false;      // ended by the injected kill
    bool hung = false;        // stopped by the watchdog
    QStringList messages;     // "caption|first line" of every message box
    std::optional<int> rows;  // rows loaded at start-up
    bool refused = false;     // the start-up closed the program
    QStringList operations;   // "<n> <operation> <path>" as the shim logged them
    long startUpOperations = -1;  // operations before the start-up ended; -1: it did not
    bool faultInjected = false;
    QString errors;  // standard error, for a crash report
};

// `action` is one of fault_scenario's: "run" (start, data entry and print
// as often as there are orders, exit), "split", "browse", "bulk",
// "settings", or "check" (start, exit).
Outcome runScenario(const QString& action, const QString& folder, const ScenarioOptions& options);

bool showedError(const Outcome& outcome);
bool refusedStart(const Outcome& outcome);

}  // namespace belvorine::test
