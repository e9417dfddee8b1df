// drawFormPage of a full order (five lines and totals) for the form view
// (scale 100), the preview at 200 % and a 600 dpi PDF page; the form view's
// whole render; the bitmap formats against 32 bits (memory, pixels that
// differ, time to draw and to paint from).

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "bench/bench_support.h"
#include "bench/widget_bench_main.h"
#include "data/settings_state.h"
#include "form/form_view.h"
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

// A page as the form view (zoom 100, with its red format name) or the
// preview (zoom 200, grey surround) draws it on a bitmap of twice the page.
QImage drawPage(int zoom, QImage::Format format) {
    const PageGeometry& printer = printerGeometry(0);
    const int dpi = screenMetrics().dpiX;
    const PageGeometry geometry =
        bitmapGeometry(printer, std::int64_t{zoom} * dpi * 50 / printer.resolutionX,
                       std::int64_t{zoom} * dpi * 50 / printer.resolutionY, dpi, dpi);
    QImage bitmap(2 * geometry.paperWidth, 2 * geometry.paperHeight, format);
    const bool formView = zoom == 100;
    bitmap.fill(formView ? QColor(Qt::white) : QColor(192, 192, 192));
    PainterDeviceContext dc(&bitmap);
    if (!formView) {
        const int w = geometry.paperWidth;
        const int h = geometry.paperHeight;
        dc.setSolidPen(0);
        dc.drawRectangle(QRect(w / 2 + 4, h / 2 + 4, w, h), Qt::black);
        dc.drawRectangle(QRect(w / 2, h / 2, w, h), Qt::white);
    }
    dc.setTextColor(Qt::black);
    FormViewPass pass{8, 16, 0, 0, {}};
    drawFormPage(dc, geometry, displaySettings(0), zoom, kDocumentOrder,
                 formView ? &pass : nullptr);
    return bitmap;
}

// Draws the page on a bitmap of `format`; reports the bitmap's bytes and
// how many of its pixels differ from the 32-bit bitmap's, painted on screen.
void drawOnBitmap(benchmark::State& state, int zoom, QImage::Format format) {
    prepare();
    QImage bitmap;
    for (auto _ : state) {
        bitmap = drawPage(zoom, format);
    }
    const QImage reference = drawPage(zoom, QImage::Format_RGB32);
    const QImage shown = bitmap.convertToFormat(QImage::Format_RGB32);
    long long differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            differing += a[x] != b[x];
        }
    }
    state.counters["bitmap_px"] = static_cast<double>(bitmap.width()) * bitmap.height();
    state.counters["bitmap_MiB"] = static_cast<double>(bitmap.sizeInBytes()) / (1 << 20);
    state.counters["differing_px"] = static_cast<double>(differing);
}

void BM_FormView(benchmark::State& state) {
    drawOnBitmap(state, 100, static_cast<QImage::Format>(state.range(0)));
}

void BM_Preview200(benchmark::State& state) {
    drawOnBitmap(state, 200, static_cast<QImage::Format>(state.range(0)));
}

// The form view's whole render as after every change of the order: its page
// in grey and the format name again in colour.
void BM_FormViewRender(benchmark::State& state) {
    prepare();
    FormView view;
    view.resize(900, 700);
    for (auto _ : state) {
        view.render();
    }
    state.counters["bitmap_MiB"] = static_cast<double>(view.bitmap().sizeInBytes()) / (1 << 20);
}

// Copying the visible part of the page to a window-sized 32-bit surface, as
// every paint does.
void BM_PaintFromBitmap(benchmark::State& state) {
    prepare();
    const QImage bitmap = drawPage(100, static_cast<QImage::Format>(state.range(0)));
    QImage window(1000, 800, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&window);
        painter.drawImage(QPoint(-bitmap.width() / 4, -bitmap.height() / 4), bitmap);
    }
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

// The bitmap formats measured: 32-bit, 24-bit, 16-bit and 8-bit grey.
#define BITMAP_FORMATS               \
    Arg(QImage::Format_RGB32)        \
        ->Arg(QImage::Format_RGB888) \
        ->Arg(QImage::Format_RGB16)  \
        ->Arg(QImage::Format_Grayscale8)
BENCHMARK(BM_FormView)->BITMAP_FORMATS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Preview200)->BITMAP_FORMATS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormViewRender)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFromBitmap)->BITMAP_FORMATS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfPage600)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    return belvorine::runWidgetBenchmarks(argc, argv);
}
