#include "data/profile_file.h"

#include <cstring>

#include "data/name_compare.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    return -1;
}

// Reads the byte written as two hex digits at `text`; -1 for a non-hex digit.
int hexByte(const char* text) {
    const int high = hexValue(text[0]);
    const int low = hexValue(text[1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

std::string encodeRecord(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string text;
    text.reserve(size * 2 + 2);
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        text += kHexDigits[bytes[i] >> 4];
        text += kHexDigits[bytes[i] & 0x0F];
        sum += bytes[i];
    }
    text += kHexDigits[(sum >> 4) & 0x0F];
    text += kHexDigits[sum & 0x0F];
    return text;
}

int decodeRecord(std::string_view value, void* dest, std::size_t size) {
    if (value.size() != size * 2 + 2) {
        return 0;
    }
    std::vector<unsigned char> bytes(size);
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const int byte = hexByte(value.data() + i * 2);
        if (byte < 0) {
            return 0;
        }
        bytes[i] = static_cast<unsigned char>(byte);
        sum += bytes[i];
    }
    const int checksum = hexByte(value.data() + size * 2);
    if (checksum < 0 || static_cast<unsigned>(checksum) != (sum & 0xFF)) {
        return 0;
    }
    if (size > 0) {
        std::memcpy(dest, bytes.data(), size);
    }
    return 1;
}

ProfileFile::ProfileFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = pos;
        while (end < bytes.size() && !isLineEnd(bytes[end])) {
            ++end;
        }
        parseLine(trim(bytes.substr(pos, end - pos)));
        pos = end;
        while (pos < bytes.size() && isLineEnd(bytes[pos])) {
            ++pos;
        }
    }
}

ProfileFile ProfileFile::read(const QString& path, FileRead* status) {
    std::string content;
    // No real settings or layout file comes near a megabyte.
    constexpr long long kMaxProfileBytes = 16LL * 1024 * 1024;
    const FileRead result = readFileBounded(path, content, kMaxProfileBytes);
    if (status) {
        *status = result;
    }
    return ProfileFile(content);
}

void ProfileFile::parseLine(std::string_view line) {
    if (line.empty() || line.front() == ';') {
        return;
    }
    if (line.front() == '[') {
        const std::size_t close = line.rfind(']');
        if (close != std::string_view::npos) {
            sections_.push_back(Section{std::string(trim(line.substr(1, close - 1))), {}});
            return;
        }
    }
    // Keys before the first section belong to no section anyone can name.
    if (sections_.empty()) {
        return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    sections_.back().entries.push_back(Entry{std::string(trim(line.substr(0, equals))),
                                             std::string(trim(line.substr(equals + 1)))});
}

const std::string* ProfileFile::value(std::string_view section, std::string_view key) const {
    for (const Section& candidate : sections_) {
        if (!sameNameIgnoringCase(candidate.name, section)) {
            continue;
        }
        // Only the first section of that name counts, as on the original
        // platform: a later duplicate is never searched.
        for (const Entry& entry : candidate.entries) {
            if (sameNameIgnoringCase(entry.key, key)) {
                return &entry.value;
            }
        }
        return nullptr;
    }
    return nullptr;
}

ProfileWriter::ProfileWriter() {
    text_ = toSjisLossy(QStringLiteral(";***** このファイルは編集しないでください *****"));
    text_ += "\r\n";
}

void ProfileWriter::section(std::string_view name) {
    text_ += '[';
    text_ += name;
    text_ += "]\r\n";
}

void ProfileWriter::addLine(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += '=';
    text_ += value;
    text_ += "\r\n";
}

}  // namespace belvorine
