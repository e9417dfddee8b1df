#include "platform/sjis_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace belvorine {
namespace {

// One converter per direction, opened on first use. The program has one
// thread, so the converters are never shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much as possible; returns the number of input bytes
    // consumed and appends the output. Stops at the first sequence that
    // cannot be converted.
    std::size_t convert(const char* in, std::size_t inSize, std::string& out) {
        char* inPtr = const_cast<char*>(in);
        std::size_t inLeft = inSize;
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t rc = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, sizeof buffer - outLeft);
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                break;
            }
        }
        return inSize - inLeft;
    }

private:
    iconv_t handle_;
};

Converter& decoder() {
    static Converter converter("UTF-16LE", "CP932");
    return converter;
}

Converter& encoder() {
    static Converter converter("CP932", "UTF-16LE");
    return converter;
}

QString utf16ToQString(const std::string& utf16) {
    return QString(reinterpret_cast<const QChar*>(utf16.data()),
                   static_cast<qsizetype>(utf16.size() / 2));
}

// Encodes the text and reports where encoding stopped (-1 when all of it
// was converted).
qsizetype encodeUntilFailure(const QString& text, std::string& out) {
    Converter& conv = encoder();
    out.clear();
    if (!conv.valid()) {
        return 0;
    }
    conv.reset();
    const char* data = reinterpret_cast<const char*>(text.utf16());
    const std::size_t size = static_cast<std::size_t>(text.size()) * 2;
    const std::size_t used = conv.convert(data, size, out);
    return used == size ? -1 : static_cast<qsizetype>(used / 2);
}

}  // namespace

QString fromSjis(std::string_view bytes) {
    Converter& conv = decoder();
    if (!conv.valid()) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    conv.reset();
    std::string utf16;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        pos += conv.convert(bytes.data() + pos, bytes.size() - pos, utf16);
        if (pos < bytes.size()) {
            // An undefined byte or pair: show a replacement character and
            // go on after it (after the pair when it is a lead byte).
            utf16.append("\xFD\xFF", 2);
            const bool pair =
                isSjisLeadByte(static_cast<unsigned char>(bytes[pos])) && pos + 1 < bytes.size();
            pos += pair ? 2 : 1;
            conv.reset();
        }
    }
    return utf16ToQString(utf16);
}

QString fromSjisBuffer(const char* buffer, std::size_t capacity) {
    return fromSjis(sjisView(buffer, capacity));
}

int toSjis(const QString& text, std::string& out) {
    if (encodeUntilFailure(text, out) >= 0) {
        out.clear();
        return 0;
    }
    return 1;
}

std::string toSjisLossy(const QString& text) {
    std::string out;
    QString rest = text;
    for (;;) {
        std::string part;
        const qsizetype failedAt = encodeUntilFailure(rest, part);
        out += part;
        if (failedAt < 0) {
            return out;
        }
        const qsizetype skip = rest.at(failedAt).isHighSurrogate() ? 2 : 1;
        rest = rest.mid(failedAt + skip);
    }
}

QString firstUnrepresentable(const QString& text) {
    std::string ignored;
    const qsizetype failedAt = encodeUntilFailure(text, ignored);
    if (failedAt < 0) {
        return QString();
    }
    const qsizetype length =
        text.at(failedAt).isHighSurrogate() && failedAt + 1 < text.size() ? 2 : 1;
    return text.mid(failedAt, length);
}

std::size_t sjisPrefixLength(std::string_view text, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t width =
            isSjisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
        if (pos + width > maxBytes) {
            break;
        }
        pos += width;
    }
    return pos;
}

std::size_t copySjis(char* dest, std::size_t destSize, std::string_view text) {
    if (destSize == 0) {
        return 0;
    }
    const std::size_t length = sjisPrefixLength(text, destSize - 1);
    // An empty view may hold no pointer at all.
    if (length > 0) {
        std::memmove(dest, text.data(), length);
    }
    dest[length] = '\0';
    return length;
}

std::string_view sjisView(const char* buffer, std::size_t capacity) {
    const void* end = std::memchr(buffer, '\0', capacity);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : capacity;
    return std::string_view(buffer, length);
}

}  // namespace belvorine
