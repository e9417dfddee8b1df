#pragma once
// Rules of the form layout that hold across its users: the frame groups that
// share one rectangle and the company profile held in items 5 to 10.

#include <string_view>

#include "records/records.h"

namespace belvorine {

// Items 1-3 (titles), 14-16 (payment terms) and 17-19 (provisos) share one
// frame; every other item is a group of its own.
struct ItemGroup {
    int first;
    int last;
};
ItemGroup groupOf(int item);

// The three-cell stamp box, the item table, the revenue stamp box and the
// rule line: frames whose text is never drawn.
bool isFrameOnlyItem(int item);

// Gives `item` and the rest of its group the rectangle `mm` (hundredths of
// a millimetre). The caller prepares the group's items afterwards.
void setGroupRect(FormLayout& layout, int item, const Rect& mm);

// Copies the rectangles (mmRect and screenRect) of `item` to the rest of its
// group, for a writer that replaced the whole item.
void copyRectsToGroup(FormLayout& layout, int item);

// Sets each item's itemId to its index, whatever a file held.
void numberItems(FormLayout& layout);

inline constexpr int kCompanyProfileFirstItem = 5;
inline constexpr int kCompanyProfileCount = 6;  // name, department, postal code, address, TEL, FAX

// The Shift-JIS text of company profile entry `index` (0 to 5, item 5 + index)
// in the live layout of `format`; empty for an index out of range.
std::string_view companyProfileText(int format, int index);

// Writes entry `index` into the live layouts of both formats, cut at a
// character boundary to 255 bytes. Returns 0 for an index out of range.
int setCompanyProfileText(int index, std::string_view textSjis);

}  // namespace belvorine
