#pragma once
// Shift-JIS (code page 932) text: conversion at the edge of every widget and
// safe copies into the fixed-size byte buffers that records keep.

#include <cstddef>
#include <string>
#include <string_view>

#include <QString>

namespace belvorine {

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool isSjisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Decodes Shift-JIS bytes. A byte sequence that code page 932 does not
// define becomes U+FFFD, so a damaged record never stops the display.
QString fromSjis(std::string_view bytes);

// Decodes a NUL-terminated text held in a buffer of `capacity` bytes; never
// reads past the buffer even when the terminator is missing.
QString fromSjisBuffer(const char* buffer, std::size_t capacity);
template <std::size_t N>
QString fromSjisBuffer(const char (&buffer)[N]) {
    return fromSjisBuffer(buffer, N);
}

// Encodes to Shift-JIS. Returns 0 (and leaves `out` empty) when the text
// holds a character that code page 932 cannot hold; nothing is ever turned
// into "?" silently.
int toSjis(const QString& text, std::string& out);

// Encodes a text that is known to be representable (program texts). A
// character outside code page 932 is dropped.
std::string toSjisLossy(const QString& text);

// The first character of `text` that code page 932 cannot hold, or an empty
// string when there is none. Used by the widgets to refuse it with a message.
QString firstUnrepresentable(const QString& text);

// Length in bytes of the longest prefix of `text` (at most `maxBytes`) that
// ends on a character boundary.
std::size_t sjisPrefixLength(std::string_view text, std::size_t maxBytes);

// Copies `text` into `dest` (`destSize` bytes including the terminator),
// cutting it at a character boundary so that a double-byte character is
// never split, and always NUL-terminates. Returns the bytes copied.
std::size_t copySjis(char* dest, std::size_t destSize, std::string_view text);
template <std::size_t N>
std::size_t copySjis(char (&dest)[N], std::string_view text) {
    return copySjis(dest, N, text);
}

// The text held in a fixed buffer, up to its terminator or the buffer's end.
std::string_view sjisView(const char* buffer, std::size_t capacity);
template <std::size_t N>
std::string_view sjisView(const char (&buffer)[N]) {
    return sjisView(buffer, N);
}

}  // namespace belvorine
