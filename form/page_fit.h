#pragma once
// Whether a format's layout fits the page its printer settings give: the
// frames drawn away from their own place because they lie outside the
// margin box, and whether the order and its copy fit the two halves of one
// sheet. The print setup and the print confirmation tell the user before
// anything is printed.

#include "form/page_geometry.h"
#include "records/records.h"

namespace belvorine {

// Whether item `index` of `layout` is drawn at all: a frame with a text, or
// one of the boxes (stamp box, item table, revenue stamp, rule).
bool isDrawnFrame(const FormLayout& layout, int index);

// Whether item `index` is drawn on the order and its copy (the others only
// on the acknowledgement).
bool isOnOrderPage(int index);

// The frames of `layout` that are drawn (a text, or one of the boxes) and
// lie, wholly or partly, outside the margin box of `page` on `geometry`:
// they are drawn moved or cut into it.
int framesDrawnAway(const FormLayout& layout, const PageSettings& page,
                    const PageGeometry& geometry);

// The height the order page takes from its margin box's top (its lowest
// frame, the table, and the approval number under the copy's table), and the
// height of the margin box of half the sheet, both in 1/100 mm.
struct HalfSheetFit {
    int needed = 0;
    int available = 0;
    bool fits() const { return needed <= available; }
};
HalfSheetFit halfSheetFit(const FormLayout& layout, const PageSettings& page,
                          const PageGeometry& geometry);

}  // namespace belvorine
