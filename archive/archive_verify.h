#pragma once
// Verifying the archive: every entry's hash and its link to the entry
// before, every kept file's SHA-256 against its entry, and the files in the
// folder that no entry names. It reads and reports; it never "fixes".

#include <functional>
#include <vector>

#include <QString>

namespace belvorine {

class OrderRegister;

struct VerifyProblem {
    enum Kind {
        kEntryAltered,      // the entry's fields no longer give its hash
        kChainBroken,       // an entry missing before it, or its link altered
        kFileMissing,       // the entry's file is not in the folder
        kFileAltered,       // the file's SHA-256 differs from the entry's
        kFileUnregistered,  // a file in the folder that no entry names
    };
    Kind kind;
    qint64 seq = 0;  // 0 for a file without an entry
    QString fileName;
};

struct VerifyReport {
    qint64 entries = 0;
    qint64 filesChecked = 0;
    qint64 bytesRead = 0;
    bool cancelled = false;
    QString error;  // the register could not be read: nothing was verified
    std::vector<VerifyProblem> problems;

    bool clean() const { return error.isEmpty() && !cancelled && problems.empty(); }
};

// Called after each entry with the entries done and their number; returns
// false to stop.
using VerifyProgress = std::function<bool(qint64 done, qint64 total)>;

// Verifies `reg` against the files in `folder`. The register's own files
// (`registerFile` and its "-wal", "-shm", "-journal") are not documents.
VerifyReport verifyArchive(OrderRegister& reg, const QString& folder, const QString& registerFile,
                           const VerifyProgress& progress);

// One line per problem, for the user.
QString problemText(const VerifyProblem& problem);

}  // namespace belvorine
