// Bad files of every kind in place of each of the program's six files: a
// whole run (start-up, print, exit) must not crash or hang, must not lose
// the history, and must tell the user where a file could not be used.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "scenario_runner.h"

using namespace belvorine::test;

namespace {

// Cases ("<file> <kind>") known to fail, with the reason: reported, not
// failed, and a FIFO case listed here is not run at all (it would block the
// start-up until the watchdog). Empty: every case must hold.
const std::map<std::string, std::string> kOpenHoles = {};

// A run that takes longer than this is taken for hung (a normal run takes
// under a second).
constexpr int kWatchdogMs = 60000;

const char* const kCheckedFiles[] = {"dat", "da1", "da2", "prn", "ovd", "bak", "tmp"};

struct Kind {
    const char* name;
    // Puts the bad file at `path`; `good` is what a good file there holds,
    // `outside` a folder outside the program folder.
    std::function<void(const QString& path, const std::string& good, const QString& outside)> make;
};

void put(const QString& path, const std::string& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.data(), static_cast<qint64>(content.size()));
}

std::string garbage(std::size_t size) {
    std::string text(size, '\0');
    unsigned state = 12345;
    for (char& c : text) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 16);
    }
    return text;
}

const Kind kKinds[] = {
    {"garbage",
     [](const QString& path, const std::string&, const QString&) { put(path, garbage(4096)); }},
    // The first 7 bytes of a history still carry its mark.
    {"cut short",
     [](const QString& path, const std::string& good, const QString&) {
         put(path,
             good.substr(0, path.endsWith("ovd") || path.endsWith("bak") || path.endsWith("tmp")
                                ? 7
                                : good.size() / 2));
     }},
    // Far beyond any real file (a history of 100 000 rows is about 11 MB).
    {"huge",
     [](const QString& path, const std::string& good, const QString&) {
         put(path, good);
         ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), 256LL << 20), 0);
     }},
    {"empty", [](const QString& path, const std::string&, const QString&) { put(path, {}); }},
    {"directory",
     [](const QString& path, const std::string&, const QString&) {
         ASSERT_TRUE(QDir().mkdir(path));
         put(path + "/inside", "x");
     }},
    // The run is made as an ordinary user, who cannot read a file of mode 000.
    {"unreadable",
     [](const QString& path, const std::string& good, const QString&) {
         put(path, good);
         ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
     }},
    // A link to a good copy outside the program folder, which must stay as it is.
    {"link",
     [](const QString& path, const std::string& good, const QString& outside) {
         put(outside + "/target", good);
         ASSERT_EQ(::chmod(QFile::encodeName(outside + "/target").constData(), 0644), 0);
         ASSERT_TRUE(QFile::link(outside + "/target", path));
     }},
    // The same to a damaged copy, and the user declines the backup.
    {"link to garbage, No",
     [](const QString& path, const std::string&, const QString& outside) {
         put(outside + "/target", garbage(4096));
         ASSERT_EQ(::chmod(QFile::encodeName(outside + "/target").constData(), 0644), 0);
         ASSERT_TRUE(QFile::link(outside + "/target", path));
     }},
    {"link to /dev/zero", [](const QString& path, const std::string&,
                             const QString&) { ASSERT_TRUE(QFile::link("/dev/zero", path)); }},
    {"FIFO",
     [](const QString& path, const std::string&, const QString&) {
         ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
     }},
};

bool readableOnlyAsRoot(const char* kind) {
    return std::string(kind) == "unreadable";
}

// What the user must be told: a history that is not whole, and a settings
// or layout file (or the printer names) that could not be read at all. Damaged contents of the
// settings and layout files take the factory values quietly, and a bad
// backup or a working file left behind is replaced without a word.
bool needsMessage(const std::string& file, const std::string& kind) {
    if (file == "ovd") {
        return kind != "link";  // a link to a good history is read as one
    }
    if (file == "dat" || file == "da1" || file == "da2" || file == "prn") {
        return kind == "directory" || kind == "unreadable" || kind == "huge" ||
               kind == "link to /dev/zero" || kind == "FIFO";
    }
    return false;
}

class BadFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A history of four rows from two clean runs.
        QTemporaryDir folder(temporaryBase());
        runScenario("run", folder.path(), {});
        runScenario("run", folder.path(), {});
        base_ = new FileSet(readProgramFiles(folder.path()));
        // The working file as a run leaves it while it is running.
        (*base_)["tmp"] = (*base_)["ovd"];
    }
    static void TearDownTestSuite() {
        delete base_;
        base_ = nullptr;
    }
    static FileSet* base_;
};

FileSet* BadFiles::base_ = nullptr;

TEST_F(BadFiles, EveryKindInPlaceOfEachFileKeepsTheHistoryAndTellsTheUser) {
    ASSERT_TRUE((*base_)["ovd"].has_value());
    std::map<std::string, std::string> table;  // case -> outcome
    std::set<std::string> failed;
    for (const char* file : kCheckedFiles) {
        for (const Kind& kind : kKinds) {
            const std::string name = std::string(file) + " " + kind.name;
            const auto hole = kOpenHoles.find(name);
            if (hole != kOpenHoles.end() && std::string(kind.name) == "FIFO") {
                table[name] = "not run (" + hole->second + ")";
                continue;
            }
            QTemporaryDir folder(temporaryBase());
            QTemporaryDir outside(temporaryBase());
            FileSet files = *base_;
            files.erase("tmp");
            const QString path = folder.path() + "/belvorine." + file;
            files[file] = std::nullopt;
            writeProgramFiles(folder.path(), files);
            kind.make(path, *(*base_)[file], outside.path());
            ScenarioOptions options;
            options.watchdogMs = kWatchdogMs;
            if (readableOnlyAsRoot(kind.name)) {
                options.asOrdinaryUser = true;
                QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7777));
            }
            options.declineBackup = std::string(kind.name).ends_with(", No");
            const Outcome run = runScenario("run", folder.path(), options);

            std::string problems;
            const auto problem = [&](const std::string& text) {
                problems += (problems.empty() ? "" : "; ") + text;
            };
            if (run.hung) {
                problem("hung");
            } else if (run.crashed) {
                problem("crashed: " + run.errors.trimmed().section('\n', -1).toStdString());
            }
            if (needsMessage(file, kind.name) && !showedError(run)) {
                problem("no message");
            }
            if (std::string(kind.name).starts_with("link") &&
                QFileInfo(outside.path() + "/target").exists()) {
                const QString target = outside.path() + "/target";
                struct stat info {};
                ::stat(QFile::encodeName(target).constData(), &info);
                if ((info.st_mode & 0777) != 0644) {
                    problem("mode of the link's target changed");
                }
                QFile copy(target);
                const std::string expected =
                    std::string(kind.name) == "link" ? *(*base_)[file] : garbage(4096);
                if (!copy.open(QIODevice::ReadOnly) || copy.readAll().toStdString() != expected) {
                    problem("the link's target changed");
                }
            }
            // No loss: once the bad entry is gone, the history is there.
            const QFileInfo left(path);
            if (left.isSymLink() || left.isDir() || (left.exists() && !left.isFile())) {
                QFile::remove(path);
                QDir(path).removeRecursively();
            }
            ::chmod(QFile::encodeName(path).constData(), 0644);
            ScenarioOptions check;
            check.watchdogMs = kWatchdogMs;
            const Outcome next = runScenario("check", folder.path(), check);
            if (next.hung || next.crashed || refusedStart(next) || !next.rows ||
                (*next.rows != 4 && *next.rows != 6)) {
                problem("history lost: next start loaded " +
                        std::to_string(next.rows.value_or(-1)) + " rows" +
                        (refusedStart(next) ? " (refused)" : ""));
            }
            std::string messages = run.messages.join(" / ").toStdString();
            if (hole != kOpenHoles.end()) {
                table[name] = (problems.empty() ? "held (remove from kOpenHoles)" : problems) +
                              " [expected: " + hole->second + "]";
            } else {
                table[name] = problems.empty() ? "held" : problems;
                if (!problems.empty()) {
                    failed.insert(name);
                }
            }
            table[name] += messages.empty() ? "" : " | " + messages;
        }
    }
    for (const auto& [name, outcome] : table) {
        std::printf("%-24s %s\n", name.c_str(), outcome.c_str());
    }
    for (const std::string& name : failed) {
        ADD_FAILURE() << name << ": " << table[name];
    }
}

}  // namespace
