// Layout editing in the preview window: selecting frames, moving and
// resizing them with the mouse, committing, undoing and the property hook.

#include <algorithm>

#include <QMouseEvent>

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "preview/frame_limits.h"
#include "preview/layout_undo.h"
#include "preview/preview_shared.h"
#include "preview/preview_window.h"
#include "widgets/mode_state.h"

namespace belvorine {
namespace {

// A drag that comes this close to the window's edge is committed at once.
constexpr int kEdgeStop = 8;

bool contains(const Rect& r, const QPoint& p) {
    return p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom;
}

Qt::CursorShape handleCursor(int handle) {
    switch (handle) {
        case 1:
        case 3:
            return Qt::SizeHorCursor;
        case 2:
        case 4:
            return Qt::SizeVerCursor;
        case 5:
        case 8:
            return Qt::SizeFDiagCursor;
        default:
            return Qt::SizeBDiagCursor;
    }
}

// Where a resize of `handle` takes `frame` with the pointer at `p`: the
// handle's edges follow the pointer, and the frame keeps one pixel at least.
Rect resizedBand(Rect frame, int handle, const QPoint& p) {
    if (handle == 1 || handle == 5 || handle == 6) {
        frame.left = std::min(p.x(), frame.right - 1);
    }
    if (handle == 2 || handle == 5 || handle == 7) {
        frame.top = std::min(p.y(), frame.bottom - 1);
    }
    if (handle == 3 || handle == 7 || handle == 8) {
        frame.right = std::max(p.x(), frame.left + 1);
    }
    if (handle == 4 || handle == 6 || handle == 8) {
        frame.bottom = std::max(p.y(), frame.top + 1);
    }
    return frame;
}

// Keeps at least one pixel after an edge was stopped: a frame pushed against
// the margin box shrinks, but never so far that it can no longer be hit.
void keepOnePixel(Rect& r, bool lowEdgeStopped, bool topEdgeStopped) {
    if (r.right <= r.left) {
        lowEdgeStopped ? r.right = r.left + 1 : r.left = r.right - 1;
    }
    if (r.bottom <= r.top) {
        topEdgeStopped ? r.bottom = r.top + 1 : r.top = r.bottom - 1;
    }
}

// The margin box in page pixels, exactly as layout preparation keeps frames
// inside it, so that a committed frame is never pushed back by a pixel.
QSize boxExtent() {
    long long width = 0;
    long long height = 0;
    marginBoxExtent(currentFormat(), width, height);
    return QSize(clampToInt(std::max(width, 1LL)), clampToInt(std::max(height, 1LL)));
}

}  // namespace

Rect PreviewWindow::toMillimetres(const Rect& r) const {
    const PageSettings& page = printerSettings(currentFormat());
    const int dX = displayDpiX();
    const int dY = displayDpiY();
    return Rect{toHundredthsMm(r.left, dX) + page.marginLeft.value,
                toHundredthsMm(r.top, dY) + page.marginTop.value,
                toHundredthsMm(r.right, dX) + page.marginLeft.value,
                toHundredthsMm(r.bottom, dY) + page.marginTop.value};
}

int PreviewWindow::hitTest(const QPoint& page) const {
    const FormLayout& layout = liveLayout(currentFormat());
    const int shown = modeState().previewPage;
    int hit = 0;
    for (int item = 1; item < kLayoutItemCount; ++item) {
        const int leader = groupOf(item).first;
        if (isSelectableOnPage(leader, shown) && contains(layout[item].screenRect, page)) {
            hit = leader;
        }
    }
    return hit;
}

void PreviewWindow::updateMarksArea() {
    viewport()->update();
}

void PreviewWindow::select(int item, const QPoint& page) {
    LayoutSelection& s = editorSelection();
    const int format = currentFormat();
    const LayoutItem& frame = liveLayout(format)[item];
    s.itemId = item;
    s.rect = frame.screenRect;
    s.startRect = frame.screenRect;
    const FrameLimits limits = frameLimits(format, frameMillimetres(frame.mmRect));
    const int dX = displayDpiX();
    const int dY = displayDpiY();
    s.maxRight = clampToInt(static_cast<long long>(s.startRect.left) +
                            toPixels(std::max(limits.maxWidth, 0) * 100, dX));
    s.maxBottom = clampToInt(static_cast<long long>(s.startRect.top) +
                             toPixels(std::max(limits.maxHeight, 0) * 100, dY));
    s.anchor = page;
    s.marked = true;
    s.bandShown = false;
    updateMarksArea();
    viewport()->setCursor(Qt::SizeAllCursor);
    emit positionTextChanged(frame.mmRect);
    emit editStateChanged();
}

void PreviewWindow::mousePressEvent(QMouseEvent* event) {
    if (modeState().layoutMode != 1) {
        ScrolledBitmapView::mousePressEvent(event);
        return;
    }
    LayoutSelection& s = editorSelection();
    const QPoint client = event->position().toPoint();
    const QPoint page = pagePoint(client);
    if (event->button() == Qt::RightButton) {
        const int item = hitTest(page);
        if (item > 0) {
            select(item, page);
            s.selected = false;
            s.moveArmed = false;
        }
        emit layoutMenuRequested(event->globalPosition().toPoint(), item > 0 ? 3 : 2);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (s.marked) {
        const std::array<QRect, 8> zones = handleZones();
        for (int i = 0; i < 8; ++i) {
            if (zones[static_cast<std::size_t>(i)].contains(client)) {
                s.handle = i + 1;
                s.band = s.rect;
                s.bandShown = true;
                s.marked = false;
                s.moveArmed = false;
                updateMarksArea();
                return;
            }
        }
    }
    const int item = hitTest(page);
    if (item > 0) {
        const bool wasSelected = s.selected;
        select(item, page);
        if (wasSelected) {
            s.moveArmed = true;
        } else {
            s.selected = true;
        }
        return;
    }
    s.moveArmed = false;
    s.selected = false;
    s.marked = false;
    s.itemId = 0;
    updateMarksArea();
    emit editStateChanged();
}

void PreviewWindow::dragTo(const QPoint& client, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers modifiers) {
    LayoutSelection& s = editorSelection();
    if (modeState().layoutMode != 1 || s.itemId == 0) {
        return;
    }
    const QPoint page = pagePoint(client);
    const QRect before = clientRect(s.bandShown ? s.band : s.rect);
    if (s.handle != 0) {
        s.band = resizedBand(s.rect, s.handle, page);
        s.bandShown = true;
        Rect r = s.band;
        r.left = std::max(r.left, 0);
        r.top = std::max(r.top, 0);
        // The maxima come from whole millimetres and can pass the margin
        // box by a fraction of one; the box itself is the last word.
        const QSize box = boxExtent();
        r.right = std::min({r.right, s.maxRight, box.width()});
        r.bottom = std::min({r.bottom, s.maxBottom, box.height()});
        keepOnePixel(r, true, true);
        s.rect = r;
        viewport()->setCursor(handleCursor(s.handle));
    } else if (s.moveArmed && buttons == Qt::LeftButton && modifiers == Qt::NoModifier) {
        s.moved = true;
        s.marked = false;
        Rect band = s.rect;
        const int dx = page.x() - s.anchor.x();
        const int dy = page.y() - s.anchor.y();
        band.left += dx;
        band.right += dx;
        band.top += dy;
        band.bottom += dy;
        s.band = band;
        s.bandShown = true;
        // Only the edge that leaves the margin box stops: the frame shrinks.
        const QSize box = boxExtent();
        const int boxWidth = box.width();
        const int boxHeight = box.height();
        Rect r = band;
        const bool leftStopped = r.left < 0;
        const bool topStopped = r.top < 0;
        r.left = std::max(r.left, 0);
        r.top = std::max(r.top, 0);
        r.right = std::min(r.right, boxWidth);
        r.bottom = std::min(r.bottom, boxHeight);
        keepOnePixel(r, leftStopped, topStopped);
        s.rect = r;
        s.anchor = page;
        viewport()->setCursor(Qt::SizeAllCursor);
    } else {
        // Hovering: the cursor tells what a press would do.
        const std::array<QRect, 8> zones = s.marked ? handleZones() : std::array<QRect, 8>{};
        for (int i = 0; i < 8; ++i) {
            if (zones[static_cast<std::size_t>(i)].contains(client)) {
                viewport()->setCursor(handleCursor(i + 1));
                return;
            }
        }
        if (contains(s.rect, page) && buttons != Qt::LeftButton) {
            viewport()->setCursor(Qt::SizeAllCursor);
        } else {
            viewport()->unsetCursor();
        }
        return;
    }
    viewport()->update(before.united(clientRect(s.band)).adjusted(-8, -8, 8, 8));
    emit positionTextChanged(toMillimetres(s.rect));
    const QSize size = viewport()->size();
    if (client.x() < kEdgeStop || client.y() < kEdgeStop ||
        client.x() >= size.width() - kEdgeStop || client.y() >= size.height() - kEdgeStop) {
        commit();
    }
}

void PreviewWindow::mouseMoveEvent(QMouseEvent* event) {
    if (modeState().layoutMode != 1) {
        ScrolledBitmapView::mouseMoveEvent(event);
        return;
    }
    dragTo(event->position().toPoint(), event->buttons(), event->modifiers());
}

void PreviewWindow::mouseReleaseEvent(QMouseEvent* event) {
    LayoutSelection& s = editorSelection();
    if (modeState().layoutMode != 1 || event->button() != Qt::LeftButton) {
        ScrolledBitmapView::mouseReleaseEvent(event);
        return;
    }
    if (s.itemId != 0 && (s.handle != 0 || s.moved)) {
        commit();
    }
    s.moveArmed = false;
}

void PreviewWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (modeState().layoutMode != 1) {
        ScrolledBitmapView::mouseDoubleClickEvent(event);
        return;
    }
    // Qt's own handler would deliver a second press, which could arm a move.
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint client = event->position().toPoint();
    if (editorSelection().marked) {
        for (const QRect& zone : handleZones()) {
            if (zone.contains(client)) {
                return;
            }
        }
    }
    const QPoint page = pagePoint(client);
    const int item = hitTest(page);
    if (item > 0) {
        select(item, page);
        editorSelection().selected = true;
        openItemProperties();
    }
}

void PreviewWindow::commit() {
    LayoutSelection& s = editorSelection();
    const int id = s.itemId;
    s.handle = 0;
    s.moved = false;
    s.moveArmed = false;
    s.bandShown = false;
    viewport()->unsetCursor();
    if (id <= 0 || id >= kLayoutItemCount) {
        return;
    }
    pushLayoutUndo(id);
    const int format = currentFormat();
    FormLayout& live = liveLayout(format);
    LayoutItem item = live[id];
    // Edges the drag left where they were keep their millimetres exactly:
    // pixels and hundredths of a millimetre do not convert back and forth
    // without a pixel's drift.
    const Rect mm = toMillimetres(s.rect);
    item.mmRect.left = s.rect.left == s.startRect.left ? item.mmRect.left : mm.left;
    item.mmRect.top = s.rect.top == s.startRect.top ? item.mmRect.top : mm.top;
    item.mmRect.right = s.rect.right == s.startRect.right ? item.mmRect.right : mm.right;
    item.mmRect.bottom = s.rect.bottom == s.startRect.bottom ? item.mmRect.bottom : mm.bottom;
    prepareLayoutItem(format, item);
    const int followers = groupFollowers(id);
    for (int i = 1; i <= followers; ++i) {
        live[id + i].screenRect = item.screenRect;
        live[id + i].mmRect = item.mmRect;
    }
    if (item.sizeRule == kSizeFitWidth) {
        // A group keeps one size: the largest that fits all three texts.
        int size = fitPointSize(item);
        for (int i = 1; i <= followers; ++i) {
            size = std::min(size, fitPointSize(live[id + i]));
        }
        item.pointSize = size;
    }
    for (int i = 1; i <= followers; ++i) {
        live[id + i].pointSize = item.pointSize;
    }
    live[id] = item;

    const QPoint anchor = s.anchor;
    const bool selected = s.selected;
    select(id, anchor);
    s.selected = selected;
    render();
}

void PreviewWindow::undo() {
    int restored = 0;
    if (!undoLayoutEdit(&restored)) {
        return;
    }
    LayoutSelection& s = editorSelection();
    const bool hadSelection = s.itemId > 0;
    s.marked = false;
    s.bandShown = false;
    s.handle = 0;
    s.moved = false;
    s.moveArmed = false;
    render();
    if (restored > 0) {
        const LayoutItem& item = liveLayout(currentFormat())[restored];
        if (hadSelection && isSelectableOnPage(restored, modeState().previewPage)) {
            const bool selected = s.selected;
            select(restored, s.anchor);
            s.selected = selected;
        }
        emit positionTextChanged(item.mmRect);
    }
    emit editStateChanged();
}

void PreviewWindow::openItemProperties() {
    const int item = selectedLayoutItem();
    const std::function<void(int)>& hook = itemPropertiesHook();
    if (item < 0 || !hook) {
        return;
    }
    const FormLayout& live = liveLayout(currentFormat());
    emit positionTextChanged(live[item].mmRect);
    hook(item);
    // The dialog may have moved the frame or changed the layout altogether.
    LayoutSelection& s = editorSelection();
    if (s.itemId == item) {
        const bool selected = s.selected;
        select(item, s.anchor);
        s.selected = selected;
    }
    render();
    emit positionTextChanged(live[item].mmRect);
    emit editStateChanged();
}

}  // namespace belvorine
