#include "data/jis_codec.h"

#include <algorithm>

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

unsigned char byteAt(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

bool isJisByte(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7E;
}

// A lead byte that the standard arithmetic maps into JIS X 0208 rows.
bool hasJisCode(unsigned char lead) {
    return lead < 0xF0;
}

// Writes the JIS pair of a Shift-JIS pair at `to`; returns the end.
char* writeJisOfSjis(char* to, unsigned char lead, unsigned char trail) {
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
    *to++ = static_cast<char>(first);
    *to++ = static_cast<char>(second);
    return to;
}

char* writeEscape(char* to, std::string_view escape) {
    return std::copy(escape.begin(), escape.end(), to);
}

// The inverse arithmetic. A first byte of 0x7F to 0x98 is what the arithmetic
// made of lead bytes 0xF0 to 0xFC in files written before those characters
// were kept raw; it maps back to them.
char* writeSjisOfJis(char* to, unsigned char first, unsigned char second) {
    const int lead = ((first + 1) >> 1) + (first <= 0x5E ? 0x70 : 0xB0);
    int trail = second;
    if (first & 1) {
        trail += second >= 0x60 ? 0x20 : 0x1F;
    } else {
        trail += 0x7E;
    }
    *to++ = static_cast<char>(lead);
    *to++ = static_cast<char>(trail);
    return to;
}

// A pair that double-byte mode decodes.
bool isDecodablePair(unsigned char first, unsigned char second) {
    return first >= 0x21 && first <= 0x98 && isJisByte(second);
}

// Number of decodable pairs from `pos` on.
std::size_t pairStretch(std::string_view file, std::size_t pos) {
    std::size_t end = pos;
    while (end + 1 < file.size() && isDecodablePair(byteAt(file, end), byteAt(file, end + 1))) {
        end += 2;
    }
    return (end - pos) / 2;
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
    // The history is rewritten whole on every print, so this loop writes
    // through a pointer into room made once. No byte grows to more than four:
    // a raw ESC before "$B" takes an escape after it, a pair between single
    // bytes at most an escape on either side.
    const std::size_t start = out.size();
    out.resize(start + plain.size() * 4 + kLeaveDoubleByte.size());
    char* to = out.data() + start;
    const auto* from = reinterpret_cast<const unsigned char*>(plain.data());
    const auto* const end = from + plain.size();
    bool inRun = false;
    while (from < end) {
        const unsigned char byte = *from;
        if (byte < 0x80 && byte != kEscape) {
            // A stretch of plain ASCII, as most of a row's numbers and TABs are.
            if (inRun) {
                to = writeEscape(to, kLeaveDoubleByte);
                inRun = false;
            }
            const auto* const stretch = from;
            while (from < end && *from < 0x80 && *from != kEscape) {
                ++from;
            }
            to = std::copy(stretch, from, to);
            continue;
        }
        const bool pair = isSjisLeadByte(byte) && from + 1 < end && isSjisTrailByte(from[1]);
        if (pair && hasJisCode(byte)) {
            if (!inRun) {
                to = writeEscape(to, kEnterDoubleByte);
                inRun = true;
            }
            to = writeJisOfSjis(to, byte, from[1]);
            from += 2;
            continue;
        }
        if (inRun) {
            to = writeEscape(to, kLeaveDoubleByte);
            inRun = false;
        }
        const std::size_t width = pair ? 2 : 1;
        to = std::copy(from, from + width, to);
        from += width;
        // A raw ESC before "$B" or "(B" (a text that once had bytes dropped
        // between them) would read back as an escape: an escape to the mode
        // already in force between them keeps them apart.
        if (byte == kEscape && end - from >= 2 &&
            ((from[0] == '$' && from[1] == 'B') || (from[0] == '(' && from[1] == 'B'))) {
            to = writeEscape(to, kLeaveDoubleByte);
        }
    }
    if (inRun) {
        to = writeEscape(to, kLeaveDoubleByte);
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
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
            // A run of pairs is written through a pointer into room made
            // once: a history is mostly such runs.
            const std::size_t pairs = pairStretch(file, pos);
            if (pairs > 0) {
                const std::size_t at = out.size();
                out.resize(at + pairs * 2);
                char* to = out.data() + at;
                for (const std::size_t end = pos + pairs * 2; pos < end; pos += 2) {
                    to = writeSjisOfJis(to, byteAt(file, pos), byteAt(file, pos + 1));
                }
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
