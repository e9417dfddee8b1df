#include "shell/application.h"

#include <memory>

#include <QApplication>
#include <QDir>

#include "data/order_record.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "platform/font_faces.h"
#include "platform/screen_metrics.h"
#include "platform/single_instance.h"
#include "print/device_geometry.h"
#include "print/printer_list.h"
#include "records/records.h"
#include "resources/images.h"
#include "shell/main_window.h"
#include "shell/message_box.h"
#include "shell/placement.h"

namespace belvorine {
namespace {

// Places the window where it was, inside the work area, and shows it the
// way it was last shown. A window closed minimised opens restored, so that
// the program never seems not to have started.
void showAsLastClosed(MainWindow& window) {
    const InitialData& data = settings().initialData;
    window.resize(data.windowWidth > 0 ? data.windowWidth : 800,
                  data.windowHeight > 0 ? data.windowHeight : 700);
    if (data.windowX != kDefaultWindowPosition && data.windowY != kDefaultWindowPosition) {
        window.move(data.windowX, data.windowY);
    }
    const QRect placed = keepInsideWorkArea(window.frameGeometry(), workArea(&window));
    window.move(placed.topLeft());
    window.resize(placed.size().boundedTo(window.size()));
    if (data.showState == kShowMaximised) {
        window.showMaximized();
    } else {
        window.show();
    }
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

}  // namespace

void prepareApplication(QApplication& app) {
    app.setApplicationName(QStringLiteral("Belvorine"));
    app.setApplicationDisplayName(QString());
    app.setWindowIcon(belvorIcon());
    installFontSubstitutions();
}

MainWindow* initApplication() {
    if (!readScreenMetrics()) {
        return nullptr;
    }
    loadSettings();
    makeLiveCopies();
    resetLongestCounterparties();
    if (!checkPrintersAtStartup()) {
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
    prepareApplication(app);
    if (!discoverPrinters()) {
        return 0;
    }
    std::unique_ptr<MainWindow> window(initApplication());
    if (!window) {
        return 0;
    }
    QObject::connect(window.get(), &MainWindow::exited, &app, &QCoreApplication::quit);
    return app.exec();
}

}  // namespace belvorine
