#pragma once
// Comparing the names of profile sections, keys and font faces the way the
// original platform does: ASCII letters match regardless of case, the bytes
// of a double-byte character match exactly.

#include <string_view>

namespace belvorine {

// True when `a` and `b` are the same Shift-JIS name ignoring ASCII case.
// The trail byte of a double-byte character is never case-folded, so
// "ア" (0x83 0x41) does not match 0x83 0x61.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace belvorine
