#include "form/amount_format.h"

#include <array>
#include <cstring>

#include "data/order_numbers.h"
#include "data/order_record.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr std::size_t kMaxGroupedInput = 20;
constexpr std::size_t kMinGroupedDigits = 4;
constexpr std::size_t kMaxGroupedDigits = 17;
// Digits beyond this are not added, so the value never overflows.
constexpr long long kMaxAmountValue = 999'999'999'999'999'999LL;

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

std::size_t copyOut(std::string_view text, char* out, std::size_t outSize) {
    return out && outSize > 0 ? copySjis(out, outSize, text) : 0;
}

// "1式" to "9式" and the counter words that replace them.
const std::array<std::pair<std::string, std::string>, 9>& counterWords() {
    static const auto table = [] {
        const char* numerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
        const std::string unit = sjis("式");
        std::array<std::pair<std::string, std::string>, 9> words;
        for (std::size_t i = 0; i < words.size(); ++i) {
            words[i] = {std::to_string(i + 1) + unit, sjis(numerals[i]) + unit + " "};
        }
        return words;
    }();
    return table;
}

}  // namespace

std::string groupThousands(std::string_view number) {
    if (number.size() > kMaxGroupedInput) {
        return std::string(number);
    }
    const std::string_view value = trimmedBlanks(number);
    // Commas go only into a number: anything else (a character of two
    // bytes, a letter, "Over Flow") is left whole for the field to judge.
    if (!isPlainNumber(value)) {
        return std::string(value);
    }
    const std::size_t point = value.find('.');
    const std::string_view integer = value.substr(0, point);
    const std::string_view rest = point == std::string_view::npos ? "" : value.substr(point);
    const std::size_t signLength = !integer.empty() && integer[0] == '-' ? 1 : 0;
    const std::string_view digits = integer.substr(signLength);
    if (digits.size() < kMinGroupedDigits) {
        return std::string(value);
    }
    if (digits.size() > kMaxGroupedDigits) {
        return std::string(number);
    }
    std::string grouped(integer.substr(0, signLength));
    const std::size_t lead = digits.size() % 3;
    grouped.append(digits.substr(0, lead));
    for (std::size_t pos = lead; pos < digits.size(); pos += 3) {
        if (pos > 0) {
            grouped += ',';
        }
        grouped.append(digits.substr(pos, 3));
    }
    grouped.append(rest);
    return grouped;
}

std::size_t groupThousands(const char* number, char* out, std::size_t outSize) {
    return copyOut(groupThousands(std::string_view(number ? number : "")), out, outSize);
}

std::string removeThousands(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c != ',') {
            result += c;
        }
    }
    return result;
}

std::size_t removeThousands(const char* text, char* out, std::size_t outSize) {
    return copyOut(removeThousands(std::string_view(text ? text : "")), out, outSize);
}

std::string quantityCellText(const OrderLine& line) {
    std::string text = groupThousands(sjisView(line.quantity));
    text.append(sjisView(line.unit));
    for (const auto& [plain, word] : counterWords()) {
        if (text == plain) {
            return word;
        }
    }
    return text;
}

std::string unitPriceCellText(const OrderLine& line) {
    return groupThousands(sjisView(line.unitPrice));
}

std::string amountCellText(const OrderLine& line) {
    static const std::string yen = sjis("円");
    const std::string_view amount = sjisView(line.amount);
    if (amount == "Over Flow") {
        return std::string(amount);
    }
    return groupThousands(amount) + yen;
}

long long amountValue(std::string_view amount) {
    std::size_t pos = 0;
    while (pos < amount.size() && amount[pos] == ' ') {
        ++pos;
    }
    long long value = 0;
    for (; pos < amount.size() && amount[pos] >= '0' && amount[pos] <= '9'; ++pos) {
        if (value > kMaxAmountValue / 10) {
            return kMaxAmountValue;
        }
        value = value * 10 + (amount[pos] - '0');
    }
    return value;
}

long long amountValue(const char* amount) {
    return amount ? amountValue(std::string_view(amount)) : 0;
}

long long orderTotal(const OrderRecord& order) {
    long long total = 0;
    for (const OrderLine& line : order.lines) {
        if (line.nameLine1[0] != '\0') {
            total += amountValue(sjisView(line.amount));
        }
    }
    return total;
}

std::string totalBoxText(long long total) {
    static const std::string label = sjis("合 計 金 額    ￥");
    static const std::string end = sjis(".－");
    return label + groupThousands(std::to_string(total)) + end;
}

std::string totalRowText(long long total) {
    static const std::string yen = sjis("円");
    return groupThousands(std::to_string(total)) + yen;
}

}  // namespace belvorine
