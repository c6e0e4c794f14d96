#include "common/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace zeko {
namespace {

TEST(Cp1252, EveryByteRoundTripsAndUnassignedBytesKeepTheirControlCharacters) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(char_count(from_cp1252(all)), 256u);
    EXPECT_EQ(to_cp1252(from_cp1252(all)), all);
    EXPECT_EQ(from_cp1252("\x80\x9F\xE9\x81\x9D"), "€Ÿé\u0081\u009D");
    EXPECT_EQ(to_cp1252("“Ç’est ™”"), "\x93\xC7\x92\x65st \x99\x94");
}

TEST(Cp1252, UnrepresentableAndInvalidInputBecomesQuestionMarks) {
    // Only the five unassigned C1 characters stand for bytes; overlong
    // forms must not sneak in a character (least of all "/"), nor surrogate halves or numbers
    // beyond U+10FFFF.
    const std::pair<const char*, const char*> cases[] = {
        {"a😀bあc", "a?b?c"},         {"\u0080\u009F", "??"},  {"a\x80z", "a?z"},
        {"\xC3\x41", "?A"},          {"\xF0\x9F\x98", "???"}, {"\xC0\xAF", "??"},
        {"\xE0\x82\xAC", "???"},     {"\xED\xA0\x80", "???"}, {"\xF4\x90\x80\x80", "????"},
        {"\xF4\x8F\xBF\xBF|", "?|"}, {"\xED\x9F\xBF", "?"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(to_cp1252(in), out) << in;
        EXPECT_EQ(char_count(in), to_cp1252(in).size()) << in;
    }
}

TEST(FixedField, PadsCutsReadsAndCapsTheLengthByteAt255) {
    EXPECT_EQ(to_fixed_field("Bob", 6), "Bob   ");
    EXPECT_EQ(to_fixed_field("Élodie", 3), "\xC9lo");
    EXPECT_EQ(length_byte("é€"), 2);
    EXPECT_EQ(length_byte(std::string(300, 'a')), 255);
    EXPECT_EQ(read_fixed_field("ab    ", 3), "ab ");
    EXPECT_EQ(read_fixed_field(to_fixed_field("Zoë €", 20), length_byte("Zoë €")), "Zoë €");
}

}  // namespace
}  // namespace zeko
