#include "platform/module_path.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace belvorine {
namespace {

QString& overridePath() {
    static QString path;
    return path;
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

QString modulePathWithExtension(const QString& extension) {
    return replaceExtension(modulePath(), extension);
}

void setModulePathForTesting(const QString& path) {
    overridePath() = path;
}

}  // namespace belvorine
