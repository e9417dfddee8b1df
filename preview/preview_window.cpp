#include "preview/preview_window.h"
#include "preview/preview_shared.h"

#include <algorithm>

#include <QPainter>

#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/page_renderer.h"
#include "form/units.h"
#include "platform/painter_device_context.h"
#include "preview/bounded_device_context.h"
#include "preview/layout_resets.h"
#include "preview/layout_undo.h"
#include "preview/zoom_dialog.h"
#include "widgets/commands.h"
#include "widgets/mode_state.h"

namespace belvorine {
namespace {

// The room around the page: the page is centred when the window is wider
// than the page and this much, and otherwise starts half of it from the
// window's edge.
constexpr int kPageRoom = 60;
const QColor kBackground(192, 192, 192);

// Room kept around the sheet and the margin box's outline, bitmap pixels.
constexpr int kSheetRoom = 8;

bool& wholePageBitmap() {
    static bool whole = false;
    return whole;
}

int originOnAxis(int page, int client) {
    return client > page + kPageRoom ? (2 * page - client) / 2 : (2 * page - page) / 2 - 30;
}

// Which frames the editor outlines and lets the user select on `page`;
// the followers of a group are reached through their leader.
bool isSelectable(int item, int page) {
    switch (item) {
        case 1:
        case 11:
        case 26:
            return true;
        case 13:
        case 27:
        case 28:
        case 29:
            return page == kDocumentAcknowledgement;
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
        case 12:
        case 14:
        case 17:
        case 20:
        case 21:
        case 22:
        case 23:
        case 24:
        case 25:
            return page != kDocumentAcknowledgement;
        default:
            return false;
    }
}

}  // namespace

LayoutSelection& editorSelection() {
    static LayoutSelection selection;
    return selection;
}

std::function<void(int)>& itemPropertiesHook() {
    static std::function<void(int)> hook;
    return hook;
}

int selectedLayoutItem() {
    const LayoutSelection& selection = editorSelection();
    return selection.marked && selection.itemId > 0 ? selection.itemId : -1;
}

void setItemPropertiesHook(std::function<void(int itemIndex)> hook) {
    itemPropertiesHook() = std::move(hook);
}

int previewZoomPercent() {
    std::int32_t& zoom = settings().initialData.zoomPercent;
    if (zoom == 0) {
        zoom = 100;
    }
    // A value an edited settings file put outside 40 to 200 is drawn at the
    // nearest limit, so that it can never ask for a bitmap larger than the
    // largest zoom's.
    return std::clamp(zoom, kMinimumZoom, kMaximumZoom);
}

void setWholePreviewBitmapForTesting(bool whole) {
    wholePageBitmap() = whole;
}

bool isSelectableOnPage(int item, int page) {
    return isSelectable(item, page);
}

PreviewWindow::PreviewWindow(QWidget* parent) : ScrolledBitmapView(parent) {
    setObjectName(QStringLiteral("Preview"));
    QPalette background = palette();
    background.setColor(QPalette::Window, kBackground);
    setPalette(background);
    // Wherever the bitmap does not reach (a window wider or taller than
    // twice the page), the light grey background shows, not the base colour.
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true);
    editorSelection() = LayoutSelection();
}

const LayoutSelection& PreviewWindow::selection() const {
    return editorSelection();
}

QPoint PreviewWindow::origin() const {
    return QPoint(originOnAxis(paper_.width(), state_.clientWidth),
                  originOnAxis(paper_.height(), state_.clientHeight));
}

int PreviewWindow::lastPage() {
    return 2 + (printerSettings(currentFormat()).makeAcknowledgement == 1 ? 1 : 0);
}

void PreviewWindow::updateExtents() {
    if (hasUnits()) {
        state_.horizontalExtent = (paper_.width() + kPageRoom) / state_.horizontalUnit;
        state_.verticalExtent = (paper_.height() + kPageRoom) / state_.verticalUnit;
        fitScrollBars();
    }
}

void PreviewWindow::clientResized() {
    updateExtents();
}

void PreviewWindow::drawOutlines(DeviceContext& dc) const {
    const int mmX = displayDpiX() * 10 / 254;
    const int mmY = displayDpiY() * 10 / 254;
    dc.setSolidPen(0, QColor(255, 0, 0));
    dc.drawRectangle(box_.adjusted(-mmX, -mmY, mmX, mmY));
    dc.setSolidPen(0, QColor(0, 0, 255));
    const FormLayout& layout = liveLayout(currentFormat());
    const int page = modeState().previewPage;
    for (int item = 1; item < kLayoutItemCount; ++item) {
        if (isSelectable(item, page)) {
            const Rect& r = layout[item].screenRect;
            const int left = r.left * zoom_ / 100 + box_.left() - 1;
            const int top = r.top * zoom_ / 100 + box_.top() - 1;
            const int right = r.right * zoom_ / 100 + box_.left();
            const int bottom = r.bottom * zoom_ / 100 + box_.top();
            dc.drawRectangle(QRect(left, top, right - left, bottom - top));
        }
    }
}

int PreviewWindow::render() {
    const int zoom = previewZoomPercent();
    PageGeometry geometry;
    if (!startRender(zoom, geometry)) {
        return 0;
    }
    const int w = geometry.paperWidth;
    const int h = geometry.paperHeight;
    paper_ = QSize(w, h);
    zoom_ = zoom;
    const int boxLeft = (geometry.marginBoxLeft + 50) / 100;
    const int boxTop = (geometry.marginBoxTop + 50) / 100;
    box_ = QRect(boxLeft, boxTop, (geometry.marginBoxRight + 50) / 100 - boxLeft,
                 (geometry.marginBoxBottom + 50) / 100 - boxTop);

    // The page bitmap is twice the paper's size, the paper in its middle
    // (at 200 % that is 40 MB). Only the part around the sheet and the
    // margin box's outline is kept: the rest is the light grey the view
    // shows beyond its bitmap anyway. A page that draws further out (frames
    // and texts outside the paper) is drawn again whole.
    const QRect whole(QPoint(0, 0), 2 * paper_);
    const int room = kSheetRoom + displayDpiX() * 10 / 254;
    const QRect sheet = QRect(w / 2, h / 2, w + 4, h + 4) | box_;
    if (wholePageBitmap() ||
        !drawPage(geometry, sheet.adjusted(-room, -room, room, room) & whole)) {
        drawPage(geometry, whole);
    }
    updateExtents();
    viewport()->update();
    emit editStateChanged();
    return 1;
}

bool PreviewWindow::drawPage(const PageGeometry& geometry, const QRect& part) {
    const int format = currentFormat();
    const PageSettings print = printerSettings(format);
    const int w = paper_.width();
    const int h = paper_.height();
    const bool layoutMode = modeState().layoutMode == 1;
    // Outside layout mode the preview draws in greys only (the paper is the
    // window's base colour, grey in every usual scheme): 8 bits per pixel
    // hold it exactly, a quarter of the memory of 32 bits. Layout mode draws
    // coloured outlines, and a coloured base needs colour too.
    const QColor paperColor = layoutMode ? QColor(Qt::white) : palette().color(QPalette::Base);
    const bool grey = !layoutMode && paperColor.red() == paperColor.green() &&
                      paperColor.green() == paperColor.blue();
    QImage& bitmap =
        newBitmap(part.size(), kBackground,
                  grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888, part.topLeft());
    QPainter painter(&bitmap);
    painter.translate(-part.topLeft());
    PainterDeviceContext surface(painter);
    BoundedDeviceContext dc(surface);
    dc.setSolidPen(0);
    // The sheet with its shadow.
    dc.drawRectangle(QRect(w / 2 + 4, h / 2 + 4, w, h), Qt::black);
    dc.drawRectangle(QRect(w / 2, h / 2, w, h), paperColor);
    if (layoutMode) {
        drawOutlines(dc);
    }
    dc.setTextColor(layoutMode ? QColor(128, 128, 128) : QColor(Qt::black));
    if (print.orderAndCopyOnOneSheet == 1 && !layoutMode) {
        // The order in the upper half of the sheet, its copy below.
        PageGeometry upper = geometry;
        upper.marginBoxBottom -= 50 * h;
        drawFormPage(dc, upper, print, zoom_, kDocumentOrder);
        PageGeometry lower = geometry;
        lower.marginBoxTop += 50 * h;
        drawFormPage(dc, lower, print, zoom_, kDocumentOrderCopy);
    } else if (layoutMode) {
        // The addressee frame as wide as the longest counterparty needs,
        // in the frame's own wording.
        char longest[256];
        fillTemplate(longest, settings().startupLayout[format][11].text,
                     longestCounterparty(format));
        drawFormPage(dc, geometry, print, zoom_, modeState().previewPage, nullptr, longest);
    } else {
        drawFormPage(dc, geometry, print, zoom_, modeState().previewPage);
    }
    return part.contains(dc.drawnBounds());
}

void PreviewWindow::command(int id) {
    switch (id) {
        case kCmdEditItem:
            openItemProperties();
            break;
        case kCmdUndo:
            undo();
            break;
        case kCmdResetToStartup:
        case kCmdResetToFactory:
            reset(id);
            break;
        case kCmdZoomDialog:
            zoomDialog();
            break;
        default:
            break;
    }
}

void PreviewWindow::zoomDialog() {
    // The render tells the main window to refresh the zoom buttons.
    if (runZoomDialog(this) == 1) {
        render();
    }
}

void PreviewWindow::reset(int id) {
    const int result = id == kCmdResetToStartup ? resetToStartup(this) : resetToFactory(this);
    if (result == kResetPrinterFailed) {
        emit resetFailed();
        return;
    }
    if (result != kResetDone) {
        return;
    }
    clearSelection();
    clearLayoutUndo();
    if (id == kCmdResetToStartup) {
        setLayoutChanged(currentFormat(), false);
    }
    // The reset settings may have no acknowledgement: a page that is gone
    // gives way to the first.
    int& page = modeState().previewPage;
    if (page > lastPage()) {
        page = 1;
        emit pageChanged();
    }
    emit positionTextCleared();
    render();
}

void PreviewWindow::previousPage() {
    if (printerSettings(currentFormat()).orderAndCopyOnOneSheet == 1) {
        return;
    }
    int& page = modeState().previewPage;
    page = std::max(page - 1, 1);
    clearSelection();
    emit pageChanged();
    render();
}

void PreviewWindow::nextPage() {
    if (printerSettings(currentFormat()).orderAndCopyOnOneSheet == 1) {
        return;
    }
    int& page = modeState().previewPage;
    page = std::min(page + 1, lastPage());
    clearSelection();
    emit pageChanged();
    render();
}

void PreviewWindow::resetEditor() {
    clearSelection();
    clearLayoutUndo();
    emit editStateChanged();
}

void PreviewWindow::clearSelection() {
    editorSelection() = LayoutSelection();
    unsetCursor();
    viewport()->unsetCursor();
    viewport()->update();
    emit editStateChanged();
}

QRect PreviewWindow::clientRect(const Rect& r) const {
    const QPoint topLeft = clientPoint(r.left, r.top);
    const QPoint bottomRight = clientPoint(r.right, r.bottom);
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

QPoint PreviewWindow::clientPoint(int pageX, int pageY) const {
    const PixelOffset offset = scrollOffsets(state_);
    const QPoint o = origin();
    return QPoint(pageX * zoom_ / 100 + box_.left() - o.x() - offset.x,
                  pageY * zoom_ / 100 + box_.top() - o.y() - offset.y);
}

QPoint PreviewWindow::pagePoint(const QPoint& client) const {
    const PixelOffset offset = scrollOffsets(state_);
    const QPoint o = origin();
    return QPoint((o.x() - box_.left() + offset.x + client.x()) * 100 / zoom_,
                  (o.y() - box_.top() + offset.y + client.y()) * 100 / zoom_);
}

std::array<QRect, 8> PreviewWindow::handleZones() const {
    std::array<QRect, 8> zones{};
    const LayoutSelection& selection = editorSelection();
    if (!selection.marked) {
        return zones;
    }
    const QRect inner = clientRect(selection.rect);
    const int left = inner.left() - 1;
    const int top = inner.top() - 1;
    const int right = inner.left() + inner.width() + 1;
    const int bottom = inner.top() + inner.height() + 1;
    const int mx = (left + right) / 2;
    const int my = (top + bottom) / 2;
    auto zone = [](int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); };
    zones = {zone(left - 6, my - 3, left, my + 3),   zone(mx - 3, top - 6, mx + 3, top),
             zone(right, my - 3, right + 6, my + 3), zone(mx - 3, bottom, mx + 3, bottom + 6),
             zone(left - 6, top - 6, left, top),     zone(left - 6, bottom, left, bottom + 6),
             zone(right, top - 6, right + 6, top),   zone(right, bottom, right + 6, bottom + 6)};
    return zones;
}

void PreviewWindow::paintEvent(QPaintEvent* event) {
    ScrolledBitmapView::paintEvent(event);
    const LayoutSelection& selection = editorSelection();
    if (modeState().layoutMode != 1 || (!selection.marked && !selection.bandShown)) {
        return;
    }
    // The marks and the band are painted over the cached page; a drag never
    // draws the page again.
    QPainter painter(viewport());
    if (selection.marked) {
        const QRect inner = clientRect(selection.rect);
        const QRect outline = inner.adjusted(-1, -1, 1, 1);
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline.adjusted(0, 0, -1, -1));
        for (const QRect& zone : handleZones()) {
            painter.fillRect(zone, Qt::black);
        }
    }
    if (selection.bandShown) {
        const QRect band = clientRect(selection.band).adjusted(-1, -1, 0, 0);
        painter.setPen(QPen(QColor(0, 0, 255), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band.adjusted(0, 0, -1, -1));
    }
}

}  // namespace belvorine
