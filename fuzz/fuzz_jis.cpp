// The JIS decoder and encoder of the order data file: whatever a file holds,
// the text it decodes to is written back so that it decodes to the same
// text (decode(encode(decode(x))) == decode(x)), so that a load and a
// rewrite never change a history.

#include "data/jis_codec.h"
#include "fuzz_support.h"

using namespace belvorine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::string plain = decodeJis(file);
    const std::string written = encodeJis(plain);
    FUZZ_CHECK(decodeJis(written) == plain);
    // The written file is seven-bit where the text is JIS X 0208, and a
    // second round changes nothing.
    FUZZ_CHECK(encodeJis(decodeJis(written)) == written);
    return 0;
}
