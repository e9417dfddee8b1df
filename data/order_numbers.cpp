#include "data/order_numbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace belvorine {
namespace {

bool isCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The text after its leading white space and an optional sign, as C's
// number parsers skip them.
std::string_view unsignedPart(std::string_view text, bool& negative) {
    std::size_t pos = 0;
    while (pos < text.size() && isCSpace(text[pos])) {
        ++pos;
    }
    negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    return text.substr(pos);
}

// printf("%8.<precision>f") without the C locale's decimal point.
std::string fixed(double value, int precision) {
    char digits[400];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
    std::string text(digits, result.ec == std::errc() ? result.ptr : digits);
    if (text.size() < 8) {
        text.insert(0, 8 - text.size(), ' ');
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A plain number as sign, integer digits without leading zeros and fraction
// digits without trailing zeros ("-0" is "0"); empty when it is not one.
std::string canonicalDecimal(std::string_view text) {
    if (!isPlainNumber(text)) {
        return std::string();
    }
    text = trimmedBlanks(text);
    const bool negative = text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    std::string_view integer = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
    while (!integer.empty() && integer.front() == '0') {
        integer.remove_prefix(1);
    }
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    std::string canonical(integer.empty() ? "0" : integer);
    if (!fraction.empty()) {
        canonical.append(".").append(fraction);
    }
    return negative && canonical != "0" ? "-" + canonical : canonical;
}

}  // namespace

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool isPlainNumber(std::string_view text) {
    text = trimmedBlanks(text);
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    std::size_t digits = 0;
    std::size_t points = 0;
    for (const char c : text) {
        if (isDigit(c)) {
            ++digits;
        } else if (c == '.' && points == 0) {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool sameDecimal(std::string_view a, std::string_view b) {
    const std::string first = canonicalDecimal(a);
    return !first.empty() && first == canonicalDecimal(b);
}

double leadingNumber(std::string_view text) {
    bool negative = false;
    const std::string_view digits = unsignedPart(text, negative);
    // from_chars would take a second minus sign; atof does not.
    if (!digits.empty() && digits[0] == '-') {
        return 0.0;
    }
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

int leadingInteger(std::string_view text) {
    bool negative = false;
    const std::string_view digits = unsignedPart(text, negative);
    long long value = 0;
    for (std::size_t pos = 0; pos < digits.size() && digits[pos] >= '0' && digits[pos] <= '9';
         ++pos) {
        value = std::min(value * 10 + (digits[pos] - '0'), 1LL << 31);
    }
    value = negative ? -value : value;
    return static_cast<int>(
        std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

std::string quantityText(double value) {
    return fixed(value, std::floor(value) == value ? 0 : 2);
}

std::string normaliseQuantity(std::string_view text) {
    return quantityText(leadingNumber(text));
}

std::string normaliseUnitPrice(std::string_view text) {
    return fixed(leadingNumber(text), 2);
}

}  // namespace belvorine
