#pragma once
// Where a frame may lie and how small it may become: one rule for mouse
// editing and the item property dialog. A frame lies inside its format's
// margin box and stays large enough to show its text.

#include <QSize>

#include "records/records.h"

namespace belvorine {

// A frame's position and size in whole millimetres, as the dialog and the
// status bar show them: left and top truncated, width and height rounded.
struct FrameMillimetres {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

FrameMillimetres frameMillimetres(const Rect& mmRect);

// In hundredths of a millimetre from the paper's corner.
struct FrameLimits {
    Rect box;           // the margin box the frame must lie in
    int minWidth = 0;   // 1 mm
    int minHeight = 0;  // 1 mm, or one line of the frame's text when taller
};

// The limits of `item` on `format`'s paper. A printer resolution of 0 is
// taken (and stored) as 600.
FrameLimits frameLimits(int format, const LayoutItem& item);

// The paper of `format` in whole millimetres (rounded), as the dialog shows
// it; the same fallback resolution.
QSize paperMillimetres(int format);

}  // namespace belvorine
