#pragma once
// What every fuzz target shares: a Qt application on the offscreen platform
// (fonts need one), a program folder of its own in a temporary folder, and a
// check that stops the run with a message libFuzzer keeps.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <QString>

namespace belvorine::fuzz {

// Creates the application and the program folder once; every later call
// returns the folder's path ("<folder>/belvorine" is the program's path).
QString programFolder();

// "<folder>/belvorine.<extension>"
QString programFile(const char* extension);

// Writes `content` to a file of the program folder, replacing it; an empty
// view removes the file instead.
void putFile(const char* extension, std::string_view content);

// The whole content of a file of the program folder, or an empty string.
std::string fileContent(const char* extension);

// Splits the input at form feeds (which no settings, layout or data file
// holds) into at most `count` parts; missing parts are empty.
template <std::size_t N>
void splitInput(const std::uint8_t* data, std::size_t size, std::string_view (&parts)[N]) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t cut = i + 1 < N ? rest.find('\f') : std::string_view::npos;
        parts[i] = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
}

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

}  // namespace belvorine::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::belvorine::fuzz::fail(#condition, __FILE__, __LINE__))
