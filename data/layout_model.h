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

// Layout items by role (items 1 to 3 are the titles of document kinds 1 to 3).
inline constexpr int kItemDate = 4;
inline constexpr int kItemCompanyFirst = 5;
inline constexpr int kItemCompanyLast = 10;
inline constexpr int kItemAddressee = 11;
inline constexpr int kItemOrderOpening = 12;
inline constexpr int kItemAcknowledgementOpening = 13;
inline constexpr int kItemPaymentNote = 14;
inline constexpr int kItemPaymentLease = 15;
inline constexpr int kItemPaymentCash = 16;
inline constexpr int kItemProvisoNote = 17;
inline constexpr int kItemProvisoLease = 18;
inline constexpr int kItemProvisoCash = 19;
inline constexpr int kItemInspection = 20;
inline constexpr int kItemTaxNoteLast = 24;
inline constexpr int kItemStampBox = 25;
inline constexpr int kItemTable = 26;
inline constexpr int kItemAcknowledgementDate = 27;
inline constexpr int kItemRevenueStamp = 28;
inline constexpr int kItemRuleLine = 29;

inline constexpr int kCompanyProfileCount = 6;  // name, department, postal code, address, TEL, FAX

// The Shift-JIS text of company profile entry `index` (0 to 5, item 5 + index)
// in the live layout of `format`; empty for an index out of range.
std::string_view companyProfileText(int format, int index);

// Writes entry `index` into the live layouts of both formats, cut at a
// character boundary to 255 bytes. Returns 0 for an index out of range.
int setCompanyProfileText(int index, std::string_view textSjis);

}  // namespace belvorine
