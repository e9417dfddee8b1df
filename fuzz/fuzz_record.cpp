// The hex record decoder: a value either decodes whole or leaves the record
// untouched, and what decodes writes back as the same hex (upper case).

#include <cstring>
#include <string>
#include <vector>

#include "data/profile_file.h"
#include "fuzz_support.h"
#include "records/records.h"

using namespace belvorine;

namespace {

// Every record size a settings or layout file holds, and the edges.
constexpr std::size_t kSizes[] = {0,
                                  1,
                                  4,
                                  sizeof(InitialData),
                                  sizeof(PageSettings),
                                  sizeof(LegacyPageSettings),
                                  sizeof(ListDialogSettings),
                                  sizeof(LayoutItem)};

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t recordSize = kSizes[data[0] % std::size(kSizes)];
    const std::string_view value(reinterpret_cast<const char*>(data + 1), size - 1);

    // The guard bytes around the record show a write outside it.
    std::vector<unsigned char> buffer(recordSize + 32, 0xA5);
    unsigned char* record = buffer.data() + 16;
    if (decodeRecord(value, record, recordSize)) {
        FUZZ_CHECK(encodeRecord(record, recordSize) == upperCase(value));
    } else {
        for (unsigned char byte : buffer) {
            FUZZ_CHECK(byte == 0xA5);
        }
    }
    for (std::size_t i = 0; i < 16; ++i) {
        FUZZ_CHECK(buffer[i] == 0xA5 && buffer[recordSize + 16 + i] == 0xA5);
    }

    // Any bytes round-trip through the hex form.
    const std::string hex = encodeRecord(value.data(), value.size());
    std::vector<char> back(value.size() + 1);
    FUZZ_CHECK(decodeRecord(hex, back.data(), value.size()) == 1);
    FUZZ_CHECK(value.empty() || std::memcmp(back.data(), value.data(), value.size()) == 0);
    return 0;
}
