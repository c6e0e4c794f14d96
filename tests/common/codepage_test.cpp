#include "common/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace zeko {
namespace {

TEST(Cp1252, ConvertsTheCodePageCharacters) {
    EXPECT_EQ(to_cp1252("Bob the 3rd!"), "Bob the 3rd!");
    EXPECT_EQ(to_cp1252("€"), "\x80");
    EXPECT_EQ(to_cp1252("é"), "\xE9");
    EXPECT_EQ(to_cp1252("Ÿ"), "\x9F");
    EXPECT_EQ(to_cp1252("“Ç’est ™”"),
              "\x93\xC7\x92"
              "est \x99\x94");
    EXPECT_EQ(from_cp1252("\x80"), "€");
    EXPECT_EQ(from_cp1252("\xE9"), "é");
    EXPECT_EQ(from_cp1252("\x9F"), "Ÿ");
    EXPECT_EQ(from_cp1252("\xA0\xFF\x8A\x9C"), "\u00A0ÿŠœ");
    EXPECT_EQ(from_cp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp1252, UnassignedBytesRoundTripThroughTheirControlCharacters) {
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        std::string byte(1, static_cast<char>(b));
        std::string utf8 = {static_cast<char>(0xC2), static_cast<char>(b)};
        EXPECT_EQ(from_cp1252(byte), utf8) << int(b);
        EXPECT_EQ(to_cp1252(utf8), byte) << int(b);
    }
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8 = from_cp1252(all);
    EXPECT_EQ(char_count(utf8), 256u);
    EXPECT_EQ(to_cp1252(utf8), all);
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(to_cp1252(from_cp1252(one)), one) << b;
    }
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeOneQuestionMark) {
    EXPECT_EQ(to_cp1252("あ"), "?");
    EXPECT_EQ(to_cp1252("😀"), "?");
    EXPECT_EQ(to_cp1252("a😀bあc"), "a?b?c");
    EXPECT_EQ(to_cp1252("ā Ω"), "? ?");
    // U+0080 and friends are not the code page's characters; only the five unassigned ones
    // stand for bytes.
    EXPECT_EQ(to_cp1252("\u0080\u009F"), "??");
}

TEST(Cp1252, InvalidUtf8GivesAQuestionMarkPerBadByte) {
    EXPECT_EQ(to_cp1252("\xFF"), "?");
    EXPECT_EQ(to_cp1252("a\x80z"), "a?z");
    EXPECT_EQ(to_cp1252("\xC3"), "?");
    EXPECT_EQ(to_cp1252("\xC3"
                        "A"),
              "?A");
    EXPECT_EQ(to_cp1252("\xE2\x82"), "??");
    EXPECT_EQ(to_cp1252("\xE2\x82"
                        "A"),
              "??A");
    EXPECT_EQ(to_cp1252("\xF0\x9F\x98"), "???");
    // Overlong forms must not sneak in a character, least of all "/" or a plain letter.
    EXPECT_EQ(to_cp1252("\xC0\xAF"), "??");
    EXPECT_EQ(to_cp1252("\xC1\x81"), "??");
    EXPECT_EQ(to_cp1252("\xE0\x82\xAC"), "???");
    EXPECT_EQ(to_cp1252("\xF0\x82\x82\xAC"), "????");
    // Surrogate halves and numbers beyond U+10FFFF are not characters either.
    EXPECT_EQ(to_cp1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(to_cp1252("\xF4\x90\x80\x80"), "????");
    EXPECT_EQ(to_cp1252("\xF5\x80\x80\x80"), "????");
    // The largest character and the last before the surrogates are fine.
    EXPECT_EQ(to_cp1252("\xF4\x8F\xBF\xBF|\xED\x9F\xBF"), "?|?");
}

TEST(Cp1252, CharCountIsTheByteCountOnDisk) {
    EXPECT_EQ(char_count(""), 0u);
    EXPECT_EQ(char_count("abc"), 3u);
    EXPECT_EQ(char_count("é€"), 2u);
    EXPECT_EQ(char_count("😀"), 1u);
    for (const char* s : {"Élodie €5", "a😀bあc",
                          "\xE2\x82"
                          "A",
                          "\xC0\xAF", "\xED\xA0\x80x", "\xF4\x90\x80\x80", "\xFF\xFE"})
        EXPECT_EQ(char_count(s), to_cp1252(s).size()) << s;
}

TEST(FixedField, PadsOrCutsInTheCodePage) {
    EXPECT_EQ(to_fixed_field("Bob", 6), "Bob   ");
    EXPECT_EQ(to_fixed_field("Élodie", 3), "\xC9lo");
    EXPECT_EQ(to_fixed_field("€", 2), "\x80 ");
    EXPECT_EQ(to_fixed_field("あいう", 4), "??? ");
    EXPECT_EQ(to_fixed_field("x", 0), "");
    EXPECT_EQ(to_fixed_field("", 3), "   ");
}

TEST(FixedField, LengthByteCountsCharactersUpTo255) {
    EXPECT_EQ(length_byte(""), 0);
    EXPECT_EQ(length_byte("Bob"), 3);
    EXPECT_EQ(length_byte("é€"), 2);
    EXPECT_EQ(length_byte("Bob  "), 5);
    EXPECT_EQ(length_byte(std::string(255, 'a')), 255);
    EXPECT_EQ(length_byte(std::string(300, 'a')), 255);
}

TEST(FixedField, ReaderTakesTheTypedLength) {
    EXPECT_EQ(read_fixed_field("Bob   ", 3), "Bob");
    EXPECT_EQ(read_fixed_field("ab    ", 3), "ab ");
    EXPECT_EQ(read_fixed_field("Bob   ", 0), "");
    EXPECT_EQ(read_fixed_field("\xC9lo", 10), "Élo");
    EXPECT_EQ(read_fixed_field("", 5), "");
    std::string field = to_fixed_field("Zoë €", 20);
    EXPECT_EQ(read_fixed_field(field, length_byte("Zoë €")), "Zoë €");
}

}  // namespace
}  // namespace zeko
