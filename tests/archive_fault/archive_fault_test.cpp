// Fault injection at every file and database operation of the archive:
// a print to PDF with the archive on, in a program folder whose archive
// already holds one document (and, once, in a folder without an archive),
// repeated with a fault at its Nth operation inside the archive folder for
// every N: an I/O error, a full disk, a short write, the process killed just
// before an operation and after the last one.
// After each run:
//   - the print and the history are as after a clean run (unless killed);
//   - every register entry's file is there with its hash, and the chain is
//     whole; a file without an entry is listed by verify;
//   - a run that did not keep its document told the user.
// Only operations inside the archive folder are counted and faulted: the
// program's own files have their sweep in tests/fault/.

#include <gtest/gtest.h>

#include <map>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "archive/archive_verify.h"
#include "archive/order_register.h"
#include "tests/fault/parallel_jobs.h"

using namespace belvorine;

namespace {

const char* const kHistoryFiles[] = {"dat", "da1", "da2", "ovd", "bak"};

QString temporaryBase() {
    return QDir("/dev/shm").exists() ? QString("/dev/shm/belvorine-archive-XXXXXX")
                                     : QDir::tempPath() + "/belvorine-archive-XXXXXX";
}

QString archiveOf(const QString& folder) {
    return folder + "/電子取引";
}

void copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files | QDir::Hidden)) {
        QFile::copy(from + "/" + name, to + "/" + name);
    }
    for (const QString& name : QDir(from).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        copyTree(from + "/" + name, to + "/" + name);
    }
}

std::map<QString, QByteArray> historyFiles(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const char* extension : kHistoryFiles) {
        QFile file(folder + "/belvorine." + extension);
        files[extension] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    return files;
}

struct Fault {
    long at = 0;
    QString mode;
};

struct Run {
    bool crashed = false;
    bool killed = false;
    bool warned = false;
    int printed = 0;
    QStringList operations;
    QString errors;
};

Run runScenario(const QString& folder, const Fault& fault) {
    QTemporaryDir pdfs(temporaryBase());
    QTemporaryDir logs(temporaryBase());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LD_PRELOAD", BELVORINE_FAULT_SHIM);
    environment.insert("BELVORINE_FAULT_DIR", archiveOf(folder));
    environment.insert("BELVORINE_FAULT_LOG", logs.path() + "/operations");
    environment.insert("BELVORINE_FAULT_AT", QString::number(fault.at));
    environment.insert("BELVORINE_FAULT_MODE", fault.mode);
    environment.insert("BELVORINE_SCENARIO_ORDERS", "1");
    environment.insert("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(BELVORINE_FAULT_SCENARIO, {folder, pdfs.path()});
    process.waitForFinished(-1);
    Run run;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        run.printed += line.startsWith("PRINTED ");
        run.warned = run.warned || (line.startsWith("MESSAGE ") && line.endsWith("|warning"));
    }
    bool injected = false;
    QFile log(logs.path() + "/operations");
    if (log.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(log.readAll()).split('\n')) {
            injected = injected || line.startsWith("fault ");
            if (!line.isEmpty() && !line.startsWith("fault ")) {
                run.operations << line;
            }
        }
    }
    const bool signalled = process.exitStatus() == QProcess::CrashExit;
    run.killed = signalled && fault.mode.startsWith("kill") && injected;
    run.crashed = (signalled && !run.killed) || (!signalled && process.exitCode() != 0);
    if (run.crashed) {
        run.errors = QString::fromUtf8(process.readAllStandardError()).right(2000);
    }
    // The user's PDF, printed outside the archive, is there whatever the archive did.
    if (!run.killed && run.printed == 1 && QFile(pdfs.path() + "/order0.pdf").size() <= 0) {
        run.printed = 0;
    }
    return run;
}

// What the archive holds after a run, by the register and by the folder.
struct ArchiveState {
    QString error;  // the register could not be read
    qint64 entries = 0;
    std::vector<VerifyProblem> problems;
    int pdfFiles = 0;
};

ArchiveState readArchive(const QString& folder) {
    ArchiveState state;
    const QString archive = archiveOf(folder);
    const QString registerFile = archive + "/register.sqlite";
    state.pdfFiles = QDir(archive).entryList({"*.pdf"}, QDir::Files).size();
    if (!QFile::exists(registerFile)) {
        // Nothing entered: every file is one without an entry.
        for (const QString& name : QDir(archive).entryList(QDir::Files)) {
            state.problems.push_back({VerifyProblem::kFileUnregistered, 0, name});
        }
        return state;
    }
    OrderRegister reg(RegisterLocation(), registerFile);
    const VerifyReport report = verifyArchive(reg, archive, registerFile, {});
    state.error = report.error;
    state.entries = report.entries;
    state.problems = report.problems;
    return state;
}

struct Scenario {
    QString name;
    QString base;                           // the folder every run starts from
    std::map<QString, QByteArray> history;  // after a clean run
    qint64 entries = 0;                     // after a clean run
    QStringList operations;
};

struct Job {
    const Scenario* scenario;
    Fault fault;
};

// The failures of one faulted run (empty: it held).
QStringList judge(const Job& job) {
    QTemporaryDir folder(temporaryBase());
    copyTree(job.scenario->base, folder.path());
    const Run run = runScenario(folder.path(), job.fault);
    QStringList failures;
    if (run.crashed) {
        failures << "crash: " + run.errors;
    }
    if (!run.killed && run.printed != 1) {
        failures << "the print did not stand";
    }
    if (!run.killed && historyFiles(folder.path()) != job.scenario->history) {
        failures << "the history is not as after a clean run";
    }
    const ArchiveState state = readArchive(folder.path());
    if (!state.error.isEmpty()) {
        failures << "register unreadable: " + state.error;
    }
    int unregistered = 0;
    for (const VerifyProblem& problem : state.problems) {
        if (problem.kind == VerifyProblem::kFileUnregistered) {
            unregistered += problem.fileName.endsWith(".pdf");
        } else {
            failures << "verify: " + problemText(problem);
        }
    }
    // Each PDF in the folder has an entry or is listed by verify.
    if (state.pdfFiles != state.entries + unregistered) {
        failures << QString("%1 files, %2 entries, %3 listed without an entry")
                        .arg(state.pdfFiles)
                        .arg(state.entries)
                        .arg(unregistered);
    }
    const bool kept = state.entries == job.scenario->entries && unregistered == 0;
    if (!run.killed && !kept && !run.warned) {
        failures << "the document was not kept and nobody was told";
    }
    return failures;
}

bool needsRoom(const QString& operation) {
    return operation == "mkstemp" || operation == "open-write" || operation == "write" ||
           operation == "pwrite" || operation == "fsync" || operation == "fdatasync" ||
           operation == "ftruncate";
}

// Leaves out the runs whose files would be those of another run (as the
// program files' sweep does) and, to keep the sweep short, an error that
// stays after its first failure (the program stops at the first) and, for
// the first document, everything but a full disk and a kill at a write
// (the later document reads and fails the same way).
bool worthRunning(const QString& mode, const QString& operation, bool last, bool everyRead) {
    if (mode == "enospc-always") {
        return needsRoom(operation);
    }
    if (!everyRead && (mode == "eio-once" || !needsRoom(operation))) {
        return false;  // for the first document a full disk stands for every write error
    }
    if (mode == "short-once") {
        return operation == "write" || operation == "pwrite";
    }
    if (mode == "kill-after") {
        return last;
    }
    return true;
}

// A clean run from `base`: the history and the entries it leaves, and its
// operations in the archive folder.
Scenario cleanScenario(const QString& name, const QString& base) {
    Scenario scenario{name, base, {}, 0, {}};
    QTemporaryDir folder(temporaryBase());
    copyTree(base, folder.path());
    const Run run = runScenario(folder.path(), {});
    EXPECT_FALSE(run.crashed) << run.errors.toStdString();
    EXPECT_FALSE(run.warned);
    EXPECT_EQ(run.printed, 1);
    scenario.history = historyFiles(folder.path());
    scenario.operations = run.operations;
    const ArchiveState state = readArchive(folder.path());
    EXPECT_TRUE(state.problems.empty());
    scenario.entries = state.entries;
    return scenario;
}

TEST(ArchiveFaultInjection, EveryFileAndDatabaseOperationOfKeepingAPrint) {
    // A folder without an archive, and the same folder after one print.
    QTemporaryDir empty(temporaryBase());
    QTemporaryDir once(temporaryBase());
    ASSERT_FALSE(runScenario(once.path(), {}).crashed);
    const Scenario first = cleanScenario("first document", empty.path());
    const Scenario later = cleanScenario("later document", once.path());
    ASSERT_EQ(first.entries, 1);
    ASSERT_EQ(later.entries, 2);
    ASSERT_GT(later.operations.size(), 10);

    const char* const modes[] = {"eio-once", "enospc-always", "short-once", "kill-before",
                                 "kill-after"};
    std::vector<Job> jobs;
    for (const Scenario* scenario : {&first, &later}) {
        const long count = scenario->operations.size();
        for (long at = 1; at <= count; ++at) {
            const QString operation = scenario->operations[at - 1].section(' ', 1, 1);
            for (const char* mode : modes) {
                if (worthRunning(mode, operation, at == count, scenario == &later)) {
                    jobs.push_back({scenario, {at, mode}});
                }
            }
        }
    }
    std::vector<QStringList> results(jobs.size());
    test::runOnEveryCore(jobs.size(), [&](std::size_t job) { results[job] = judge(jobs[job]); });
    std::printf("archive operations: first document %lld, later document %lld; %zu runs\n",
                static_cast<long long>(first.operations.size()),
                static_cast<long long>(later.operations.size()), jobs.size());
    int held = 0;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        held += results[i].isEmpty();
        for (const QString& failure : results[i]) {
            ADD_FAILURE() << jobs[i].scenario->name.toStdString() << ", "
                          << jobs[i].fault.mode.toStdString() << " at "
                          << jobs[i].scenario->operations[jobs[i].fault.at - 1].toStdString()
                          << ": " << failure.toStdString();
        }
    }
    std::printf("%d of %zu runs held\n", held, jobs.size());
}

}  // namespace
