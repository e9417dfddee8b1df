#pragma once
// The 16 × 16 button images of the tool bars and menus (bitmaps 401 to 409).
// Each bitmap pair holds the same images twice: the normal look (odd ids,
// muted colours) and the highlighted look (even ids, full colours), which the
// tool bars show under the mouse and the menus for checked items.

#include <QPixmap>

namespace belvorine {

inline constexpr int kMainBitmap = 401;    // 11 images, highlighted: 402
inline constexpr int kPageBitmap = 403;    // 6 images, highlighted: 404
inline constexpr int kCloseBitmap = 406;   // one 36 × 16 image, highlighted: 407
inline constexpr int kLayoutBitmap = 408;  // 2 images, highlighted: 409

// Number of images in `bitmap` (either id of a pair).
int buttonImageCount(int bitmap);

// Image `index` of `bitmap` at the device pixel ratio `ratio`; a null pixmap
// for an index out of range.
QPixmap buttonImage(int bitmap, int index, qreal ratio = 1.0);

// Menu image `index` (0 to 16): list A (normal) is bitmap 401 followed by
// 403, list B (highlighted) is 402 followed by 404.
QPixmap menuImage(int index, bool highlighted, qreal ratio = 1.0);

// The image of a check item that is off: the empty box, so that off never
// looks ticked.
QPixmap uncheckedImage(qreal ratio = 1.0);

}  // namespace belvorine
