#include "scenario_runner.h"

#include <unistd.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace belvorine::test {

FileSet readProgramFiles(const QString& folder) {
    FileSet files;
    for (const char* extension : kProgramFiles) {
        QFile file(folder + "/belvorine." + extension);
        if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            files[extension] =
                std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        } else {
            files[extension] = std::nullopt;
        }
    }
    return files;
}

void writeProgramFiles(const QString& folder, const FileSet& files) {
    for (const auto& [extension, content] : files) {
        if (content) {
            QFile file(folder + "/belvorine." + QString::fromStdString(extension));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(content->data(), static_cast<qint64>(content->size()));
            }
        }
    }
}

QStringList strayEntries(const QString& folder) {
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                 QDir::Hidden | QDir::System);
    for (const char* extension : kProgramFiles) {
        entries.removeAll(QString("belvorine.") + extension);
    }
    return entries;
}

QString temporaryBase() {
    return QDir("/dev/shm").exists() ? QString("/dev/shm/belvorine-fault-XXXXXX")
                                     : QDir::tempPath() + "/belvorine-fault-XXXXXX";
}

Outcome runScenario(const QString& action, const QString& folder, const ScenarioOptions& options) {
    QTemporaryDir pdfFolder(temporaryBase());
    QTemporaryDir logFolder(temporaryBase());
    const QString log = logFolder.path() + "/operations";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LD_PRELOAD", BELVORINE_FAULT_SHIM);
    environment.insert("BELVORINE_FAULT_DIR", folder);
    environment.insert("BELVORINE_FAULT_LOG", log);
    environment.insert("BELVORINE_FAULT_AT", QString::number(options.fault.at));
    environment.insert("BELVORINE_FAULT_MODE", QString::fromStdString(options.fault.mode));
    // A sanitizer build's runtime must come first; the shim then loads after it.
    environment.insert("BELVORINE_SCENARIO_MEMORY_MB", "3072");
    environment.insert("BELVORINE_SCENARIO_DECLINE", options.declineBackup ? "1" : "0");
    environment.insert("BELVORINE_SCENARIO_ORDERS", QString::number(options.orders));
    environment.insert("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0");

    QString program = BELVORINE_FAULT_SCENARIO;
    QStringList arguments{action, folder, pdfFolder.path()};
    if (options.asOrdinaryUser && ::geteuid() == 0) {
        arguments.prepend(program);
        arguments = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + arguments;
        program = "setpriv";
        QFile::setPermissions(pdfFolder.path(), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(logFolder.path(), QFileDevice::Permissions(0x7777));
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForFinished(options.watchdogMs)) {
        outcome.hung = process.state() != QProcess::NotRunning;
        process.kill();
        process.waitForFinished(-1);
    }
    // Qt's notes about the offscreen platform are not errors.
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split('\n')) {
        if (!line.isEmpty() && !line.contains("XDG_RUNTIME_DIR") &&
            !line.contains("propagateSizeHints")) {
            outcome.errors += line + '\n';
        }
    }
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("MESSAGE ")) {
            outcome.messages << line.mid(8);
        } else if (line.startsWith("ROWS ")) {
            outcome.rows = line.mid(5).toInt();
        } else if (line == "START REFUSED") {
            outcome.refused = true;
        }
    }
    QFile logFile(log);
    if (logFile.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(logFile.readAll()).split('\n')) {
            if (line.startsWith("fault ")) {
                outcome.faultInjected = true;
            } else if (line == "mark started") {
                outcome.startUpOperations = outcome.operations.size();
            } else if (!line.isEmpty()) {
                outcome.operations << line;
            }
        }
    }
    const bool signalled = process.exitStatus() == QProcess::CrashExit;
    outcome.killed = signalled && !outcome.hung && options.fault.mode.starts_with("kill") &&
                     outcome.faultInjected;
    outcome.crashed = !outcome.hung &&
                      ((signalled && !outcome.killed) || (!signalled && process.exitCode() != 0));
    return outcome;
}

bool showedError(const Outcome& outcome) {
    return std::any_of(outcome.messages.begin(), outcome.messages.end(), [](const QString& m) {
        // A numbered error, or any box with the error or warning icon.
        return m.contains("ERROR") || m.startsWith("Error") || m.endsWith("|error") ||
               m.endsWith("|warning");
    });
}

bool refusedStart(const Outcome& outcome) {
    return outcome.refused ||
           std::any_of(outcome.messages.begin(), outcome.messages.end(), [](const QString& m) {
               return m.contains("ERROR No.0001") || m.contains("ERROR No.0002");
           });
}

}  // namespace belvorine::test
