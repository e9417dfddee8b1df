// Layout editing in the preview window: selecting frames, moving and
// resizing them with the mouse, committing, undoing and the property hook.

#include <algorithm>

#include <QKeyEvent>
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

Qt::CursorShape handleCursor(Handle handle) {
    switch (handle) {
        case Handle::Left:
        case Handle::Right:
            return Qt::SizeHorCursor;
        case Handle::Top:
        case Handle::Bottom:
            return Qt::SizeVerCursor;
        case Handle::TopLeft:
        case Handle::BottomRight:
            return Qt::SizeFDiagCursor;
        default:
            return Qt::SizeBDiagCursor;
    }
}

bool movesLeftEdge(Handle h) {
    return h == Handle::Left || h == Handle::TopLeft || h == Handle::BottomLeft;
}
bool movesTopEdge(Handle h) {
    return h == Handle::Top || h == Handle::TopLeft || h == Handle::TopRight;
}
bool movesRightEdge(Handle h) {
    return h == Handle::Right || h == Handle::TopRight || h == Handle::BottomRight;
}
bool movesBottomEdge(Handle h) {
    return h == Handle::Bottom || h == Handle::BottomLeft || h == Handle::BottomRight;
}

// The margin box in page pixels, exactly as layout preparation keeps frames
// inside it, so that a committed frame is never pushed back by a pixel.
QSize boxExtent() {
    long long width = 0;
    long long height = 0;
    marginBoxExtent(currentFormat(), width, height);
    return QSize(clampToInt(std::max(width, 1LL)), clampToInt(std::max(height, 1LL)));
}

// Where a resize of `handle` takes `frame` with the pointer at `p`: the
// handle's edges follow the pointer, but stay inside the margin box and
// keep the frame at least `minimum` large.
Rect resizedFrame(Rect frame, Handle handle, const QPoint& p, const QSize& minimum) {
    const QSize box = boxExtent();
    if (movesLeftEdge(handle)) {
        frame.left = std::clamp(p.x(), 0, std::max(frame.right - minimum.width(), 0));
    }
    if (movesTopEdge(handle)) {
        frame.top = std::clamp(p.y(), 0, std::max(frame.bottom - minimum.height(), 0));
    }
    if (movesRightEdge(handle)) {
        frame.right =
            std::clamp(p.x(), std::min(frame.left + minimum.width(), box.width()), box.width());
    }
    if (movesBottomEdge(handle)) {
        frame.bottom =
            std::clamp(p.y(), std::min(frame.top + minimum.height(), box.height()), box.height());
    }
    return frame;
}

// One axis of a move: the frame keeps its size and stops at the box's edge.
void keepInside(std::int32_t& low, std::int32_t& high, int box) {
    const int size = high - low;
    const int shift = low < 0 ? -low : high > box ? std::max(box - high, -low) : 0;
    low += shift;
    high = low + size;
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
    // A resize stops where the frame would no longer show its text; a frame
    // already smaller keeps its size.
    const FrameLimits limits = frameLimits(format, frame);
    s.minWidth = std::clamp(toPixels(limits.minWidth, displayDpiX()), 1,
                            std::max(frame.screenRect.width(), 1));
    s.minHeight = std::clamp(toPixels(limits.minHeight, displayDpiY()), 1,
                             std::max(frame.screenRect.height(), 1));
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
                s.handle = static_cast<Handle>(i + 1);
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
    if (s.handle != Handle::None) {
        s.rect = resizedFrame(s.rect, s.handle, page, QSize(s.minWidth, s.minHeight));
        s.band = s.rect;
        s.bandShown = true;
        viewport()->setCursor(handleCursor(s.handle));
    } else if (s.moveArmed && buttons == Qt::LeftButton && modifiers == Qt::NoModifier) {
        s.moved = true;
        s.marked = false;
        const int dx = page.x() - s.anchor.x();
        const int dy = page.y() - s.anchor.y();
        Rect r = s.rect;
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
        // The frame keeps its size: it stops at the margin box's edge.
        const QSize box = boxExtent();
        keepInside(r.left, r.right, box.width());
        keepInside(r.top, r.bottom, box.height());
        s.rect = r;
        s.band = r;
        s.bandShown = true;
        s.anchor = page;
        viewport()->setCursor(Qt::SizeAllCursor);
    } else {
        // Hovering: the cursor tells what a press would do.
        const std::array<QRect, 8> zones = s.marked ? handleZones() : std::array<QRect, 8>{};
        for (int i = 0; i < 8; ++i) {
            if (zones[static_cast<std::size_t>(i)].contains(client)) {
                viewport()->setCursor(handleCursor(static_cast<Handle>(i + 1)));
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
    if (s.itemId != 0 && (s.handle != Handle::None || s.moved)) {
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
    s.handle = Handle::None;
    s.moved = false;
    s.moveArmed = false;
    s.bandShown = false;
    viewport()->unsetCursor();
    if (id <= 0 || id >= kLayoutItemCount) {
        return;
    }
    if (s.rect == s.startRect) {
        // A click on a handle, or a drag that came back: nothing changed,
        // and nothing is there to undo.
        s.marked = true;
        updateMarksArea();
        return;
    }
    pushLayoutUndo(id);
    const int format = currentFormat();
    FormLayout& live = liveLayout(format);
    Rect& mmRect = live[id].mmRect;
    // Edges the drag left where they were keep their millimetres exactly:
    // pixels and hundredths of a millimetre do not convert back and forth
    // without a pixel's drift.
    const Rect mm = toMillimetres(s.rect);
    mmRect.left = s.rect.left == s.startRect.left ? mmRect.left : mm.left;
    mmRect.top = s.rect.top == s.startRect.top ? mmRect.top : mm.top;
    mmRect.right = s.rect.right == s.startRect.right ? mmRect.right : mm.right;
    mmRect.bottom = s.rect.bottom == s.startRect.bottom ? mmRect.bottom : mm.bottom;
    prepareEditedFrame(format, live, id);

    const QPoint anchor = s.anchor;
    const bool selected = s.selected;
    select(id, anchor);
    s.selected = selected;
    render();
}

bool PreviewWindow::cancelDrag() {
    LayoutSelection& s = editorSelection();
    if (s.itemId == 0 || (s.handle == Handle::None && !s.moved)) {
        return false;
    }
    const QRect before = clientRect(s.band);
    s.handle = Handle::None;
    s.moved = false;
    s.moveArmed = false;
    s.bandShown = false;
    s.rect = s.startRect;
    s.marked = true;
    viewport()->unsetCursor();
    viewport()->update(before.united(clientRect(s.rect)).adjusted(-8, -8, 8, 8));
    emit positionTextChanged(liveLayout(currentFormat())[s.itemId].mmRect);
    return true;
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && cancelDrag()) {
        return;
    }
    ScrolledBitmapView::keyPressEvent(event);
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
    s.handle = Handle::None;
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
    // Whatever the dialog's answer, the frame now counts as selected: the
    // next press on it arms a move.
    LayoutSelection& s = editorSelection();
    if (s.itemId == item) {
        select(item, s.anchor);
        s.selected = true;
    }
    render();
    emit positionTextChanged(live[item].mmRect);
    emit editStateChanged();
}

}  // namespace belvorine
