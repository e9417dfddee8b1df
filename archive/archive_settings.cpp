#include "archive/archive_settings.h"

#include <optional>
#include <string>

#include <QDir>
#include <QStringList>

#include "platform/module_path.h"
#include "platform/safe_file.h"

namespace belvorine {
namespace {

// A settings file is a few hundred bytes; anything larger is not ours.
constexpr long long kMaxSettingsBytes = 64 * 1024;

// The settings in force, with the file they were read from: a test that
// moves the program's files elsewhere reads that folder's file.
struct Loaded {
    QString path;
    ArchiveSettings settings;
};

std::optional<Loaded>& loaded() {
    static std::optional<Loaded> settings;
    return settings;
}

// One value per line: backslashes and line breaks escaped, so a folder name
// never breaks the file apart.
QString escaped(const QString& value) {
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\");
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\\r");
        } else {
            out += c;
        }
    }
    return out;
}

QString unescaped(QStringView value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            out += next == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                   : next == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                              : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

bool flag(const QString& value, bool fallback) {
    if (value == QLatin1String("1")) {
        return true;
    }
    if (value == QLatin1String("0")) {
        return false;
    }
    return fallback;
}

ArchiveSettings parse(const QString& text) {
    ArchiveSettings settings;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        // The file is written with \n alone; a \r left at the end is a line
        // end of another system, never part of a value (those are escaped).
        QStringView body = QStringView(line).mid(equals + 1);
        if (body.endsWith(QLatin1Char('\r'))) {
            body.chop(1);
        }
        const QString value = unescaped(body);
        RegisterLocation& location = settings.location;
        if (key == QLatin1String("pdfPrints")) {
            settings.archivePdfPrints = flag(value, settings.archivePdfPrints);
        } else if (key == QLatin1String("paperPrints")) {
            settings.archivePaperPrints = flag(value, settings.archivePaperPrints);
        } else if (key == QLatin1String("folder")) {
            settings.folder = value;
        } else if (key == QLatin1String("register")) {
            location.driver = value == QLatin1String("postgresql") ? RegisterDriver::kPostgres
                                                                   : RegisterDriver::kSqlite;
        } else if (key == QLatin1String("sqliteFile")) {
            location.sqliteFile = value;
        } else if (key == QLatin1String("host")) {
            location.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            const int port = value.toInt(&ok);
            if (ok && port > 0 && port < 65536) {
                location.port = port;
            }
        } else if (key == QLatin1String("database")) {
            location.database = value;
        } else if (key == QLatin1String("user")) {
            location.user = value;
        }
    }
    return settings;
}

QString serialise(const ArchiveSettings& settings) {
    const RegisterLocation& location = settings.location;
    const QStringList lines = {
        QStringLiteral("# ベルヴォリン 電子取引の保存設定"),
        QStringLiteral("pdfPrints=") + (settings.archivePdfPrints ? "1" : "0"),
        QStringLiteral("paperPrints=") + (settings.archivePaperPrints ? "1" : "0"),
        QStringLiteral("folder=") + escaped(settings.folder),
        QStringLiteral("register=") +
            (location.driver == RegisterDriver::kPostgres ? "postgresql" : "sqlite"),
        QStringLiteral("sqliteFile=") + escaped(location.sqliteFile),
        QStringLiteral("host=") + escaped(location.host),
        QStringLiteral("port=") + QString::number(location.port),
        QStringLiteral("database=") + escaped(location.database),
        QStringLiteral("user=") + escaped(location.user),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace

QString defaultArchiveFolder() {
    // Wherever the one rule puts the program's files, the archive goes beside them.
    return QDir(programFilesFolder()).filePath(QStringLiteral("電子取引"));
}

QString archiveFolder(const ArchiveSettings& settings) {
    return settings.folder.isEmpty() ? defaultArchiveFolder() : settings.folder;
}

QString sqliteRegisterFile(const ArchiveSettings& settings) {
    return settings.location.sqliteFile.isEmpty()
               ? QDir(archiveFolder(settings)).filePath(QStringLiteral("register.sqlite"))
               : settings.location.sqliteFile;
}

QString archiveSettingsPath() {
    return modulePathWithExtension(QStringLiteral("arc"));
}

const ArchiveSettings& archiveSettings() {
    const QString path = archiveSettingsPath();
    if (!loaded() || loaded()->path != path) {
        std::string content;
        ArchiveSettings settings;
        if (readFileBounded(path, content, kMaxSettingsBytes) == FileRead::kRead) {
            settings =
                parse(QString::fromUtf8(content.data(), static_cast<qsizetype>(content.size())));
        }
        loaded() = Loaded{path, settings};
    }
    return loaded()->settings;
}

int saveArchiveSettings(const ArchiveSettings& settings) {
    loaded() = Loaded{archiveSettingsPath(), settings};
    const QByteArray bytes = serialise(settings).toUtf8();
    return replaceFileSafely(
        archiveSettingsPath(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void setArchiveSettingsForTesting(const ArchiveSettings& settings) {
    loaded() = Loaded{archiveSettingsPath(), settings};
}

}  // namespace belvorine
