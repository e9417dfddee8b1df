#include "platform/module_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace belvorine {
namespace {

QString& overridePath() {
    static QString path;
    return path;
}

QString& decidedFolder() {
    static QString folder;
    return folder;
}

bool userMayWrite(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

// Everything under /usr belongs to the package manager, even when the user
// (root) may write there.
bool isSystemFolder(const QString& folder) {
    return folder == QLatin1String("/usr") || folder.startsWith(QLatin1String("/usr/"));
}

QString userDataFolder() {
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base
    // directory rules say.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QStringLiteral("/belvorine"));
}

}  // namespace

QString replaceExtension(const QString& path, const QString& extension) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype length = path.size();
    const bool hasThreeLetterExtension =
        length - nameStart > 4 && path.at(length - 4) == QLatin1Char('.');
    if (hasThreeLetterExtension) {
        return path.left(length - 3) + extension;
    }
    return path + QLatin1Char('.') + extension;
}

QString modulePath() {
    if (!overridePath().isEmpty()) {
        return overridePath();
    }
    if (QCoreApplication::instance()) {
        return QCoreApplication::applicationFilePath();
    }
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString programFilesFolder() {
    QString& folder = decidedFolder();
    if (folder.isEmpty()) {
        const QString own = QFileInfo(modulePath()).absolutePath();
        folder = userMayWrite(own) && !isSystemFolder(own) ? own : userDataFolder();
    }
    return folder;
}

int makeProgramFilesFolder(QString* reason) {
    const QString folder = programFilesFolder();
    // Each missing folder of the path is made for the user alone, as the
    // XDG base directory rules ask of a data folder.
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        path += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST) {
            if (reason) {
                *reason = QString::fromLocal8Bit(std::strerror(errno));
            }
            return 0;
        }
    }
    if (!QFileInfo(folder).isDir()) {
        if (reason) {
            *reason = QString::fromLocal8Bit(std::strerror(ENOTDIR));
        }
        return 0;
    }
    return 1;
}

QString modulePathWithExtension(const QString& extension) {
    const QString name = QFileInfo(modulePath()).fileName();
    return replaceExtension(programFilesFolder() + QLatin1Char('/') + name, extension);
}

void setModulePathForTesting(const QString& path) {
    overridePath() = path;
    decidedFolder().clear();
}

}  // namespace belvorine
