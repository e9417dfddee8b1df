#pragma once
// Text helpers of the order history: trailing blanks and sorted, unique
// lists of texts.

#include <cstddef>
#include <string_view>
#include <vector>

namespace belvorine {

inline constexpr std::size_t kStoreTextSize = 256;  // one text slot: 255 bytes and the NUL

// Length of `text` without its trailing half-width spaces and full-width
// spaces "　" (0x81 0x40), in any mix. Characters are walked from the start,
// so the second byte of a double-byte character is never taken for a space.
std::size_t trimmedLength(std::string_view text);

// Removes the trailing blanks of a text in a fixed buffer of `capacity`
// bytes in place; the buffer is left NUL-terminated even when it was not.
void trimTrailingSpaces(char* text, std::size_t capacity);
template <std::size_t N>
void trimTrailingSpaces(char (&text)[N]) {
    trimTrailingSpaces(text, N);
}

// Sorts the views ascending by unsigned byte value and empties every view
// that equals an earlier one. Empty views may end up anywhere; every
// consumer skips them.
void sortUniqueViews(std::vector<std::string_view>& texts);

// The same for `count` NUL-terminated texts of kStoreTextSize bytes each,
// sorted in place.
void sortUniqueTexts(char (*texts)[kStoreTextSize], int count);

}  // namespace belvorine
