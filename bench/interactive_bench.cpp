// Every interactive action with a long history, on the real main window and
// its dialogs under the offscreen platform, each timed from the key or
// click that starts it to the end of the paint that shows its result:
// start-up in the process (settings, printers, history, main window
// painted), data entry opening (it reloads the history), Ctrl+H to the
// painted browser, choosing the big supplier, a sort by each column, a bulk
// change of payment terms, OK in edit mode (write and reload) after the
// bulk change and without a change, the existing data pick OK with every
// row of the big supplier selected, layout mode at 200 % (entering it, a
// render at the new zoom and one more at the same zoom, the commit at the
// end of a drag) and the exit with its commit.
//
//   interactive_bench [--rows N] [--big N] [--runs K]
//
// The history has N rows (default 100 000), of which the first --big
// (default 60 000) are one supplier's. Prints per action the medians over
// K runs (default 7) of wall time, CPU time of the process and the peak
// resident size during the action. Under callgrind (valgrind
// --tool=callgrind --instr-atstart=no) each action is one dump of its
// own, named after it, whose "summary" is its instruction count.

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define RUNNING_ON_VALGRIND 0
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

#include "bench/bench_support.h"
#include "data/factory_values.h"
#include "data/order_files.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "entry/data_entry_ids.h"
#include "entry/existing_data_browser.h"
#include "entry/history_dialog_ids.h"
#include "form/form_view.h"
#include "platform/module_path.h"
#include "platform/printers/printer_info.h"
#include "platform/safe_file.h"
#include "preview/preview_window.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "widgets/commands.h"
#include "widgets/help.h"
#include "widgets/mode_state.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMiB = 0;
};

std::vector<std::string> actionOrder;
std::map<std::string, std::vector<Sample>> samples;

double cpuNowMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

double wallNowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double statusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, length, key) == 0) {
            return std::atof(line.c_str() + length);
        }
    }
    return 0;
}

// One action being measured.
class Meter {
public:
    void start(const std::string& name) {
        name_ = name;
        if (std::find(actionOrder.begin(), actionOrder.end(), name) == actionOrder.end()) {
            actionOrder.push_back(name);
        }
        // Freed heap goes back first, so that the peak is the action's own.
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        CALLGRIND_ZERO_STATS;
        CALLGRIND_START_INSTRUMENTATION;
        cpu_ = cpuNowMs();
        wall_ = wallNowMs();
    }
    void stop() {
        const double wall = wallNowMs() - wall_;
        const double cpu = cpuNowMs() - cpu_;
        CALLGRIND_STOP_INSTRUMENTATION;
        CALLGRIND_DUMP_STATS_AT(name_.c_str());
        samples[name_].push_back(Sample{wall, cpu, statusKb("VmHWM:") / 1024.0});
    }

private:
    std::string name_;
    double wall_ = 0;
    double cpu_ = 0;
};

Meter meter;

bool isWithin(const QObject* object, const QWidget* root) {
    for (; object != nullptr; object = object->parent()) {
        if (object == root) {
            return true;
        }
    }
    return false;
}

// Notes which widgets were painted, and runs a step once a new modal dialog
// has been painted.
class PaintWatch : public QObject {
public:
    // Forgets the paints so far.
    void arm() { painted_.clear(); }
    bool paintedWithin(const QWidget* root) const {
        return std::any_of(painted_.begin(), painted_.end(),
                           [root](const QObject* object) { return isWithin(object, root); });
    }
    // Runs the event loop until `root` or one of its children was painted
    // since arm(). False after 20 s without.
    bool waitPainted(const QWidget* root) {
        const double until = wallNowMs() + 20000.0;
        while (!paintedWithin(root)) {
            if (wallNowMs() > until) {
                std::fprintf(stderr, "no paint of %s\n", root->metaObject()->className());
                return false;
            }
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }
    // `step` runs right after the first paint of the next modal dialog.
    void onNextDialog(std::function<void(QWidget*)> step) {
        before_ = QApplication::activeModalWidget();
        step_ = std::move(step);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        painted_.insert(watched);
        QWidget* modal = QApplication::activeModalWidget();
        if (step_ && modal != nullptr && modal != before_ && isWithin(watched, modal)) {
            auto step = std::move(step_);
            step_ = nullptr;
            // After the whole paint, which is still under way.
            QTimer::singleShot(0, modal, [step, modal] { step(modal); });
        }
        return false;
    }

private:
    std::set<const QObject*> painted_;
    std::function<void(QWidget*)> step_;
    QWidget* before_ = nullptr;
};

PaintWatch* watch = nullptr;

void click(QWidget* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(findControl(dialog, id));
    if (button == nullptr) {
        std::fprintf(stderr, "no control %d\n", id);
        std::exit(1);
    }
    button->click();
}

void mouse(QWidget* widget, QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Starts the program's main window as the program does (settings, printers'
// geometry, history, window shown) and waits for its first paint.
MainWindow* startWindow() {
    watch->arm();
    meter.start("start-up (in process)");
    MainWindow* window = initApplication();
    if (window == nullptr || !watch->waitPainted(window)) {
        std::exit(1);
    }
    meter.stop();
    return window;
}

// Data entry opened (Ctrl+D), then "既存データ" for the big supplier with
// every listed row selected and OK; the data entry dialog is cancelled.
void dataEntryAndPick(MainWindow& window) {
    watch->onNextDialog([](QWidget* entry) {
        meter.stop();
        auto* counterparty =
            qobject_cast<QComboBox*>(findControl(entry, data_entry::kCounterparty));
        counterparty->setEditText(fromRecordText(bigSupplier()));
        watch->onNextDialog([](QWidget* browser) {
            auto* view = qobject_cast<QTableView*>(findControl(browser, existing_data::kList));
            view->selectAll();
            QApplication::processEvents();
            watch->arm();
            meter.start("pick OK, all rows selected");
            click(browser, existing_data::kOk);
        });
        click(entry, data_entry::kExistingData);
        watch->waitPainted(entry);
        meter.stop();
        click(entry, data_entry::kCancel);
    });
    watch->arm();
    meter.start("data entry opening");
    window.command(kCmdDataEntry);
}

// Ctrl+H on the big supplier, choosing it again from another one, a sort by
// each column, a bulk change of its payment terms (to cash, or to a 60-day
// note) and OK (write, reload, main window painted); then OK again without
// a change.
void editHistory(MainWindow& window, bool cash) {
    selectedCounterparty() = bigSupplier();
    watch->onNextDialog([cash](QWidget* browser) {
        meter.stop();
        auto* view = qobject_cast<QTableView*>(findControl(browser, existing_data::kList));
        auto* combo = qobject_cast<QComboBox*>(findControl(browser, existing_data::kCounterparty));
        const int big = combo->findText(fromRecordText(bigSupplier()), Qt::MatchExactly);
        emit combo->activated(big == 0 ? 1 : 0);
        watch->arm();
        watch->waitPainted(view->viewport());
        watch->arm();
        meter.start("choosing the big supplier");
        emit combo->activated(big);
        watch->waitPainted(view->viewport());
        meter.stop();
        QHeaderView* header = view->horizontalHeader();
        for (int column = 1; column <= 6; ++column) {
            const QPoint at(
                header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                header->height() / 2);
            watch->arm();
            meter.start("sort by column " + std::to_string(column));
            mouse(header->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton);
            mouse(header->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
            watch->waitPainted(view->viewport());
            meter.stop();
        }
        watch->onNextDialog([cash](QWidget* terms) {
            click(terms, cash ? bulk_payment::kCash : bulk_payment::kNote);
            if (!cash) {
                qobject_cast<QLineEdit*>(findControl(terms, bulk_payment::kNoteDays))
                    ->setText(QStringLiteral("60"));
            }
            watch->arm();
            meter.start("bulk change of the big supplier");
            click(terms, bulk_payment::kOk);
        });
        click(browser, existing_data::kBulkChange);
        watch->waitPainted(view->viewport());
        meter.stop();
        watch->arm();
        meter.start("edit-mode OK after the bulk change");
        click(browser, existing_data::kOk);
    });
    watch->arm();
    meter.start("Ctrl+H to the painted browser");
    window.command(kCmdExistingData);
    watch->waitPainted(window.findChild<FormView*>()->viewport());
    meter.stop();

    watch->onNextDialog([](QWidget* browser) {
        watch->arm();
        meter.start("edit-mode OK, nothing changed");
        click(browser, existing_data::kOk);
    });
    window.command(kCmdExistingData);
    watch->waitPainted(window.findChild<FormView*>()->viewport());
    meter.stop();
}

// Layout mode at 200 %: entering it, one render (the zoom command from
// 180 %), and a drag of the item table that ends with its commit; the
// drag is undone afterwards.
void layoutMode(MainWindow& window) {
    settings().initialData.zoomPercent = 180;
    // Room for the item table at 200 % without scrolling.
    window.resize(1280, 1024);
    QApplication::processEvents();
    PreviewWindow* preview = window.findChild<PreviewWindow*>();
    QWidget* viewport = preview->viewport();
    watch->arm();
    meter.start("entering layout mode (180 %)");
    window.command(kCmdLayoutStart);
    watch->waitPainted(viewport);
    meter.stop();

    watch->arm();
    meter.start("layout render at 200 % (zoom in)");
    window.command(kCmdZoomIn);
    watch->waitPainted(viewport);
    meter.stop();

    // The zoom command at 200 % draws the page again at the same size.
    watch->arm();
    meter.start("layout render at 200 % again");
    window.command(kCmdZoomIn);
    watch->waitPainted(viewport);
    meter.stop();

    constexpr int kTable = 26;
    const Rect& table = liveLayout(currentFormat())[kTable].screenRect;
    const QPoint at = preview->clientPoint(table.left + 20, table.top + 20);
    if (!viewport->rect().adjusted(20, 20, -40, -40).contains(at)) {
        std::fprintf(stderr, "the item table is not in view\n");
        std::exit(1);
    }
    for (int press = 0; press < 2; ++press) {
        mouse(viewport, QEvent::MouseButtonPress, at, Qt::LeftButton);
        if (press == 0) {
            mouse(viewport, QEvent::MouseButtonRelease, at, Qt::NoButton);
        }
    }
    for (int step = 1; step <= 10; ++step) {
        mouse(viewport, QEvent::MouseMove, at + QPoint(step, step), Qt::LeftButton);
    }
    QApplication::processEvents();
    watch->arm();
    meter.start("layout drag commit at 200 %");
    mouse(viewport, QEvent::MouseButtonRelease, at + QPoint(10, 10), Qt::NoButton);
    watch->waitPainted(viewport);
    meter.stop();

    window.command(kCmdUndo);
    window.command(kCmdLayoutEnd);
    QApplication::processEvents();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

void printTable(int rows, int runs) {
    std::printf("%d rows, %d runs; load average ", rows, runs);
    std::ifstream load("/proc/loadavg");
    std::string figures;
    std::getline(load, figures);
    std::printf("%s\n", figures.substr(0, 14).c_str());
    std::printf("%-40s %9s %9s %9s\n", "action", "wall ms", "cpu ms", "peak MiB");
    for (const std::string& name : actionOrder) {
        std::vector<double> wall, cpu, peak;
        for (const Sample& sample : samples[name]) {
            wall.push_back(sample.wallMs);
            cpu.push_back(sample.cpuMs);
            peak.push_back(sample.peakMiB);
        }
        std::printf("%-40s %9.1f %9.1f %9.1f\n", name.c_str(), median(wall), median(cpu),
                    median(peak));
    }
}

int run(int rows, int bigRows, int runs) {
    QTemporaryDir folder;
    setModulePathForTesting(folder.path() + QStringLiteral("/belvorine"));
    loadSettings();
    makeLiveCopies();
    settings().initialData.rowCount = rows;
    const std::string history = generateHistory(rows, bigRows);
    if (!saveSettings() || !replaceFileSafely(dataFilePath(), history, 0444) ||
        !replaceFileSafely(backupFilePath(), history, 0444)) {
        return 1;
    }
    // The built-in PDF printer only: a benchmark never waits for a queue.
    usePrinters({pdfPrinter()});
    watch = new PaintWatch;
    qApp->installEventFilter(watch);
    for (int i = 0; i < runs; ++i) {
        MainWindow* window = startWindow();
        dataEntryAndPick(*window);
        editHistory(*window, i % 2 == 0);
        layoutMode(*window);
        meter.start("exit with commit");
        window->close();
        meter.stop();
        delete window;
        modeState() = ModeState();
    }
    printTable(rows, runs);
    setModulePathForTesting(QString());
    return 0;
}

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int rows = 100000;
    int big = 60000;
    int runs = RUNNING_ON_VALGRIND ? 2 : 7;
    for (int i = 1; i + 1 < argc; i += 2) {
        const int value = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--rows") == 0) {
            rows = value;
        } else if (std::strcmp(argv[i], "--big") == 0) {
            big = value;
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = value;
        }
    }
    QApplication app(argc, argv);
    belvorine::prepareApplication(app);
    return belvorine::run(rows, std::min(big, rows), runs);
}
