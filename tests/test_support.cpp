#include "test_support.h"

#include <QFile>

#include "platform/module_path.h"

namespace belvorine::test {

ProgramFolder::ProgramFolder() {
    setModulePathForTesting(dir_.path() + QStringLiteral("/belvorine"));
}

ProgramFolder::~ProgramFolder() {
    setModulePathForTesting(QString());
}

QString ProgramFolder::file(const QString& extension) const {
    return dir_.path() + QStringLiteral("/belvorine.") + extension;
}

QString fixturePath(const QString& name) {
    return QStringLiteral(BELVORINE_TEST_DATA "/") + name;
}

std::string readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::string();
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void writeFile(const QString& path, const std::string& content) {
    QFile::remove(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(content.data(), static_cast<qint64>(content.size()));
    }
}

}  // namespace belvorine::test
