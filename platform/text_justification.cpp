#include "platform/text_justification.h"

#include <algorithm>
#include <climits>

#include "platform/sjis_text.h"

namespace belvorine {

int breakExtra(const Justification& justification, int index) {
    const int count = justification.breakCount;
    if (count <= 0 || index < 0 || index >= count) {
        return 0;
    }
    // Truncating division keeps the sign of `extra` in both parts, so a
    // negative amount tightens the first breaks by one pixel more.
    const int each = justification.extra / count;
    const int remainder = justification.extra % count;
    if (remainder > 0 && index < remainder) {
        return each + 1;
    }
    if (remainder < 0 && index < -remainder) {
        return each - 1;
    }
    return each;
}

std::vector<std::string_view> spacedCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    characters.reserve(text.size() / 2 + 1);
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        i += isSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        // A separator ends the character; the one after it may be a space of
        // the text's own. Characters not separated stay together.
        if (i == text.size() || text[i] == ' ') {
            characters.push_back(text.substr(start, i - start));
            start = ++i;
        }
    }
    return characters;
}

int layoutRuns(const std::vector<int>& runWidths, int spaceWidth,
               const Justification& justification, std::vector<int>* runStarts) {
    if (runStarts) {
        runStarts->clear();
        runStarts->reserve(runWidths.size());
    }
    // Summed wide and cut to int, so that no justification can overflow.
    const auto clamp = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
    };
    long long x = 0;
    for (std::size_t i = 0; i < runWidths.size(); ++i) {
        if (i > 0) {
            x += static_cast<long long>(spaceWidth) +
                 breakExtra(justification, static_cast<int>(i - 1));
        }
        if (runStarts) {
            runStarts->push_back(clamp(x));
        }
        x += runWidths[i];
    }
    return clamp(x);
}

QPoint placeLine(const QRect& rect, int width, int height, TextAlign align) {
    int x = rect.left();
    if (align == TextAlign::Centre) {
        x += (rect.width() - width) / 2;
    } else if (align == TextAlign::Right) {
        x = rect.left() + rect.width() - width;
    }
    return QPoint(x, rect.top() + (rect.height() - height) / 2);
}

}  // namespace belvorine
