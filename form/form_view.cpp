#include "form/form_view.h"

#include <QPainter>

#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/page_renderer.h"
#include "platform/painter_device_context.h"

namespace belvorine {

FormView::FormView(QWidget* parent) : ScrolledBitmapView(parent) {
    setObjectName(QStringLiteral("FormView"));
}

QPoint FormView::origin() const {
    // The paper's corner at the window's corner when nothing is scrolled.
    return QPoint(paper_.width() / 2, paper_.height() / 2);
}

int FormView::render() {
    PageGeometry geometry;
    if (!startRender(100, geometry)) {
        return 0;
    }
    const int format = currentFormat();
    paper_ = QSize(geometry.paperWidth, geometry.paperHeight);
    // The page is black on the window colour but for the red format name:
    // it is kept in 8-bit grey (a quarter of 32 bits) and the name's
    // rectangle, drawn again in colour, goes over it when painted, so every
    // pixel on screen is the one a 32-bit page would show. A coloured window
    // colour keeps the page in colour.
    const QColor base = palette().color(QPalette::Base);
    const bool grey = base.red() == base.green() && base.green() == base.blue();
    QImage& bitmap =
        newBitmap(2 * paper_, base, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);

    // The screen follows the print settings' name and options.
    PageSettings& display = displaySettings(format);
    const PageSettings& print = printerSettings(format);
    std::copy(std::begin(print.formatName), std::end(print.formatName),
              std::begin(display.formatName));
    display.makeAcknowledgement = print.makeAcknowledgement;
    display.showTotal = print.showTotal;

    FormViewPass pass{state_.horizontalUnit, state_.verticalUnit, 0, 0, {}};
    {
        PainterDeviceContext dc(&bitmap);
        drawFormPage(dc, geometry, display, 100, kDocumentOrder, &pass);
    }
    const QRect name = pass.formatNameRect.intersected(QRect(QPoint(0, 0), 2 * paper_));
    if (grey && !name.isEmpty()) {
        QImage patch = newPageImage(name.size(), QImage::Format_RGB32);
        patch.fill(base);
        QPainter painter(&patch);
        painter.translate(-name.topLeft());
        PainterDeviceContext dc(painter);
        FormViewPass again = pass;
        drawFormPage(dc, geometry, display, 100, kDocumentOrder, &again);
        painter.end();
        setColourPatch(std::move(patch), name.topLeft());
    }
    state_.horizontalExtent = pass.horizontalExtent;
    state_.verticalExtent = pass.verticalExtent;
    fitScrollBars();
    viewport()->update();
    return 1;
}

}  // namespace belvorine
