#pragma once
// The form view: the current order printed as an order at screen size, on a
// page of the current format's paper. It is rendered after every change of
// the order, the format or the settings, never while painting or scrolling.

#include "form/form_view_scroll_area.h"

namespace belvorine {

class FormView : public ScrolledBitmapView {
    Q_OBJECT
public:
    explicit FormView(QWidget* parent = nullptr);

    // Draws the page again. Returns 0 (and emits renderFailed) when the
    // current format's printer has no resolution.
    int render();

    // The paper's size in display pixels at the last render.
    QSize paperSize() const { return paper_; }

protected:
    QPoint origin() const override;

private:
    QSize paper_;
};

}  // namespace belvorine
