#pragma once
// What the form view must show: its page drawn again in 32 bits at the
// view's device pixel ratio, compared pixel by pixel with the viewport.

#include <QImage>

#include "data/settings_state.h"
#include "form/form_view.h"
#include "form/page_geometry.h"
#include "form/page_renderer.h"
#include "platform/painter_device_context.h"
#include "platform/screen_metrics.h"

namespace belvorine::test {

struct ShownPage {
    int differingPixels = 0;  // viewport pixels that are not the 32-bit page's
    int redPixels = 0;        // the format name's
    qsizetype pageBytes = 0;  // the size of the whole 32-bit page
};

inline ShownPage compareShownPage(FormView& view) {
    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = view.viewport()->devicePixelRatioF();

    const ScreenMetrics& screen = screenMetrics();
    const PageGeometry& printer = printerGeometry(currentFormat());
    const PageGeometry geometry = bitmapGeometry(
        printer, std::int64_t{100} * screen.dpiX * 50 / printer.resolutionX,
        std::int64_t{100} * screen.dpiY * 50 / printer.resolutionY, screen.dpiX, screen.dpiY);
    QImage page(2 * view.paperSize() * ratio, QImage::Format_RGB32);
    page.setDevicePixelRatio(ratio);
    page.setDotsPerMeterX(view.bitmap().dotsPerMeterX());
    page.setDotsPerMeterY(view.bitmap().dotsPerMeterY());
    page.fill(view.palette().color(QPalette::Base));
    {
        PainterDeviceContext dc(&page);
        FormViewPass pass{8, 16, 0, 0, {}};
        drawFormPage(dc, geometry, displaySettings(currentFormat()), 100, kDocumentOrder, &pass);
    }
    const QPoint corner(view.paperSize().width() / 2, view.paperSize().height() / 2);
    const QImage expected = page.copy(QRect(corner * ratio, shown.size()));

    ShownPage result;
    result.pageBytes = page.sizeInBytes();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            result.differingPixels += shown.pixel(x, y) != expected.pixel(x, y);
            result.redPixels += qRed(shown.pixel(x, y)) > 200 && qGreen(shown.pixel(x, y)) < 60;
        }
    }
    return result;
}

}  // namespace belvorine::test
