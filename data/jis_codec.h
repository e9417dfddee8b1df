#pragma once
// The seven-bit encoding of the order data file: double-byte Shift-JIS text
// as JIS X 0208 runs between ESC $ B and ESC ( B, every other byte raw.

#include <string>
#include <string_view>

namespace belvorine {

// Plain Shift-JIS text to file text. A character with no JIS X 0208 code
// (lead byte 0xF0 to 0xFC: user-defined and IBM extension kanji) and a lead
// byte without a valid second byte are written raw outside the runs, as
// half-width katakana are, so that they read back unchanged.
std::string encodeJis(std::string_view plain);

// encodeJis, appended to `out`. Text that ends its escape runs, as every
// line does, can be encoded piece by piece with the same result.
void appendJis(std::string& out, std::string_view plain);

// File text to plain Shift-JIS text. Escapes switch the mode; a pair that
// cannot be decoded becomes the geta mark "〓" and decoding goes on, so one
// damaged byte never costs the text after it. A NUL byte becomes a space,
// so that no byte is dropped and decode(encode(decode(x))) = decode(x).
std::string decodeJis(std::string_view file);

}  // namespace belvorine
