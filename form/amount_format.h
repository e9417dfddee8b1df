#pragma once
// Thousands separators for the number texts of the order, and the texts of
// the item table's number cells and totals. All texts are Shift-JIS.

#include <cstddef>
#include <string>
#include <string_view>

namespace belvorine {

struct OrderLine;
struct OrderRecord;

// Inserts a comma every three digits of the integer part of a plain number
// (isPlainNumber). Leading spaces are dropped. A text of more than 20 bytes,
// and one whose integer part has 18 or more digits, comes back unchanged;
// one with fewer than 4 digits, and one that is not a plain number, comes
// back without its leading spaces. A leading minus sign stays in front of
// the grouped digits.
std::string groupThousands(std::string_view number);

// The same into `out` (`outSize` bytes, at least the input's length plus
// 6), always NUL-terminated and never written past; returns the length.
std::size_t groupThousands(const char* number, char* out, std::size_t outSize);

// Removes every comma; all other bytes, leading spaces included, stay.
std::string removeThousands(std::string_view text);

// The same into `out` (`outSize` bytes, at least 20); returns the length.
std::size_t removeThousands(const char* text, char* out, std::size_t outSize);

// Grouped quantity followed by the unit; "1式" to "9式" read "一式 " to "九式 ".
std::string quantityCellText(const OrderLine& line);

// Grouped unit price.
std::string unitPriceCellText(const OrderLine& line);

// "Over Flow" as it is, else the grouped amount followed by "円".
std::string amountCellText(const OrderLine& line);

// The whole-number value of an amount text: leading spaces skipped, digits
// read up to the first other character ("Over Flow" and empty texts are 0).
long long amountValue(const char* amount);
long long amountValue(std::string_view amount);

// Sum of the amounts of the lines that are drawn (first name line filled).
long long orderTotal(const OrderRecord& order);

// "合 計 金 額    ￥" + grouped total + ".－" (the total box).
std::string totalBoxText(long long total);

// Grouped total + "円" (the total row's amount cell).
std::string totalRowText(long long total);

}  // namespace belvorine
