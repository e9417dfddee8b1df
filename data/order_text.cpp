#include "data/order_text.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sjis_text.h"

namespace belvorine {

std::size_t trimmedLength(std::string_view text) {
    std::size_t end = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const bool pair = isSjisLeadByte(byte) && pos + 1 < text.size();
        const std::size_t width = pair ? 2 : 1;
        const bool blank = byte == ' ' || (pair && byte == 0x81 && text[pos + 1] == 0x40);
        pos += width;
        if (!blank) {
            end = pos;
        }
    }
    return end;
}

void trimTrailingSpaces(char* text, std::size_t capacity) {
    if (capacity == 0) {
        return;
    }
    const std::string_view view = sjisView(text, capacity);
    const std::size_t length = trimmedLength(view.substr(0, std::min(view.size(), capacity - 1)));
    text[length] = '\0';
}

void sortUniqueViews(std::vector<std::string_view>& texts) {
    // string_view compares through char_traits<char>, which orders bytes as
    // unsigned values.
    std::sort(texts.begin(), texts.end());
    std::size_t kept = 0;
    for (std::size_t i = 1; i < texts.size(); ++i) {
        if (!texts[i].empty() && texts[i] == texts[kept]) {
            texts[i] = std::string_view();
        } else {
            kept = i;
        }
    }
}

void sortUniqueTexts(char (*texts)[kStoreTextSize], int count) {
    if (count <= 1) {
        return;
    }
    std::vector<std::string> copies;
    copies.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        copies.emplace_back(sjisView(texts[i], kStoreTextSize));
    }
    std::vector<std::string_view> views(copies.begin(), copies.end());
    sortUniqueViews(views);
    for (int i = 0; i < count; ++i) {
        const std::string_view text = views[static_cast<std::size_t>(i)];
        if (!text.empty()) {
            std::memcpy(texts[i], text.data(), text.size());
        }
        std::memset(texts[i] + text.size(), 0, kStoreTextSize - text.size());
    }
}

}  // namespace belvorine
