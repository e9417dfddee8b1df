#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "platform/module_path.h"
#include "platform/screen_metrics.h"

namespace belvorine::fuzz {

QString programFolder() {
    static const QString folder = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "belvorine-fuzz";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
        // A folder in memory when there is one: every run writes files.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        static QTemporaryDir dir(base + QStringLiteral("/belvorine-fuzz-XXXXXX"));
        setModulePathForTesting(dir.path() + QStringLiteral("/belvorine"));
        screenMetrics() = ScreenMetrics{96, 96, 1920, 1080};
        return dir.path();
    }();
    return folder;
}

QString programFile(const char* extension) {
    return programFolder() + QStringLiteral("/belvorine.") + QString::fromLatin1(extension);
}

void putFile(const char* extension, std::string_view content) {
    const QString path = programFile(extension);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(path);
    if (content.empty()) {
        return;
    }
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    FUZZ_CHECK(file.write(content.data(), static_cast<qint64>(content.size())) ==
               static_cast<qint64>(content.size()));
}

std::string fileContent(const char* extension) {
    QFile file(programFile(extension));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::string();
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace belvorine::fuzz
