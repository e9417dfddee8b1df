#include "form/form_view_scroll_area.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QtMath>

#include "data/settings_state.h"
#include "form/units.h"

namespace belvorine {
namespace {

ScrollRequest requestOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return ScrollRequest::LineBack;
        case QAbstractSlider::SliderSingleStepAdd:
            return ScrollRequest::LineForward;
        case QAbstractSlider::SliderPageStepSub:
            return ScrollRequest::PageBack;
        case QAbstractSlider::SliderPageStepAdd:
            return ScrollRequest::PageForward;
        case QAbstractSlider::SliderMove:
            return ScrollRequest::ThumbTrack;
        default:
            return ScrollRequest::Other;
    }
}

}  // namespace

ScrolledBitmapView::ScrolledBitmapView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollBarAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollBarAction(Qt::Vertical, action); });
}

QImage ScrolledBitmapView::newPageImage(QSize size, QImage::Format format) const {
    size = size.expandedTo(QSize(1, 1));
    const qreal ratio = viewport()->devicePixelRatioF();
    QImage image(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)), format);
    if (image.isNull() && ratio != 1.0) {
        // Too large for the memory at the screen's ratio: one pixel per
        // pixel still shows the page, if less sharply.
        image = QImage(size, format);
    } else {
        image.setDevicePixelRatio(ratio);
    }
    image.setDotsPerMeterX(qRound(displayDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(displayDpiY() / 0.0254));
    return image;
}

QImage& ScrolledBitmapView::newBitmap(QSize size, const QColor& color, QImage::Format format,
                                      QPoint at) {
    patch_ = QImage();
    bitmapAt_ = at;
    size = size.expandedTo(QSize(1, 1));
    const qreal ratio = viewport()->devicePixelRatioF();
    // A bitmap of the same kind is drawn over: a new one of megabytes costs
    // more to map and clear than the drawing itself.
    const bool same = bitmap_.format() == format && bitmap_.devicePixelRatio() == ratio &&
                      bitmap_.size() == QSize(qCeil(size.width() * ratio),
                                              qCeil(size.height() * ratio)) &&
                      bitmap_.isDetached();
    if (!same) {
        bitmap_ = QImage();  // the old page goes before the new one is made
        bitmap_ = newPageImage(size, format);
    }
    bitmap_.fill(color);
    return bitmap_;
}

void ScrolledBitmapView::setColourPatch(QImage patch, QPoint at) {
    patch_ = std::move(patch);
    patchAt_ = at;
}

int ScrolledBitmapView::startRender(int zoom, PageGeometry& geometry) {
    takeUnitsFromFont();
    const PageGeometry& printer = printerGeometry(currentFormat());
    if (printer.resolutionX == 0 || printer.resolutionY == 0) {
        emit renderFailed();
        return 0;
    }
    const int dpiX = displayDpiX();
    const int dpiY = displayDpiY();
    geometry = bitmapGeometry(printer, std::int64_t{zoom} * dpiX * 50 / printer.resolutionX,
                              std::int64_t{zoom} * dpiY * 50 / printer.resolutionY, dpiX, dpiY);
    return 1;
}

void ScrolledBitmapView::takeUnitsFromFont() {
    const QFontMetrics metrics(font());
    state_.verticalUnit = metrics.height();
    state_.horizontalUnit = metrics.averageCharWidth();
}

void ScrolledBitmapView::scrollKey(int key) {
    scrollByKey(*this, key, state_);
}

void ScrolledBitmapView::scrollWheel(int delta) {
    scrollByWheel(*this, delta, QApplication::wheelScrollLines(), state_);
}

void ScrolledBitmapView::clientResized() {
    fitScrollBars();
}

void ScrolledBitmapView::fitScrollBars() {
    if (!hasUnits()) {
        return;
    }
    const QSize full = maximumViewportSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const auto needsBar = [](int extent, int client, int unit) {
        return extent - client / unit + 1 > 0;
    };
    int width = full.width();
    int height = full.height();
    bool horizontal = false;
    bool vertical = false;
    // A bar taken by one direction can make the other one need its bar too.
    for (int pass = 0; pass < 2; ++pass) {
        horizontal = needsBar(state_.horizontalExtent, width, state_.horizontalUnit);
        vertical = needsBar(state_.verticalExtent, height, state_.verticalUnit);
        width = full.width() - (vertical ? bar : 0);
        height = full.height() - (horizontal ? bar : 0);
    }
    state_.clientWidth = std::max(width, 0);
    state_.clientHeight = std::max(height, 0);
    setupScroll(*this, state_);
}

void ScrolledBitmapView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const PixelOffset offset = scrollOffsets(state_);
    const QPoint corner = -(origin() + QPoint(offset.x, offset.y));
    painter.drawImage(corner + bitmapAt_, bitmap_);
    if (!patch_.isNull()) {
        painter.drawImage(corner + patchAt_, patch_);
    }
}

void ScrolledBitmapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    state_.clientWidth = viewport()->width();
    state_.clientHeight = viewport()->height();
    clientResized();
    viewport()->update();
}

void ScrolledBitmapView::keyPressEvent(QKeyEvent* event) {
    scrollKey(event->key());
}

void ScrolledBitmapView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) {
        scrollWheel(delta);
    }
    event->accept();
}

void ScrolledBitmapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void ScrolledBitmapView::scrollContentsBy(int, int) {
    // The scroll routines move the contents themselves.
}

void ScrolledBitmapView::setScrollBars(const ScrollState& state) {
    QScrollBar* bars[] = {horizontalScrollBar(), verticalScrollBar()};
    const int limits[] = {state.horizontalLimit, state.verticalLimit};
    const int pages[] = {state.horizontalPage, state.verticalPage};
    const int positions[] = {state.horizontalPosition, state.verticalPosition};
    for (int i = 0; i < 2; ++i) {
        const QSignalBlocker blocker(bars[i]);
        bars[i]->setRange(0, limits[i]);
        bars[i]->setPageStep(std::max(pages[i], 1));
        bars[i]->setValue(positions[i]);
    }
}

void ScrolledBitmapView::scrollContents(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

void ScrolledBitmapView::onScrollBarAction(Qt::Orientation orientation, int action) {
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    const ScrollRequest request = requestOf(action);
    if (orientation == Qt::Horizontal) {
        scrollHorizontal(*this, request, bar->sliderPosition(), state_);
        bar->setSliderPosition(state_.horizontalPosition);
    } else {
        scrollVertical(*this, request, bar->sliderPosition(), state_);
        bar->setSliderPosition(state_.verticalPosition);
    }
}

}  // namespace belvorine
