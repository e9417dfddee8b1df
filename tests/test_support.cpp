#include "test_support.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextCharFormat>
#include <QTimer>

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

EnvironmentVariable::EnvironmentVariable(const char* name, const QString& value)
    : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
    qputenv(name, QFile::encodeName(value));
}

EnvironmentVariable::~EnvironmentVariable() {
    if (wasSet_) {
        qputenv(name_, previous_);
    } else {
        qunsetenv(name_);
    }
}

UnansweringScheduler::UnansweringScheduler() {
    const QByteArray path = QFile::encodeName(dir_.filePath(QStringLiteral("cups.sock")));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    if (listener < 0) {
        return;
    }
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0) {
        close(listener);
        return;
    }
    listener_ = listener;
    server_.emplace("CUPS_SERVER", QFile::decodeName(path));
}

UnansweringScheduler::~UnansweringScheduler() {
    server_.reset();
    if (listener_ >= 0) {
        close(listener_);
    }
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

QStringList pdfPages(const QString& file) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), file, QStringLiteral("-")});
    process.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QChar('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
        pages.removeLast();
    }
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{3000}]"));
    for (QString& page : pages) {
        page.remove(blanks);
    }
    return pages;
}

void typeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
        const QString character = text.mid(i, length);
        i += length - 1;
        if (character.at(0).unicode() < 0x80) {
            QTest::keyClicks(widget, character);
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(character);
        QApplication::sendEvent(widget, &commit);
    }
}

namespace {

void sendPreedit(QWidget* widget, const QString& text) {
    QList<QInputMethodEvent::Attribute> attributes;
    if (!text.isEmpty()) {
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0,
                                                   static_cast<int>(text.size()), underlined);
    }
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor,
                                               static_cast<int>(text.size()), 1);
    QInputMethodEvent event(text, attributes);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

void switchInputMethodOn(QWidget* widget) {
    sendPreedit(widget, QString());
}

void preedit(QWidget* widget, const QString& text) {
    sendPreedit(widget, text);
}

void commitComposition(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
    sendPreedit(widget, QString());
}

void cancelComposition(QWidget* widget) {
    sendPreedit(widget, QString());
}

bool takesInputMethod(QWidget* field) {
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(field, &query);
    return query.value(Qt::ImEnabled).toBool();
}

void compose(QWidget* widget, const QStringList& preedits, const QString& commit) {
    for (const QString& text : preedits) {
        preedit(widget, text);
    }
    commitComposition(widget, commit);
}

void retype(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

void withModalDialog(const std::function<void()>& trigger,
                     const std::function<void(QWidget*)>& work) {
    bool ran = false;
    QTimer::singleShot(0, [&]() {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        work(dialog);
        ran = true;
    });
    trigger();
    EXPECT_TRUE(ran) << "no dialog opened";
}

PrinterEntry installedQueue(const char* name) {
    for (const PrinterEntry& entry : installedPrinters()) {
        if (!entry.pdf && entry.name == QString::fromLatin1(name)) {
            return entry;
        }
    }
    return PrinterEntry{};
}

int installedQueueIndex(const char* name) {
    const std::vector<PrinterEntry> printers = installedPrinters();
    for (std::size_t i = 0; i < printers.size(); ++i) {
        if (!printers[i].pdf && printers[i].name == QString::fromLatin1(name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void requireQueue(const char* name) {
    if (installedQueueIndex(name) >= 0) {
        return;
    }
    const std::string reason = std::string("no CUPS scheduler with the test queue ") + name +
                               " (run tools/cups-test-queue.sh as root)";
    if (qEnvironmentVariableIsSet("CI")) {
        FAIL() << reason;
    }
    GTEST_SKIP() << reason;
}

}  // namespace belvorine::test
