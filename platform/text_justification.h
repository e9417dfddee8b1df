#pragma once
// Line layout shared by every drawing surface: extra pixels spread over the
// half-width spaces of a line, the positions of the runs of text between
// those spaces, and the line's place in its rectangle.

#include <vector>

#include <QPoint>
#include <QRect>

#include "platform/device_context.h"

namespace belvorine {

struct Justification {
    int extra = 0;       // pixels to add (negative: to take away)
    int breakCount = 0;  // half-width spaces they are spread over
};

// The extra pixels of the break with the 0-based `index`: extra / breakCount
// each, the remainder one pixel each to the first breaks. Breaks past
// `breakCount` (and every break when breakCount is 0 or less) get nothing.
int breakExtra(const Justification& justification, int index);

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
