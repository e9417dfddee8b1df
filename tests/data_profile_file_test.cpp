// The private-profile format of the settings and layout files: record
// encoding, the line rules of the original platform and the writer's bytes.

#include <gtest/gtest.h>

#include <cstring>

#include "data/name_compare.h"
#include "data/profile_file.h"

using namespace belvorine;
using namespace std::string_literals;

namespace {

struct Pair {
    char bytes[2];
};

std::string valueOf(const ProfileFile& file, const char* section, const char* key) {
    const std::string* value = file.value(section, key);
    return value ? *value : std::string("<missing>");
}

}  // namespace

TEST(RecordEncoding, HexPairsThenTheChecksum) {
    const char abacus[7] = "abacus";
    EXPECT_EQ(encodeRecord(abacus, sizeof abacus), "616261637573006F");
    const unsigned char high[3] = {0xFF, 0xFF, 0x0A};  // the sum wraps at 256
    EXPECT_EQ(encodeRecord(high, sizeof high), "FFFF0A08");

    char decoded[7] = {};
    ASSERT_EQ(decodeRecord("616261637573006F", decoded, sizeof decoded), 1);
    EXPECT_EQ(std::memcmp(decoded, abacus, sizeof abacus), 0);
    char lower[7] = {};
    EXPECT_EQ(decodeRecord("616261637573006f", lower, sizeof lower), 1);
    EXPECT_EQ(std::memcmp(lower, abacus, sizeof abacus), 0);
}

TEST(RecordEncoding, ABadValueLeavesTheDestinationAlone) {
    const char* bad[] = {
        "616261637573006",    // one digit short
        "616261637573006F0",  // one digit long
        "6162616375730070",   // checksum off by one
        "61626163757300 6F",  // blank inside
        "6G6261637573006F",   // not a hex digit
        "",
    };
    for (const char* value : bad) {
        char dest[7] = {'k', 'e', 'e', 'p', '!', '!', '\0'};
        EXPECT_EQ(decodeRecord(value, dest, sizeof dest), 0) << value;
        EXPECT_STREQ(dest, "keep!!") << value;
    }
}

TEST(ProfileParsing, FindsKeysWithTheOriginalLineRules) {
    const ProfileFile file(
        "; a comment=not a key\r\n"
        "orphan=before any section\r\n"
        "\t [ Page Data ] trailing\x1A\r\n"
        "  Key One \t=  value with = inside \x1A\r\n"
        "no equals sign here\r\n"
        "=empty key\r\n"
        "[a]b]\n"
        "x=1\r"
        "[last]\r\n"
        "k=");
    EXPECT_EQ(valueOf(file, "PAGE DATA", "key one"), "value with = inside");
    EXPECT_EQ(valueOf(file, "page data", "no equals sign here"), "<missing>");
    EXPECT_EQ(valueOf(file, "page data", ""), "empty key");
    EXPECT_EQ(valueOf(file, "page data", "; a comment"), "<missing>");
    EXPECT_EQ(valueOf(file, "", "orphan"), "<missing>");
    EXPECT_EQ(valueOf(file, "a]b", "x"), "1") << "a section name runs to the last ']'";
    EXPECT_EQ(valueOf(file, "last", "k"), "");
}

TEST(ProfileParsing, TheFirstSectionAndTheFirstKeyWin) {
    const ProfileFile file(
        "[S]\r\na=1\r\nA=2\r\n"
        "[s]\r\na=3\r\nb=4\r\n");
    EXPECT_EQ(valueOf(file, "S", "a"), "1");
    // A later section of the same name is never searched.
    EXPECT_EQ(valueOf(file, "S", "b"), "<missing>");
}

TEST(ProfileParsing, LineEndsAndByteOrderMark) {
    for (const char* text : {"[S]\r\nk=v\r\n", "[S]\nk=v\n", "[S]\rk=v\r", "[S]\n\r\n\r\rk=v",
                             "\xEF\xBB\xBF[S]\r\nk=v"}) {
        EXPECT_EQ(valueOf(ProfileFile(text), "S", "k"), "v") << text;
    }
}

TEST(ProfileParsing, OddBytesNeverStopTheReading) {
    std::string text = "[S]\r\n\x82\r\n\xFF\xFE=\x00\x01\r\n[\r\n]\r\n[\x82]\r\n"s;
    text += "[S2]\r\n" + std::string(1 << 20, 'A') + "\r\nk=v\r\n";
    const ProfileFile file(text);
    EXPECT_EQ(valueOf(file, "S2", "k"), "v");
    EXPECT_EQ(valueOf(ProfileFile("\0\0["s), "S", "k"), "<missing>");
}

TEST(NameComparison, FoldsAsciiButNeverATrailByte) {
    EXPECT_TRUE(sameNameIgnoringCase("Layoutdata No.1 -  0", "LAYOUTDATA no.1 -  0"));
    EXPECT_FALSE(sameNameIgnoringCase("Layoutdata No.1 -  0", "Layoutdata No.1 - 0"));
    // "ア" is 0x83 0x41 and "ＭＳ" is 0x82 0x6C 0x82 0x72: their trail bytes
    // look like ASCII letters but are not.
    EXPECT_FALSE(sameNameIgnoringCase("\x83\x41", "\x83\x61"));
    EXPECT_FALSE(sameNameIgnoringCase("\x82\x6C\x82\x72", "\x82\x4C\x82\x52"));
    EXPECT_TRUE(sameNameIgnoringCase("\x82\x6C\x82\x72 x", "\x82\x6C\x82\x72 X"));
}

TEST(ProfileWriting, CommentSectionsAndKeysWithCrLf) {
    ProfileWriter writer;
    writer.section("ONE");
    writer.record("first", Pair{{'A', 'B'}});
    writer.section("TWO");
    writer.record("second", Pair{{'\0', '\xFF'}});
    const std::string expected =
        ";***** \x82\xB1\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x95\xD2\x8F\x57"
        "\x82\xB5\x82\xC8\x82\xA2\x82\xC5\x82\xAD\x82\xBE\x82\xB3\x82\xA2 *****\r\n"
        "[ONE]\r\nfirst=414283\r\n[TWO]\r\nsecond=00FFFF\r\n";
    EXPECT_EQ(writer.text(), expected);

    const ProfileFile file(writer.text());
    Pair read{};
    ASSERT_EQ(file.readRecord("TWO", "second", read), 1);
    EXPECT_EQ(read.bytes[1], '\xFF');
}
