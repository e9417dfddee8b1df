#pragma once
// The preview window: one printed page of the current order as the printer
// will print it, on the printer's real paper, at the zoom of the settings,
// with page navigation. In layout-change mode the same page is the editor
// of the current format's layout: frames are selected, moved and resized
// with the mouse.

#include <array>
#include <functional>

#include "form/form_view_scroll_area.h"
#include "records/records.h"

namespace belvorine {

class DeviceContext;

// Every render keeps the whole page bitmap, as a page that draws outside
// its paper does (tests compare the two).
void setWholePreviewBitmapForTesting(bool whole);

// The frame selected in the layout editor (its item index), -1 for none.
int selectedLayoutItem();

// What a double click on a frame and the command 40022 open: the item
// property dialog for the given item index. An empty hook does nothing.
void setItemPropertiesHook(std::function<void(int itemIndex)> hook);

// The eight resize handles of the selection marks, numbered as the marks
// are drawn; the number is the handle zone's index plus one.
enum class Handle : int {
    None = 0,
    Left = 1,
    Top = 2,
    Right = 3,
    Bottom = 4,
    TopLeft = 5,
    BottomLeft = 6,
    TopRight = 7,
    BottomRight = 8,
};

// The layout editor's state. Rectangles are page pixels: display pixels at
// 100 % from the margin box's top-left corner, the unit of a screenRect.
struct LayoutSelection {
    int itemId = 0;                // the selected frame, 0 = none
    bool selected = false;         // a press has selected it: the next press arms a move
    Rect rect;                     // where the frame is being dragged to
    bool marked = false;           // the dotted outline and handles are shown at `rect`
    Handle handle = Handle::None;  // the handle being dragged
    bool moveArmed = false;
    bool moved = false;
    bool bandShown = false;
    Rect band;         // the rubber band as last drawn
    QPoint anchor;     // page point of the last pointer position of a move
    Rect startRect;    // the frame's screenRect when it was selected
    int minWidth = 1;  // how small a resize may make it, page pixels
    int minHeight = 1;
};

class PreviewWindow : public ScrolledBitmapView {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent = nullptr);

    // Draws the page `previewPage` again. Returns 0 (and emits
    // renderFailed) when the current format's printer has no resolution.
    int render();

    // Page navigation (the commands 40017 and 40018); both do nothing when
    // the order and its copy share one sheet.
    void previousPage();
    void nextPage();

    // The commands that the main window passes on (40022 to 40026).
    void command(int id);

    // The last page of the current format: 2, or 3 with the acknowledgement.
    static int lastPage();

    // The paper's size in preview pixels at the last render.
    QSize paperSize() const { return paper_; }

    // Entering or leaving layout mode and switching the format: no frame
    // selected, no drag, an empty undo history.
    void resetEditor();
    // No frame selected and no drag in progress.
    void clearSelection();

    const LayoutSelection& selection() const;
    // Client rectangles of the selection marks' eight handles (empty when no
    // marks are shown), in the order 1 left, 2 top, 3 right, 4 bottom,
    // 5 top-left, 6 bottom-left, 7 top-right, 8 bottom-right.
    std::array<QRect, 8> handleZones() const;
    // A page rectangle in client pixels (Win32 style: right and bottom
    // exclusive) and a client point on the page.
    QPoint clientPoint(int pageX, int pageY) const;
    QPoint pagePoint(const QPoint& client) const;

    // One mouse-move step, as the mouse move event runs it (benchmarks drive
    // it directly): hover, a resize step or a move step.
    void dragTo(const QPoint& client, Qt::MouseButtons buttons,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Esc: a move or resize in progress ends with the frame where it was and
    // nothing committed. Returns false when no drag was in progress.
    bool cancelDrag();

signals:
    // The page buttons' states changed (after navigation).
    void pageChanged();
    // A reset could not check the printer; ERROR No.0011 has been shown and
    // the program must end.
    void resetFailed();
    // The selection, the undo history or the changed flag moved: commands
    // 40022 to 40024 are to be enabled anew.
    void editStateChanged();
    // Status bar part 1.
    void positionTextChanged(const Rect& mmRect);
    void positionTextCleared();
    // A right press in layout mode: menu 2 (elsewhere) or 3 (on a frame).
    void layoutMenuRequested(const QPoint& globalPosition, int menu);

protected:
    QPoint origin() const override;
    void clientResized() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateExtents();
    // Draws the page bitmap's part `part` (bitmap pixels); false when the
    // page drew outside it.
    bool drawPage(const PageGeometry& geometry, const QRect& part);
    void drawOutlines(DeviceContext& dc) const;

    // Layout editing.
    int hitTest(const QPoint& page) const;
    void select(int item, const QPoint& page);
    void showMarks(bool shown);
    void commit();
    void undo();
    void reset(int id);
    void openItemProperties();
    void zoomDialog();
    Rect toMillimetres(const Rect& pageRect) const;
    QRect clientRect(const Rect& pageRect) const;
    void updateMarksArea();

    QSize paper_;
    int zoom_ = 100;
    // The margin box in bitmap pixels at the last render.
    QRect box_;
};

}  // namespace belvorine
