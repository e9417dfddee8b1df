#include "archive/archive_verify.h"

#include <string>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "archive/order_register.h"
#include "archive/register_entry.h"
#include "platform/safe_file.h"

namespace belvorine {
namespace {

// SHA-256 of a kept file, or empty when it is missing or not a regular file.
QString fileHash(const QString& path, qint64& bytesRead, bool& missing) {
    missing = false;
    ReadFile file;
    const FileRead opened = file.open(path);
    if (opened != FileRead::kRead) {
        missing = opened == FileRead::kMissing || opened == FileRead::kNotRegular;
        return QString();
    }
    std::string content;
    if (file.read(content) != FileRead::kRead) {
        return QString();
    }
    bytesRead += static_cast<qint64>(content.size());
    return sha256Hex(
        QByteArray::fromRawData(content.data(), static_cast<qsizetype>(content.size())));
}

}  // namespace

VerifyReport verifyArchive(OrderRegister& reg, const QString& folder, const QString& registerFile,
                           const VerifyProgress& progress) {
    VerifyReport report;
    qint64 total = 0;
    if (!reg.entryCount(total)) {
        report.error = reg.error();
        return report;
    }
    const QDir dir(folder);
    QSet<QString> named;
    QString previousHash = firstPreviousHash();
    qint64 previousSeq = 0;
    const bool read = reg.forEachEntry([&](const RegisterEntry& entry) {
        ++report.entries;
        if (computeEntryHash(entry) != entry.entryHash) {
            report.problems.push_back({VerifyProblem::kEntryAltered, entry.seq, entry.fileName});
        }
        if (entry.seq != previousSeq + 1 || entry.previousHash != previousHash) {
            report.problems.push_back({VerifyProblem::kChainBroken, entry.seq, entry.fileName});
        }
        previousHash = entry.entryHash;
        previousSeq = entry.seq;
        if (!entry.isVoid()) {
            named.insert(entry.fileName);
            bool missing = false;
            const QString hash = fileHash(dir.filePath(entry.fileName), report.bytesRead, missing);
            ++report.filesChecked;
            if (missing) {
                report.problems.push_back({VerifyProblem::kFileMissing, entry.seq, entry.fileName});
            } else if (hash != entry.fileSha256) {
                report.problems.push_back({VerifyProblem::kFileAltered, entry.seq, entry.fileName});
            }
        }
        if (progress && !progress(report.entries, total)) {
            report.cancelled = true;
            return false;
        }
        return true;
    });
    if (!read) {
        report.error = reg.error();
        return report;
    }
    if (report.cancelled) {
        return report;
    }
    // Everything else in the folder: a file kept without its entry (the
    // register could not be written), or put there by someone else.
    // Compared as clean paths: a folder typed with a trailing slash is the
    // same folder.
    const QFileInfo registerInfo(registerFile);
    const bool registerInFolder = QDir::cleanPath(registerInfo.absolutePath()) ==
                                  QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString registerName = registerInFolder ? registerInfo.fileName() : QString();
    const QStringList own = {registerName, registerName + QStringLiteral("-wal"),
                             registerName + QStringLiteral("-shm"),
                             registerName + QStringLiteral("-journal")};
    for (const QString& name :
         dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (!named.contains(name) && (registerName.isEmpty() || !own.contains(name))) {
            report.problems.push_back({VerifyProblem::kFileUnregistered, 0, name});
        }
    }
    return report;
}

QString problemText(const VerifyProblem& problem) {
    const QString number = QStringLiteral("台帳番号 %1").arg(problem.seq);
    switch (problem.kind) {
        case VerifyProblem::kEntryAltered:
            return QStringLiteral("%1：台帳の記録が書き換えられています（%2）")
                .arg(number, problem.fileName);
        case VerifyProblem::kChainBroken:
            return QStringLiteral(
                       "%1：前の記録とのつながりが切れています（記録の削除または書き換え）")
                .arg(number);
        case VerifyProblem::kFileMissing:
            return QStringLiteral("%1：ファイルがありません（%2）").arg(number, problem.fileName);
        case VerifyProblem::kFileAltered:
            return QStringLiteral("%1：ファイルが変更されています（%2）")
                .arg(number, problem.fileName);
        case VerifyProblem::kFileUnregistered:
            return QStringLiteral("台帳に記録のないファイル：%1").arg(problem.fileName);
    }
    return QString();
}

}  // namespace belvorine
