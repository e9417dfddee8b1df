#pragma once
// A frame's position and size in whole millimetres and the limits that keep
// it on the paper inside the margins: shared by mouse editing (which stops a
// resize at the right and bottom margins) and the item property dialog.

#include "records/records.h"

namespace belvorine {

struct FrameMillimetres {
    int x = 0;  // left and top truncated
    int y = 0;
    int width = 0;  // rounded
    int height = 0;
};

struct FrameLimits {
    int minX = 0, maxX = 0;
    int minY = 0, maxY = 0;
    int minWidth = 1, maxWidth = 0;
    int minHeight = 1, maxHeight = 0;
};

FrameMillimetres frameMillimetres(const Rect& mmRect);

// The limits of a frame at `frame` on `format`'s paper and margins. A
// printer resolution of 0 is taken (and stored) as 600.
FrameLimits frameLimits(int format, const FrameMillimetres& frame);

}  // namespace belvorine
