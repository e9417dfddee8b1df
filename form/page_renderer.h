#pragma once
// The one page painter of the program: the form view, the preview and the
// printer all draw an order, order copy or acknowledgement through it.

#include "records/records.h"
#include "form/page_geometry.h"
#include "platform/device_context.h"

namespace belvorine {

enum DocumentKind : int { kDocumentOrder = 1, kDocumentOrderCopy = 2, kDocumentAcknowledgement = 3 };

// The approval number on the order copy ends this many screen pixels below
// the item table.
inline constexpr int kApprovalLineBelowTable = 42;

// What the form view adds to its own rendering: the format name in red and
// the scroll extents of its page, which depend on the table's height.
struct FormViewPass {
    int horizontalUnit = 0;  // pixels per scroll step (input)
    int verticalUnit = 0;
    int horizontalExtent = 0;  // scrollable size in steps (output)
    int verticalExtent = 0;
    QRect formatNameRect;  // where the red format name was drawn (output)
};

// Draws document `kind` (1 to 3) of the current order with the current
// format's live layout. `geometry` places the margin box on the device,
// `settings` supplies the font and options, `scale` is device pixels per
// 100 screen pixels. The form view passes `formView`; everyone else nullptr.
// `addresseeText` (Shift-JIS), when given, is drawn in the addressee frame
// of the order and its copy instead of the order's counterparty; the layout
// editor shows the longest counterparty so, without touching the layout.
void drawFormPage(DeviceContext& dc, const PageGeometry& geometry, const PageSettings& settings,
                  int scale, int kind, FormViewPass* formView = nullptr,
                  const char* addresseeText = nullptr);

// Fills a template's first "%s" with `value`; every other "%" sequence
// stays as it is, so a user's template never reads a missing argument.
// The result is cut at a character boundary to fit a frame's text.
void fillTemplate(char (&out)[256], const char* templateText, const char* value);

// " %4s年 %02s月 %02s日" of the order's date: the year right-aligned in four
// characters with spaces, month and day in two padded with "0".
void formatOrderDate(char (&out)[256], const char* year, const char* month, const char* day);

}  // namespace belvorine
