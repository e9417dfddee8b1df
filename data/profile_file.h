#pragma once
// Private-profile files ("[SECTION]" and "key=value" lines) whose values are
// whole records: the record's bytes as upper-case hex pairs followed by a
// checksum byte, the sum of the bytes modulo 256. Users' existing settings
// and layout files were written this way, so reading and writing keep the
// original platform's rules.

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <QString>

#include "platform/safe_file.h"

namespace belvorine {

// "4142" + checksum "83" for the bytes 'A' 'B'.
std::string encodeRecord(const void* data, std::size_t size);

// Decodes `value` into the `size` bytes at `dest`. Returns 0 and leaves
// `dest` unchanged when the length is not 2 × size + 2, a digit is not hex
// (either case) or the checksum differs.
int decodeRecord(std::string_view value, void* dest, std::size_t size);

// A profile file parsed once into its sections and keys.
class ProfileFile {
public:
    ProfileFile() = default;
    // Parses the file's bytes (Shift-JIS or ASCII; never decoded). Lines
    // that mean nothing are skipped; nothing in the bytes can fail it.
    explicit ProfileFile(std::string_view bytes);

    // Reads and parses the file at `path`; a missing or unreadable file
    // gives an empty profile. `status`, when given, tells which.
    static ProfileFile read(const QString& path, FileRead* status = nullptr);

    // The value of the first `key` of the first section named `section`
    // (names compared ignoring ASCII case), or nullptr.
    const std::string* value(std::string_view section, std::string_view key) const;

    // Reads the record stored under `section`/`key` into `dest`. Returns 0
    // and leaves `dest` unchanged when the key is missing or its value does
    // not decode.
    template <class Record>
    int readRecord(std::string_view section, std::string_view key, Record& dest) const {
        static_assert(std::is_trivially_copyable_v<Record>);
        const std::string* text = value(section, key);
        return text ? decodeRecord(*text, &dest, sizeof dest) : 0;
    }

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    void parseLine(std::string_view line);

    std::vector<Section> sections_;
};

// Builds a profile file in memory as the original program wrote it: the
// do-not-edit comment line, then sections and keys in the order added, every
// line ending in CR LF, no blank lines.
class ProfileWriter {
public:
    ProfileWriter();

    void section(std::string_view name);

    template <class Record>
    void record(std::string_view key, const Record& data) {
        static_assert(std::is_trivially_copyable_v<Record>);
        addLine(key, encodeRecord(&data, sizeof data));
    }

    // A value written as it is; `value` holds no line break.
    void value(std::string_view key, std::string_view value) { addLine(key, value); }

    const std::string& text() const { return text_; }

private:
    void addLine(std::string_view key, std::string_view value);

    std::string text_;
};

}  // namespace belvorine
