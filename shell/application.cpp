#include "shell/application.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <memory>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>

#include "data/order_record.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "platform/font_faces.h"
#include "platform/module_path.h"
#include "platform/screen_metrics.h"
#include "platform/single_instance.h"
#include "print/device_geometry.h"
#include "print/printer_list.h"
#include "records/records.h"
#include "resources/images.h"
#include "shell/main_window.h"
#include "widgets/message_box.h"
#include "widgets/placement.h"

namespace belvorine {
namespace {

// Moves the window so that its frame, title bar included, lies inside the
// work area, shrinking it where the work area is smaller.
void keepFrameInsideWorkArea(QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect placed = keepInsideWorkArea(frame, workArea(&window));
    if (placed == frame) {
        return;
    }
    window.move(placed.topLeft());
    window.resize(window.size() - (frame.size() - placed.size()));
}

// Shows the window where it was, the way it was last shown. A window closed
// minimised opens restored, so that the program never seems not to have
// started. The frame is kept inside the work area once the window system
// has given it one: before it is shown the title bar is not known.
void showAsLastClosed(MainWindow& window) {
    const InitialData& data = settings().initialData;
    window.resize(data.windowWidth > 0 ? data.windowWidth : 800,
                  data.windowHeight > 0 ? data.windowHeight : 700);
    if (data.windowX != kDefaultWindowPosition && data.windowY != kDefaultWindowPosition) {
        window.move(data.windowX, data.windowY);
    }
    if (data.showState == kShowMaximised) {
        window.showMaximized();
        return;
    }
    keepFrameInsideWorkArea(window);
    window.show();
    keepFrameInsideWorkArea(window);
    // A window manager decorates the window a moment after it is mapped.
    QTimer::singleShot(250, &window, [&window] { keepFrameInsideWorkArea(window); });
}

// The write end of the pipe through which a termination signal reaches the
// event loop (a signal handler may do nothing but write).
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminationPipe[1], &byte, 1);
}

// A logout, a shutdown or `kill` ends the program the way its close box
// does: settings saved and the history committed, never lost.
void closeOnTerminationSignals(MainWindow& window) {
    if (::pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        notifier->setEnabled(false);
        window.requestExit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// A settings or layout file that is there but did not read: the run uses
// factory values and the exit leaves the file alone.
void reportUnreadSettings(QWidget* owner) {
    const QStringList files = settingsFilesNotRead();
    if (files.isEmpty()) {
        return;
    }
    QStringList shown;
    for (const QString& file : files) {
        shown.append(QDir::toNativeSeparators(file));
    }
    showMessage({owner, QStringLiteral("設定ファイル"),
                 QStringLiteral("設定ファイルを読み込むことができませんでした。\n") +
                     shown.join(QLatin1Char('\n')) +
                     QStringLiteral("\n\n今回は購入時の設定で起動します。\n"
                                    "このファイルは終了時にも書き換えずにそのまま残します。"),
                 MessageIcon::Warning, MessageButtons::Ok});
}

// The folder of the program's files, made at a first start as a per-user
// install. Says nothing unless it cannot be made: then nothing could be
// kept, so the program does not start.
int prepareFilesFolder() {
    QString reason;
    if (makeProgramFilesFolder(&reason)) {
        return 1;
    }
    showMessage({nullptr, QStringLiteral("ベルヴォリン"),
                 QStringLiteral("設定と注文データを保存するフォルダを作成できませんでした。\n") +
                     QDir::toNativeSeparators(programFilesFolder()) + QStringLiteral("\n（") +
                     reason + QStringLiteral("）\n\nベルヴォリンを終了します。"),
                 MessageIcon::Error, MessageButtons::Ok});
    return 0;
}

}  // namespace

void prepareApplication(QApplication& app) {
    // Qt's own texts (file dialogs, standard buttons) in Japanese, whatever
    // the system's language; English when the translations are not installed.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    }
    app.setApplicationName(QStringLiteral("Belvorine"));
    app.setApplicationDisplayName(QString());
    app.setWindowIcon(belvorIcon());
    // Wayland compositors find the menu entry, and with it the icon, by this.
    app.setDesktopFileName(QStringLiteral("belvorine"));
    installFontSubstitutions();
}

MainWindow* initApplication() {
    if (!prepareFilesFolder() || !readScreenMetrics()) {
        return nullptr;
    }
    loadSettings();
    makeLiveCopies();
    resetLongestCounterparties();
    if (!finishPrinterDiscovery() || !checkPrintersAtStartup()) {
        return nullptr;
    }
    prepareAllLayouts();
    auto window = std::make_unique<MainWindow>();
    if (!window->create()) {
        return nullptr;
    }
    reportUnreadSettings(window.get());
    showAsLastClosed(*window);
    return window.release();
}

int runApplication(int argc, char** argv) {
    SingleInstanceLock lock;
    if (!lock.acquire(QString::fromLatin1(kInstanceName))) {
        return 0;
    }
    QApplication app(argc, argv);
    // The printing system answers while the settings are read; a scheduler
    // that does not answer costs a bounded wait, never a hang.
    startPrinterDiscovery();
    prepareApplication(app);
    std::unique_ptr<MainWindow> window(initApplication());
    if (!window) {
        return 0;
    }
    QObject::connect(window.get(), &MainWindow::exited, &app, &QCoreApplication::quit);
    closeOnTerminationSignals(*window);
    return app.exec();
}

}  // namespace belvorine
