// One drag step of the layout editor: the pointer moves a pixel, the frame
// follows, and the marks and the rubber band are painted over the cached
// page (no render). Measured on the 600 dpi PDF printer's geometry at 200 %
// (the largest page bitmap), dragging the item table, the largest frame.
// For comparison: the render that a drag step never runs.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "bench/bench_support.h"
#include "bench/widget_bench_main.h"
#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "platform/printers/printer_info.h"
#include "preview/preview_window.h"
#include "print/printer_list.h"
#include "widgets/mode_state.h"

namespace belvorine {
namespace {

constexpr int kTable = 26;

// A preview in layout mode at 200 %, shown, with the table selected and a
// move armed.
PreviewWindow& editor() {
    static PreviewWindow* window = [] {
        usePrinters({pdfPrinter()});
        startWithoutWindow();
        fillFiveLineOrder();
        modeState().layoutMode = 1;
        settings().initialData.zoomPercent = 200;
        auto* preview = new PreviewWindow;
        preview->resize(1280, 900);
        preview->show();
        preview->render();
        QApplication::processEvents();
        const Rect& table = liveLayout(currentFormat())[kTable].screenRect;
        const QPoint at = preview->clientPoint(table.left + 20, table.top + 20);
        for (int press = 0; press < 2; ++press) {
            QMouseEvent down(QEvent::MouseButtonPress, at, preview->viewport()->mapToGlobal(at),
                             Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(preview->viewport(), &down);
        }
        return preview;
    }();
    return *window;
}

void BM_DragStep(benchmark::State& state) {
    PreviewWindow& preview = editor();
    const Rect& table = liveLayout(currentFormat())[kTable].screenRect;
    const QPoint at = preview.clientPoint(table.left + 20, table.top + 20);
    int step = 0;
    for (auto _ : state) {
        // Back and forth by one pixel, so that the frame stays where it is.
        preview.dragTo(at + QPoint(step++ % 2, 0), Qt::LeftButton);
        preview.viewport()->repaint();
    }
    state.counters["printer_dpi"] = printerGeometry(currentFormat()).resolutionX;
    state.counters["bitmap_px"] =
        static_cast<double>(preview.bitmap().width()) * preview.bitmap().height();
    state.counters["viewport_px"] =
        static_cast<double>(preview.viewport()->width()) * preview.viewport()->height();
}

void BM_RenderForComparison(benchmark::State& state) {
    PreviewWindow& preview = editor();
    for (auto _ : state) {
        preview.render();
    }
}

BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderForComparison)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    return belvorine::runWidgetBenchmarks(argc, argv);
}
