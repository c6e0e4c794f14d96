#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "map/vamp_db.h"

namespace zeko {
namespace {

using Bytes = std::array<uint8_t, kVampRecordBytes>;

std::string blanks(size_t n) {
    return std::string(n, ' ');
}

std::string field(const Bytes& b, size_t at, size_t n) {
    return std::string(reinterpret_cast<const char*>(b.data()) + at, n);
}

TEST(VampRecord, LayoutMatchesTheFile) {
    VAMP fresh;
    Bytes b = encode_vamp(fresh);
    EXPECT_EQ(field(b, 0, 49), blanks(49));
    EXPECT_EQ(b[49], 0);  // RESERVED
    EXPECT_EQ(b[50], 0);
    EXPECT_EQ(field(b, 51, 50), blanks(50));
    EXPECT_EQ(field(b, 102, 50), blanks(50));
    EXPECT_EQ(b[153], 100);  // POS_X 100
    EXPECT_EQ(b[154], 0);
    EXPECT_EQ(b[155], 100);  // POS_Y 100
    for (size_t i = 157; i < 165; ++i)
        EXPECT_EQ(b[i], 0) << i;

    VAMP v;
    v.set_handle("Vlad");
    v.set_name("Dracula");
    v.set_password("garlic");
    v.POS_X = 0x1234;
    v.POS_Y = -2;
    v.DEST_X = 199;
    v.DEST_Y = -32768;
    v.AUTOLOGIN = kTrue;
    v.DELETED = kTrue;
    b = encode_vamp(v);
    EXPECT_EQ(field(b, 0, 49), "Vlad" + blanks(45));
    EXPECT_EQ(b[50], 4);
    EXPECT_EQ(field(b, 51, 50), "Dracula" + blanks(43));
    EXPECT_EQ(b[101], 7);
    EXPECT_EQ(field(b, 102, 50), "garlic" + blanks(44));
    EXPECT_EQ(b[152], 6);
    EXPECT_EQ(b[153], 0x34);
    EXPECT_EQ(b[154], 0x12);
    EXPECT_EQ(b[155], 0xFE);
    EXPECT_EQ(b[156], 0xFF);
    EXPECT_EQ(b[157], 199);
    EXPECT_EQ(b[158], 0);
    EXPECT_EQ(b[159], 0x00);
    EXPECT_EQ(b[160], 0x80);
    EXPECT_EQ(b[161], 0xFF);  // -1 is FF FF
    EXPECT_EQ(b[162], 0xFF);
    EXPECT_EQ(b[163], 0xFF);
    EXPECT_EQ(b[164], 0xFF);
    EXPECT_EQ(decode_vamp(b), v);
}

TEST(VampRecord, EveryByteAtEveryOffsetSurvives) {
    Bytes base{};
    for (size_t i = 0; i < base.size(); ++i)
        base[i] = static_cast<uint8_t>(i * 37 + 11);
    const uint8_t odd[] = {0x00, 0x01, 0x20, 0x7F, 0x80, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0, 0xFF};
    for (size_t at = 0; at < base.size(); ++at) {
        for (uint8_t value : odd) {
            Bytes b = base;
            b[at] = value;
            ASSERT_EQ(encode_vamp(decode_vamp(b)), b) << "offset " << at << " byte " << +value;
        }
    }
}

TEST(VampRecord, TextsAreCutPaddedAndCounted) {
    VAMP v;
    v.set_handle("Bob");
    EXPECT_EQ(v.handle(), "Bob");
    EXPECT_EQ(v.handle_field(), "Bob" + blanks(46));
    EXPECT_EQ(v.HANDLE_LEN, 3);

    // A 60-character handle keeps its first 49 characters and its typed length.
    const std::string sixty = std::string(40, 'a') + std::string(20, 'b');
    v.set_handle(sixty);
    EXPECT_EQ(v.HANDLE_LEN, 60);
    EXPECT_EQ(v.handle(), sixty.substr(0, 49));
    EXPECT_EQ(v.handle_field(), sixty.substr(0, 49));

    // The length byte stops at 255 rather than wrapping (256 would read as 0).
    v.set_name(std::string(255, 'n'));
    EXPECT_EQ(v.NAME_LEN, 255);
    v.set_name(std::string(256, 'n'));
    EXPECT_EQ(v.NAME_LEN, 255);
    EXPECT_EQ(v.name(), std::string(50, 'n'));
    v.set_password(std::string(1000, 'p'));
    EXPECT_EQ(v.PASSWORD_LEN, 255);
    EXPECT_EQ(v.password(), std::string(50, 'p'));

    // A shorter text replaces a longer one whole: no tail of the old one is left.
    v.set_password("ab");
    EXPECT_EQ(std::string(v.PASSWORD.data(), 50), "ab" + blanks(48));
    EXPECT_EQ(v.password(), "ab");

    v.set_handle("");
    EXPECT_EQ(v.HANDLE_LEN, 0);
    EXPECT_EQ(v.handle(), "");
    EXPECT_EQ(v.handle_field(), blanks(49));
}

TEST(VampRecord, TextsAreOneBytePerCharacterInWindows1252) {
    VAMP v;
    v.set_name("Zoë");
    EXPECT_EQ(v.NAME_LEN, 3);
    EXPECT_EQ(std::string(v.NAME.data(), 4), "Zo\xEB ");
    EXPECT_EQ(v.name(), "Zoë");
    Bytes b = encode_vamp(v);
    EXPECT_EQ(b[53], 0xEB);
    EXPECT_EQ(b[54], ' ');

    v.set_handle("€uro");
    EXPECT_EQ(v.HANDLE_LEN, 4);
    EXPECT_EQ(static_cast<uint8_t>(v.HANDLE[0]), 0x80);
    EXPECT_EQ(v.handle_field(), "€uro" + blanks(45));

    // Characters the code page lacks are stored as "?".
    v.set_password("x日y");
    EXPECT_EQ(v.PASSWORD_LEN, 3);
    EXPECT_EQ(v.password(), "x?y");

    // Bytes the code page leaves unassigned and NULs read and write back unchanged.
    b = encode_vamp(VAMP{});
    b[102] = 0x81;
    b[103] = 0x00;
    b[104] = 0x9D;
    b[152] = 3;
    VAMP odd = decode_vamp(b);
    EXPECT_EQ(odd.password(), std::string("\xC2\x81\0\xC2\x9D", 5));
    EXPECT_EQ(encode_vamp(odd), b);
}

}  // namespace
}  // namespace zeko
