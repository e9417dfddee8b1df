// drawFormPage of a full order (five lines and totals) for the form view
// (scale 100), the preview at 200 % and a 600 dpi PDF page.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "bench/bench_support.h"
#include "bench/widget_bench_main.h"
#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/page_renderer.h"
#include "platform/painter_device_context.h"
#include "platform/printers/printer_info.h"
#include "platform/screen_metrics.h"
#include "print/printer_list.h"

namespace belvorine {
namespace {

void prepare() {
    static const bool ready = [] {
        usePrinters({pdfPrinter()});
        startWithoutWindow();
        fillFiveLineOrder();
        printerSettings(0).showTotal = 1;
        displaySettings(0).showTotal = 1;
        return true;
    }();
    (void)ready;
}

// Draws on a screen bitmap of twice the page at `zoom` percent.
void drawOnBitmap(benchmark::State& state, int zoom) {
    prepare();
    const PageGeometry& printer = printerGeometry(0);
    const int dpi = screenMetrics().dpiX;
    const PageGeometry geometry =
        bitmapGeometry(printer, std::int64_t{zoom} * dpi * 50 / printer.resolutionX,
                       std::int64_t{zoom} * dpi * 50 / printer.resolutionY, dpi, dpi);
    QImage bitmap(2 * geometry.paperWidth, 2 * geometry.paperHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        bitmap.fill(Qt::white);
        PainterDeviceContext dc(&bitmap);
        drawFormPage(dc, geometry, displaySettings(0), zoom, kDocumentOrder);
    }
    state.counters["bitmap_px"] = static_cast<double>(bitmap.width()) * bitmap.height();
}

void BM_FormView(benchmark::State& state) {
    drawOnBitmap(state, 100);
}

void BM_Preview200(benchmark::State& state) {
    drawOnBitmap(state, 200);
}

void BM_PdfPage600(benchmark::State& state) {
    prepare();
    QTemporaryDir dir;
    for (auto _ : state) {
        QPdfWriter pdf(dir.filePath(QStringLiteral("page.pdf")));
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        PainterDeviceContext dc(painter);
        PageGeometry geometry = printerGeometry(0);
        drawFormPage(dc, geometry, printerSettings(0), 600 * 100 / screenMetrics().dpiY,
                     kDocumentOrder);
        painter.end();
    }
}

BENCHMARK(BM_FormView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Preview200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfPage600)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    return belvorine::runWidgetBenchmarks(argc, argv);
}
