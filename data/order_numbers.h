#pragma once
// The number texts of the order: quantities and unit prices are kept as
// texts normalised with fixed formats, independent of the user's locale.

#include <string>
#include <string_view>

namespace belvorine {

// The value of the leading decimal number of `text` (leading white space
// and a sign allowed, as C's atof reads it); 0 when there is none or the
// value is not finite.
double leadingNumber(std::string_view text);

// The value of the leading integer of `text`, as C's atoi reads it (clamped
// to the int range); 0 when there is none.
int leadingInteger(std::string_view text);

// Whether `text` is a plain decimal number: blanks around it, an optional
// minus sign, digits with at most one point and digits on at least one side
// of it. No separators, exponent or other character ("1e3", "12abc" and
// "1,234" are not).
bool isPlainNumber(std::string_view text);

// `text` without the half-width blanks before and after it.
std::string_view trimmedBlanks(std::string_view text);

// Whether two plain numbers stand for the same value digit for digit:
// blanks, leading zeros and trailing zeros of the fraction aside ("0500.10"
// and " 500.1" do, "1.234" and "1.23" do not). False when either is not a
// plain number.
bool sameDecimal(std::string_view a, std::string_view b);

// "%8.0f" of `value` when it has no fractional part, else "%8.2f" (with
// a decimal point whatever the locale).
std::string quantityText(double value);

// quantityText of the value of `text`.
std::string normaliseQuantity(std::string_view text);

// "%8.2f" of the value.
std::string normaliseUnitPrice(std::string_view text);

}  // namespace belvorine
