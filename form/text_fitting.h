#pragma once
// The drawing of one frame's text: the font size under the frame's size
// rule, and the spread that makes the text take exactly its target width on
// any device, so that a printed page has the proportions of the screen.

#include <string>
#include <string_view>

#include <QSize>

#include "platform/device_context.h"
#include "records/records.h"

namespace belvorine {

// Upper bound of the fit-to-width search, in points.
inline constexpr int kMaximumFitPoints = 1000;
// The addressee line is sized by the longest counterparty of the history,
// but a name so long that every other order's addressee would shrink below
// this size counts only down to it: that name alone is drawn smaller.
inline constexpr int kMinimumAddresseePoints = 10;

// " %s　御中" filled with the format's longest counterparty (Shift-JIS).
std::string longestAddressee(int format);

// The point size for the fit-to-width rule: the largest size whose text is
// narrower than the frame, measured at display resolution with the current
// format's printer font; 0 when not even 1 point fits, the stored size for
// an empty text, at most kMaximumFitPoints. The addressee line is measured
// with the longest counterparty of the current format.
int fitPointSize(const LayoutItem& item);

// The one size of `item`'s group under the fit-to-width rule: the smallest
// that fits every member's text in the group's frame (the first member's
// frame, size rule, weight and underline), so that the three titles, the
// three payment sentences and their second lines each print at one size.
// A frame of a group of its own gets its fitPointSize.
int groupFitPointSize(const FormLayout& layout, int item);

// The size in display pixels that `text` takes when `item` is drawn at its
// pointSize with `format`'s printer font, as drawFrame draws it: the
// character height, and the width of the text (a fit-to-width text is
// spread or pressed into its frame, so it takes the frame's width).
QSize drawnTextExtent(int format, const LayoutItem& item, std::string_view text);

// The size in display pixels of `text` in `item`'s font: `format`'s printer
// font with the item's point size, weight and underline, measured on a
// display bitmap like the one the form view draws its page on (not with a
// widget's metrics, whose resolution may differ).
QSize displayTextExtent(int format, const LayoutItem& item, std::string_view text);

// Room a frame gets around its text: 0.99 mm across and down.
inline constexpr int kFrameRoomHundredthsMm = 99;

// Gives a frame (hundredths of a millimetre) the width `width` about its
// alignment point: a left-aligned frame keeps its left edge, a right-aligned
// one its right edge, a centred one its centre (halved toward zero). The top
// and bottom stay.
void setFrameWidth(Rect& mm, std::int32_t alignment, long long width);

// setFrameWidth for a text `pixels` wide at display resolution, with
// kFrameRoomHundredthsMm of room.
void fitFrameWidth(Rect& mm, std::int32_t alignment, int pixels);

// The same for the height: the bottom moves, the top never does.
void fitFrameHeight(Rect& mm, int pixels);

// Draws one frame's text on `dc`: the screen rectangle scaled by
// `scale` / 100 and moved by -ox, -oy, the font of `settings` with the
// frame's size, weight and underline, spread to the target width. A frame
// with an empty text or a target width of 0 or less draws nothing.
// `fitSize`, when not negative, is the fit-to-width size to draw at (a
// group's one size, groupFitPointSize); else the frame's text is fitted on
// its own. The addressee line is sized by the longer of its own text and
// the longest counterparty, laid out at the latter's pitch.
void drawFrame(DeviceContext& dc, const LayoutItem& item, const PageSettings& settings, int scale,
               int ox, int oy, int fitSize = -1);

// Writes `text` into `out` with one half-width space between every two
// characters (a double-byte character stays whole) and returns the number
// of those separating spaces: the breaks the spreading uses. A half-width
// space of the text's own is a character, not a break, so that a word space
// keeps at least its width however tightly a text is set.
int spaceOut(std::string_view text, std::string& out);

}  // namespace belvorine
