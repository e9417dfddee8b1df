// drawFrame on a screen bitmap and on a 600 dpi PDF page: a fit-to-width
// title and a fixed-size text of 255 bytes.

#include <benchmark/benchmark.h>

#include <memory>

#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryFile>

#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/text_fitting.h"
#include "platform/font_faces.h"
#include "platform/painter_device_context.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr int kPdfScale = 600 * 100 / 96;

PageSettings& benchSettings() {
    static PageSettings settings = [] {
        PageSettings page;
        copySjis(page.font.faceName, toSjisLossy(QStringLiteral("ＭＳ 明朝")));
        page.font.charSet = kShiftJisCharSet;
        printerSettings(0).font = page.font;
        copySjis(longestCounterparty(0), 256, toSjisLossy(QStringLiteral("××　株式会社")));
        screenMetrics().dpiX = 96;
        screenMetrics().dpiY = 96;
        return page;
    }();
    return settings;
}

LayoutItem titleItem() {
    LayoutItem item;
    item.itemId = 1;
    copySjis(item.text, toSjisLossy(QStringLiteral("注　文　書")));
    item.mmRect = Rect{7000, 1000, 14000, 2000};
    item.screenRect = Rect{246, 19, 510, 57};
    item.sizeRule = kSizeFitWidth;
    item.pointSize = 27;
    item.weight = 900;
    item.underline = 1;
    item.alignment = kAlignCentre;
    return item;
}

LayoutItem longItem() {
    LayoutItem item;
    item.itemId = 23;
    std::string text;
    while (text.size() + 2 <= 254) {
        text += toSjisLossy(QStringLiteral("注"));
    }
    text += "A";
    copySjis(item.text, text);
    item.mmRect = Rect{600, 5800, 20000, 6100};
    item.screenRect = Rect{4, 200, 737, 211};
    item.sizeRule = kSizeFixed;
    item.pointSize = 8;
    item.weight = 400;
    return item;
}

void drawOnScreen(benchmark::State& state, const LayoutItem& item) {
    const PageSettings& settings = benchSettings();
    QImage image(794, 1123, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    PainterDeviceContext dc(&image);
    for (auto _ : state) {
        drawFrame(dc, item, settings, 100, 0, 0);
    }
}

void drawOnPdf(benchmark::State& state, const LayoutItem& item) {
    const PageSettings& settings = benchSettings();
    QTemporaryFile file;
    file.open();
    QPdfWriter writer(file.fileName());
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    PainterDeviceContext dc(&writer);
    for (auto _ : state) {
        drawFrame(dc, item, settings, kPdfScale, 0, 0);
    }
}

void BM_TitleOnScreen(benchmark::State& state) {
    drawOnScreen(state, titleItem());
}
void BM_LongTextOnScreen(benchmark::State& state) {
    drawOnScreen(state, longItem());
}
void BM_TitleOnPdf600(benchmark::State& state) {
    drawOnPdf(state, titleItem());
}
void BM_LongTextOnPdf600(benchmark::State& state) {
    drawOnPdf(state, longItem());
}

BENCHMARK(BM_TitleOnScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongTextOnScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TitleOnPdf600)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongTextOnPdf600)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    belvorine::installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
