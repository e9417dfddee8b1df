#pragma once
// The frames of the company profile (items 5 to 10): each sized to its text
// when the profile is registered, without leaving its place in the issuer
// block.

#include <string_view>

#include "records/records.h"

namespace belvorine {

// Sizes profile item `item` (5 to 10) of `layout`, the live layout of
// `format`, to its text in that format's printer font at display
// resolution, with 0.99 mm of room:
// - across, about its alignment point (a left-aligned frame keeps its left
//   edge, a right-aligned one its right edge, a centred one its centre),
//   and never past the margin box: a longer text is cut there with the same
//   point kept;
// - down, about its middle, so that the text's baseline (the text is
//   centred in its frame) stays where it was, never into the frame above or
//   below it on the order page (the next profile line, empty or not, the
//   stamp box) nor out of the margin box.
// An item without a text keeps its frame as it is.
void fitProfileFrame(int format, FormLayout& layout, int item);

// Whether `textSjis`, drawn in profile item `item` of `format`'s live layout,
// fits the widest frame that item can take across the margin box about its
// alignment point.
bool profileTextFits(int format, int item, std::string_view textSjis);

}  // namespace belvorine
