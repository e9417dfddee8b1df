#include "data/name_compare.h"

#include "platform/sjis_text.h"

namespace belvorine {
namespace {

unsigned char foldAscii(unsigned char byte) {
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    std::size_t i = 0;
    while (i < a.size()) {
        const auto left = static_cast<unsigned char>(a[i]);
        const auto right = static_cast<unsigned char>(b[i]);
        if (isSjisLeadByte(left) && i + 1 < a.size()) {
            if (left != right || a[i + 1] != b[i + 1]) {
                return false;
            }
            i += 2;
            continue;
        }
        if (foldAscii(left) != foldAscii(right)) {
            return false;
        }
        ++i;
    }
    return true;
}

}  // namespace belvorine
