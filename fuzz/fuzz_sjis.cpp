// The Shift-JIS helpers that cut texts into the records' buffers: a cut
// never splits a double-byte character and never passes its limit, a copy
// always ends inside its buffer, and trimming removes only trailing blanks.
//
// Input: one byte for the limit, then the text.

#include <cstring>
#include <string>
#include <vector>

#include "data/order_text.h"
#include "fuzz_support.h"
#include "platform/sjis_text.h"

using namespace belvorine;

namespace {

// True when `length` bytes of `text` end on a character boundary, walking
// from the start as every helper does: a lead byte takes the next byte with
// it when there is one.
bool isBoundary(std::string_view text, std::size_t length) {
    std::size_t pos = 0;
    while (pos < length) {
        pos +=
            isSjisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
    }
    return pos == length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t limit = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::size_t prefix = sjisPrefixLength(text, limit);
    FUZZ_CHECK(prefix <= limit && prefix <= text.size());
    FUZZ_CHECK(isBoundary(text, prefix));
    // Only a character that would pass the limit is left out.
    FUZZ_CHECK(prefix == text.size() || prefix + 1 > limit ||
               (prefix + 2 > limit && isSjisLeadByte(static_cast<unsigned char>(text[prefix]))));

    // A copy into a buffer of limit bytes, between guard bytes.
    std::vector<char> buffer(limit + 32, '\x5A');
    char* dest = buffer.data() + 16;
    const std::size_t copied = copySjis(dest, limit, text);
    if (limit == 0) {
        FUZZ_CHECK(copied == 0);
    } else {
        FUZZ_CHECK(copied < limit && dest[copied] == '\0');
        FUZZ_CHECK(copied == sjisPrefixLength(text, limit - 1));
        FUZZ_CHECK(std::memcmp(dest, text.data(), copied) == 0);
        FUZZ_CHECK(sjisView(dest, limit).size() <= copied);
    }
    for (std::size_t i = 0; i < 16; ++i) {
        FUZZ_CHECK(buffer[i] == '\x5A' && buffer[limit + 16 + i] == '\x5A');
    }

    // Trimming a full buffer: it ends inside the buffer, on a boundary, and
    // what it removed were blanks.
    if (limit > 0) {
        std::vector<char> field(limit + 16, '\x5A');
        std::memcpy(field.data(), text.data(), std::min(limit, text.size()));
        if (text.size() < limit) {
            field[text.size()] = '\0';
        }
        const std::string before(sjisView(field.data(), limit));
        trimTrailingSpaces(field.data(), limit);
        const std::string_view after = sjisView(field.data(), limit);
        FUZZ_CHECK(after.size() < limit);
        FUZZ_CHECK(before.compare(0, after.size(), after) == 0);
        FUZZ_CHECK(trimmedLength(after) == after.size());
        for (std::size_t i = limit; i < field.size(); ++i) {
            FUZZ_CHECK(field[i] == '\x5A');
        }
    }

    // Views of a text cut anywhere never reach past the buffer.
    FUZZ_CHECK(sjisView(text.data(), text.size()).size() <= text.size());
    return 0;
}
