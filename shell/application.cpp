#include "shell/application.h"

#include <memory>

#include <QApplication>

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
    if (!finishPrinterDiscovery() || !checkPrintersAtStartup()) {
        return nullptr;
    }
    prepareAllLayouts();
    auto window = std::make_unique<MainWindow>();
    if (!window->create()) {
        return nullptr;
    }
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
    return app.exec();
}

}  // namespace belvorine
