#pragma once
// Helpers shared by the tests: a temporary program folder, fixture paths.

#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/printers/printer_info.h"
#include "widgets/help.h"

class QLineEdit;

namespace belvorine::test {

// A temporary folder that stands in for the program's folder: the program's
// files ("dat", "ovd", ...) are looked up beside "<folder>/belvorine" while
// it lives. The real path is restored when it goes.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    QString path() const { return dir_.path(); }
    // "<folder>/belvorine.<extension>"
    QString file(const QString& extension) const;

private:
    QTemporaryDir dir_;
};

// Sets an environment variable while it lives; the previous value (or its
// absence) comes back when it goes.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QString& value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray previous_;
};

// While it lives, the printing system the program asks is a local socket
// that takes the connection and never answers (a print server that hangs).
class UnansweringScheduler {
public:
    UnansweringScheduler();
    ~UnansweringScheduler();
    bool listening() const { return listener_ >= 0; }

private:
    QTemporaryDir dir_;
    int listener_ = -1;
    std::optional<EnvironmentVariable> server_;  // CUPS_SERVER pointing at it
};

// Path of a fixture in tests/data/.
QString fixturePath(const QString& name);

// The whole content of a file, or an empty string.
std::string readFile(const QString& path);

// Writes `content` to `path`, replacing it.
void writeFile(const QString& path, const std::string& content);

// The texts of a PDF's pages (pdftotext), every blank removed, so that texts
// drawn with spread characters compare as written.
QStringList pdfPages(const QString& file);

// Runs `work` on the modal dialog that `trigger` opens, once it is active
// (fields take their values on focus changes, as with a user).
void withModalDialog(const std::function<void()>& trigger,
                     const std::function<void(QWidget*)>& work);

// Types as the user does: ASCII on the keyboard, everything else as text
// that the input method commits, one character at a time.
void typeText(QWidget* widget, const QString& text);

// The control `id` of `dialog` as a `T`; a missing one fails the test.
template <typename T = QWidget>
T* control(QWidget* dialog, int id) {
    T* widget = qobject_cast<T*>(findControl(dialog, id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

// What Qt's fcitx5 front end sends a field, as recorded with fcitx5 5.0 and
// Mozc 2.28 (tools/input-method-session.sh):
// switching the input method on (and the focus coming to a field while it
// is on): an empty pre-edit with a cursor attribute;
void switchInputMethodOn(QWidget* widget);
// each step of a composition: the pre-edit text, underlined, with the cursor
// after it;
void preedit(QWidget* widget, const QString& text);
// Enter, or the focus moving away: the committed text alone, then an empty
// pre-edit with a cursor;
void commitComposition(QWidget* widget, const QString& text);
// Escape: an empty pre-edit with a cursor, nothing committed.
void cancelComposition(QWidget* widget);
// A whole composition: each pre-edit in turn, then the commit.
void compose(QWidget* widget, const QStringList& preedits, const QString& commit);
// Whether `field` tells the input method front ends that it takes input
// method text (what they ask the field that gets the focus).
bool takesInputMethod(QWidget* field);
// Replaces a line edit's text as the user does: focus, select all, delete,
// then type.
void retype(QLineEdit* edit, const QString& text);

// The installed CUPS queue `name`, or an empty entry.
PrinterEntry installedQueue(const char* name);
// Its place in installedPrinters(), or -1.
int installedQueueIndex(const char* name);
// Fails the test where tools/cups-test-queue.sh has made the test queues
// (CI) and skips it elsewhere, when the queue `name` is missing.
void requireQueue(const char* name);

}  // namespace belvorine::test

// Ends the test (or its SetUp) when the CUPS test queue `name` is missing.
#define REQUIRE_TEST_QUEUE(name)                                                  \
    do {                                                                          \
        belvorine::test::requireQueue(name);                                      \
        if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure()) { \
            return;                                                               \
        }                                                                         \
    } while (0)
