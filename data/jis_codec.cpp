#include "data/jis_codec.h"

#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr char kEscape = 0x1B;
constexpr std::string_view kEnterDoubleByte = "\x1B$B";
constexpr std::string_view kLeaveDoubleByte = "\x1B(B";
constexpr std::string_view kGetaMark = "\x81\xAC";

bool isSjisTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

bool isJisByte(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7E;
}

// A lead byte that the standard arithmetic maps into JIS X 0208 rows.
bool hasJisCode(unsigned char lead) {
    return lead < 0xF0;
}

void appendJisOfSjis(std::string& out, unsigned char lead, unsigned char trail) {
    int first = lead - (lead <= 0x9F ? 0x71 : 0xB1);
    first = first * 2 + 1;
    int second = trail;
    if (second > 0x7F) {
        --second;
    }
    if (second >= 0x9E) {
        second -= 0x7D;
        ++first;
    } else {
        second -= 0x1F;
    }
    out += static_cast<char>(first);
    out += static_cast<char>(second);
}

// The inverse arithmetic. A first byte of 0x7F to 0x98 is what the arithmetic
// made of lead bytes 0xF0 to 0xFC in files written before those characters
// were kept raw; it maps back to them.
void appendSjisOfJis(std::string& out, unsigned char first, unsigned char second) {
    const int lead = ((first + 1) >> 1) + (first <= 0x5E ? 0x70 : 0xB0);
    int trail = second;
    if (first & 1) {
        trail += second >= 0x60 ? 0x20 : 0x1F;
    } else {
        trail += 0x7E;
    }
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    out.append(pair, 2);
}

// Length of the stretch from `pos` that single-byte mode copies as it is:
// up to the next escape or NUL.
std::size_t plainStretch(std::string_view file, std::size_t pos) {
    std::size_t end = pos;
    while (end < file.size() && file[end] != kEscape && file[end] != '\0') {
        ++end;
    }
    return end - pos;
}

}  // namespace

std::string encodeJis(std::string_view plain) {
    std::string out;
    out.reserve(plain.size() + plain.size() / 2 + 16);
    appendJis(out, plain);
    return out;
}

void appendJis(std::string& out, std::string_view plain) {
    bool inRun = false;
    std::size_t pos = 0;
    while (pos < plain.size()) {
        const auto byte = static_cast<unsigned char>(plain[pos]);
        const bool pair = isSjisLeadByte(byte) && pos + 1 < plain.size() &&
                          isSjisTrailByte(static_cast<unsigned char>(plain[pos + 1]));
        if (pair && hasJisCode(byte)) {
            if (!inRun) {
                out += kEnterDoubleByte;
                inRun = true;
            }
            appendJisOfSjis(out, byte, static_cast<unsigned char>(plain[pos + 1]));
            pos += 2;
            continue;
        }
        if (inRun) {
            out += kLeaveDoubleByte;
            inRun = false;
        }
        const std::size_t width = pair ? 2 : 1;
        out.append(plain.substr(pos, width));
        pos += width;
        // A raw ESC before "$B" or "(B" (a text that once had bytes dropped
        // between them) would read back as an escape: an escape to the mode
        // already in force between them keeps them apart.
        if (byte == static_cast<unsigned char>(kEscape) &&
            (plain.substr(pos, 2) == kEnterDoubleByte.substr(1) ||
             plain.substr(pos, 2) == kLeaveDoubleByte.substr(1))) {
            out += kLeaveDoubleByte;
        }
    }
    if (inRun) {
        out += kLeaveDoubleByte;
    }
}

std::string decodeJis(std::string_view file) {
    std::string out;
    out.reserve(file.size() + 1);
    bool doubleByte = false;
    std::size_t pos = 0;
    while (pos < file.size()) {
        const auto byte = static_cast<unsigned char>(file[pos]);
        // The first byte of the text goes the slow way, where a LF that opens
        // it is taken as a line end.
        if (!doubleByte && !out.empty()) {
            const std::size_t stretch = plainStretch(file, pos);
            if (stretch > 0) {
                out.append(file.substr(pos, stretch));
                pos += stretch;
                continue;
            }
        }
        if (byte == kEscape) {
            const std::string_view next = file.substr(pos, 3);
            if (next == kEnterDoubleByte || next == kLeaveDoubleByte) {
                doubleByte = next == kEnterDoubleByte;
                pos += 3;
                continue;
            }
        }
        if (byte == 0) {
            // A NUL would end the text; dropping it could join an ESC before
            // it to the bytes after it into an escape that was never there.
            out += ' ';
            ++pos;
            continue;
        }
        if (doubleByte && byte >= 0x21 && byte <= 0x98) {
            const bool paired =
                pos + 1 < file.size() && isJisByte(static_cast<unsigned char>(file[pos + 1]));
            if (paired) {
                appendSjisOfJis(out, byte, static_cast<unsigned char>(file[pos + 1]));
                pos += 2;
                continue;
            }
            if (isJisByte(byte)) {
                // Only this byte is taken, so a CR or an escape after it still counts.
                out += kGetaMark;
                ++pos;
                continue;
            }
        }
        // A LF that opens the text, even after dropped bytes or escapes, so
        // that the text written back from it reads the same.
        if (out.empty() && byte == '\n') {
            out += "\r\n";
            ++pos;
            continue;
        }
        out += static_cast<char>(byte);
        ++pos;
    }
    return out;
}

}  // namespace belvorine
