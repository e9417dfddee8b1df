#pragma once
// Line layout shared by every drawing surface: spaced-out text (one
// separating half-width space between every two characters) with extra
// pixels spread over its separators, the positions of its characters, and
// the line's place in its rectangle.

#include <string_view>
#include <vector>

#include <QPoint>
#include <QRect>

#include "platform/device_context.h"

namespace belvorine {

struct Justification {
    int extra = 0;       // pixels to add (negative: to take away)
    int breakCount = 0;  // separating spaces they are spread over; 0: none
};

// The extra pixels of the separator with the 0-based `index`: extra /
// breakCount each, the remainder one pixel each to the first separators.
// Separators past `breakCount` (and every one when breakCount is 0 or less)
// get nothing.
int breakExtra(const Justification& justification, int index);

// The characters of spaced-out Shift-JIS text, each a whole character (a
// lead byte and its trail byte together): the separating spaces are left
// out, and a half-width space that is one of the text's own characters is
// kept as a character, so that it keeps its width whatever the spreading.
// Characters with no separator between them stay together.
std::vector<std::string_view> spacedCharacters(std::string_view text);

// Lays out one line made of `runWidths.size()` runs separated by single
// half-width spaces of `spaceWidth` pixels, with the justification applied to
// the spaces. Fills `runStarts` (one x per run, the first at 0) when given and
// returns the width of the line.
int layoutRuns(const std::vector<int>& runWidths, int spaceWidth,
               const Justification& justification, std::vector<int>* runStarts);

// Top-left corner of a line of `width` x `height` pixels placed in `rect`:
// aligned horizontally, centred vertically (a line larger than the
// rectangle sticks out on both sides).
QPoint placeLine(const QRect& rect, int width, int height, TextAlign align);

}  // namespace belvorine
