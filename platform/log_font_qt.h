#pragma once
// A stored font record (LogFont) as a Qt font.

#include <QFont>
#include <QString>

#include "records/records.h"

namespace belvorine {

// Pixel size that a LogFont height of 0 stands for (the platform's default
// height).
inline constexpr int kDefaultFontPixels = 12;
// Larger sizes are cut to this, so a damaged record cannot ask the
// rasteriser for a glyph of millions of pixels.
inline constexpr int kMaximumFontPixels = 16384;

// The face name of the record (Shift-JIS, up to 32 bytes), decoded.
QString logFontFace(const LogFont& font);

// The Qt font for a record:
// - height < 0: the character height (em size) is -height pixels;
// - height > 0: the cell height (ascent + descent) is height pixels, the
//   em size is scaled to match;
// - height 0: kDefaultFontPixels;
// - weight 0 counts as 400; other weights map onto Qt's 1..1000 scale as
//   they are (400 normal, 500 medium, 700 bold, 900 black);
// - italic, underline and strike-out as stored; the face through the
//   substitutions of font_faces.h, a bold one through boldFamily. Width, escapement and orientation
//   are not used: stored records keep width 0 and never rotate text.
// Kerning is off so that a line is exactly the sum of its characters.
QFont fontFromLogFont(const LogFont& font);

}  // namespace belvorine
