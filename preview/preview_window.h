#pragma once
// The preview window: one printed page of the current order as the printer
// will print it, on the printer's real paper, at the zoom of the settings,
// with page navigation. Layout-change mode shows the same page for editing.

#include "form/form_view_scroll_area.h"

namespace belvorine {

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

    // The layout commands that the main window passes on (40022 to 40026).
    void command(int id);

    // The last page of the current format: 2, or 3 with the acknowledgement.
    static int lastPage();

    // The paper's size in preview pixels at the last render.
    QSize paperSize() const { return paper_; }

signals:
    // The page buttons' states changed (after navigation).
    void pageChanged();
    // A reset could not check the printer; ERROR No.0011 has been shown and
    // the program must end.
    void resetFailed();

protected:
    QPoint origin() const override;
    void clientResized() override;

private:
    void updateExtents();

    QSize paper_;
};

}  // namespace belvorine
