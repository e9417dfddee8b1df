#pragma once
// What the user is told, before anything is printed, when a format's layout
// does not fit the page its printer settings give.

#include <QString>

#include "form/page_geometry.h"
#include "records/records.h"

namespace belvorine {

// The frames of `layout` drawn moved or cut into the margin box of `page`
// on `geometry`; empty when every frame lies inside it.
QString framesMovedNotice(const FormLayout& layout, const PageSettings& page,
                          const PageGeometry& geometry);

// The order and its copy on one sheet when the order page does not fit half
// of it (the copy would be drawn over the order's lower part and cut at the
// sheet's edge); empty when they fit or `page` prints them on sheets of
// their own.
QString halfSheetNotice(const FormLayout& layout, const PageSettings& page,
                        const PageGeometry& geometry);

}  // namespace belvorine
