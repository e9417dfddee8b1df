#pragma once
// A view that keeps its page in an off-screen bitmap and only copies it when
// painting or scrolling: the base of the form view and the preview window.

#include <QAbstractScrollArea>
#include <QImage>

#include "form/page_geometry.h"
#include "form/scroll_state.h"

namespace belvorine {

class ScrolledBitmapView : public QAbstractScrollArea, protected ScrollSurface {
    Q_OBJECT
public:
    explicit ScrolledBitmapView(QWidget* parent = nullptr);

    ScrollState& scrollState() { return state_; }
    // The page as drawn, or the part of it kept.
    const QImage& bitmap() const { return bitmap_; }

    // Keys and wheel turns, also those that the main window passes on.
    void scrollKey(int key);
    void scrollWheel(int delta);

signals:
    void contextMenuRequested(const QPoint& globalPosition);
    // The current format's printer has no resolution: nothing can be drawn.
    void renderFailed();

protected:
    // The start of every render: the scroll units from the view's font and
    // the current format's printer page on a bitmap at `zoom` percent of
    // screen size. Returns 0 (and emits renderFailed) when the printer has
    // no resolution.
    int startRender(int zoom, PageGeometry& geometry);
    // An image of `size` page pixels to render into, at the display's
    // resolution and with the screen's device pixel ratio, so that a
    // high-resolution screen shows the page at its own resolution rather
    // than enlarged. Page pixels stay the unit of every drawing call.
    QImage newPageImage(QSize size, QImage::Format format) const;
    // The bitmap (newPageImage) to render into: `size` page pixels filled
    // with `color` (the last one, cleared, when it is of that size and
    // format). `format` is the cheapest that holds every colour the view
    // draws: a page of twice the paper's size is megabytes. `at`: where it
    // lies in the page, for a view that keeps only part of its page (the
    // view's background shows around it).
    QImage& newBitmap(QSize size, const QColor& color, QImage::Format format, QPoint at = QPoint());
    // A small 32-bit piece of the page drawn over the bitmap at `at` (page
    // pixels), for colour on a page kept in grey; a null image for none.
    void setColourPatch(QImage patch, QPoint at);
    // The bitmap point shown at the client's top-left corner when both
    // scroll positions are 0.
    virtual QPoint origin() const = 0;
    // After the client size changed and before it is painted.
    virtual void clientResized();
    // Sets the scroll ranges for the extents in state_ and the client that
    // the view has with just the scroll bars those ranges need, so the
    // result never depends on which bars happened to be shown before.
    void fitScrollBars();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

    void setScrollBars(const ScrollState& state) override;
    void scrollContents(int dx, int dy) override;

    // The units of a scroll step: the average character width and the
    // character height of the view's font.
    void takeUnitsFromFont();
    bool hasUnits() const { return state_.horizontalUnit != 0 && state_.verticalUnit != 0; }

    ScrollState state_;

private:
    void onScrollBarAction(Qt::Orientation orientation, int action);

    QImage bitmap_;
    QPoint bitmapAt_;
    QImage patch_;
    QPoint patchAt_;
};

}  // namespace belvorine
