#pragma once
// What the preview window's source files share among themselves.

#include <functional>

#include "preview/preview_window.h"

namespace belvorine {

// The one layout editor state of the process.
LayoutSelection& editorSelection();
std::function<void(int)>& itemPropertiesHook();
// The stored zoom, 0 taken (and stored) as 100, drawn within 40 to 200.
int previewZoomPercent();
// Whether `item` is outlined and selectable with document `page` shown.
bool isSelectableOnPage(int item, int page);

}  // namespace belvorine
