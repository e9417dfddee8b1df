#include "form/form_view.h"

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
    // 24 bits: the format name is red, so grey would not do; the page looks
    // the same as at 32 bits for three quarters of the memory.
    QImage& bitmap = newBitmap(2 * paper_, palette().color(QPalette::Base), QImage::Format_RGB888);

    // The screen follows the print settings' name and options.
    PageSettings& display = displaySettings(format);
    const PageSettings& print = printerSettings(format);
    std::copy(std::begin(print.formatName), std::end(print.formatName),
              std::begin(display.formatName));
    display.makeAcknowledgement = print.makeAcknowledgement;
    display.showTotal = print.showTotal;

    FormViewPass pass{state_.horizontalUnit, state_.verticalUnit, 0, 0};
    {
        PainterDeviceContext dc(&bitmap);
        drawFormPage(dc, geometry, display, 100, kDocumentOrder, &pass);
    }
    state_.horizontalExtent = pass.horizontalExtent;
    state_.verticalExtent = pass.verticalExtent;
    if (hasUnits()) {
        setupScroll(*this, state_);
    }
    viewport()->update();
    return 1;
}

}  // namespace belvorine
