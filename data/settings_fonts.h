#pragma once
// Font records of the page settings made from a face name.

#include <string_view>

#include "records/records.h"

namespace belvorine {

// Fills `dest` with the font record of the first font named `faceSjis`
// (Shift-JIS, ASCII case ignored) among the Japanese fonts, with its width
// set to 0. Returns 0 and leaves `dest` unchanged when no font has that face.
int makeFontFromFace(LogFont& dest, std::string_view faceSjis);

}  // namespace belvorine
