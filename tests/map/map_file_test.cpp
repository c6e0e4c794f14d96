#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/errors.h"
#include "map/city_map.h"
#include "support/fakes.h"

namespace zeko {
namespace {

using testing::error_of;
using testing::read_bytes;
using testing::scrambled_map;
using testing::TempFolder;
using testing::write_bytes;

std::string scrambled_text(std::string plain) {
    scramble_map(plain);
    return plain;
}

TEST(MapFileBytes, ByteArithmeticWraps) {
    EXPECT_EQ(BYTE_ADD(200, 100), 44);
    EXPECT_EQ(BYTE_ADD(255, 1), 0);
    EXPECT_EQ(BYTE_ADD(0, 0), 0);
    EXPECT_EQ(BYTE_SUB(44, 100), 200);
    EXPECT_EQ(BYTE_SUB(0, 1), 255);
    EXPECT_EQ(BYTE_SUB(255, 255), 0);
}

TEST(MapFileBytes, KeyPositions) {
    // Scrambling zero bytes leaves the key itself.
    const std::string key = scrambled_text(std::string(181, '\0'));
    auto at = [&](size_t position) { return static_cast<unsigned char>(key[position - 1]); };
    EXPECT_EQ(at(1), 'B' + 'Q');
    EXPECT_EQ(at(9), ('o' + 0xB2) - 256);  // the superscript two, wrapping past 255
    EXPECT_EQ(at(10), 'n' + 'Q');          // tenth of the first key, first of the second
    EXPECT_EQ(at(11), 'B' + '.');          // first of the first key, second of the second
    EXPECT_EQ(at(91), 'B' + 'Q');          // both keys start over together
    EXPECT_EQ(at(181), 'B' + 'Q');
    for (size_t p = 1; p <= 90; ++p)
        EXPECT_EQ(at(p), at(p + 90)) << p;
}

TEST(MapFileBytes, EveryByteValueSurvives) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    // Start at several offsets so every byte meets many key positions.
    for (size_t shift = 0; shift < 90; ++shift) {
        std::string plain = std::string(shift, 'a') + all;
        std::string bytes = plain;
        scramble_map(bytes);
        EXPECT_NE(bytes, plain);
        unscramble_map(bytes);
        EXPECT_EQ(bytes, plain);
    }

    // And through the loader: every byte in a name comes back, as UTF-8.
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_map({"0020020001" + all}));
    CityMap map(folder.path());
    map.LOAD_MAP();
    EXPECT_EQ(map.PLACE_NAMES(1), from_cp1252(all));
    EXPECT_EQ(map.cell(2, 2), 1);
}

TEST(MapFileLoad, RecordsAndNames) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT",
                scrambled_map({"0020020101Bank A", "0040040101Bank B", "2002000005",
                               " 2   6 +92 Odd Spacing", "-00+02  1 Signs", "0080080007Slash/",
                               "0100100008A/B\\C", "0120120009Caf\xE9 \x80uro"}));
    CityMap map(folder.path());
    map.PLACE_NAMES(5) = "Old Name";
    map.SET_MAP_CODE(100, 100, 96);  // the loader adds to what is there
    map.LOAD_MAP();
    EXPECT_TRUE(map.MAP_LOADED);
    EXPECT_EQ(map.cell(2, 2), 101);
    EXPECT_EQ(map.cell(4, 4), 101);
    EXPECT_EQ(map.PLACE_NAMES(101), "Bank B");
    EXPECT_EQ(map.cell(200, 200), 5);
    EXPECT_EQ(map.PLACE_NAMES(5), "");
    EXPECT_EQ(map.cell(2, 6), 92);
    EXPECT_EQ(map.PLACE_NAMES(92), " Odd Spacing");
    EXPECT_EQ(map.cell(0, 2), 1);
    EXPECT_EQ(map.PLACE_NAMES(1), "Signs");
    EXPECT_EQ(map.PLACE_NAMES(7), "Slash/");
    EXPECT_EQ(map.PLACE_NAMES(8), "A/B\\C");
    EXPECT_EQ(map.PLACE_NAMES(9), "Caf\u00E9 \u20ACuro");
    EXPECT_EQ(map.cell(100, 100), 96);
}

TEST(MapFileLoad, MissingFileIsCreatedEmpty) {
    TempFolder folder;
    CityMap map(folder.path());
    EXPECT_EQ(map.GET_MAP_CODE(100, 100), 0);
    EXPECT_TRUE(map.MAP_LOADED);
    ASSERT_TRUE(std::filesystem::exists(folder / "MAP.DAT"));
    EXPECT_EQ(std::filesystem::file_size(folder / "MAP.DAT"), 0u);
    for (int16_t code : map.MAP_GRID)
        ASSERT_EQ(code, 0);
}

TEST(MapFileLoad, TextWithoutAClosingMarkIsNotApplied) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_text("0020020001No Mark"));
    CityMap a(folder.path());
    a.LOAD_MAP();
    EXPECT_TRUE(a.MAP_LOADED);
    EXPECT_EQ(a.cell(2, 2), 0);
    EXPECT_EQ(a.PLACE_NAMES(1), "");

    // Text after the last mark, and a mark cut short at the end, are ignored too.
    write_bytes(folder / "MAP.DAT",
                scrambled_text("0020020001Pub/\\/0040040002Tail/\\/0060060003Cut/\\"));
    CityMap b(folder.path());
    b.LOAD_MAP();
    EXPECT_TRUE(b.MAP_LOADED);
    EXPECT_EQ(b.cell(2, 2), 1);
    EXPECT_EQ(b.cell(4, 4), 2);
    EXPECT_EQ(b.cell(6, 6), 0);
    EXPECT_EQ(b.PLACE_NAMES(3), "");
}

TEST(MapFileLoad, FileNameInAnyCase) {
    TempFolder folder;
    write_bytes(folder / "map.dat", scrambled_map({"0020020001Lower Case"}));
    CityMap map(folder.path());
    EXPECT_EQ(map.GET_MAP_CODE(2, 2), 1);
    EXPECT_EQ(map.PLACE_NAME(1), "Lower Case");
    // No second file was made beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

struct BadRecord {
    std::string record;
    int error;
};

TEST(MapFileLoad, BadRecordEndsTheLoad) {
    const std::vector<BadRecord> cases = {
        {"abc0060001Letters", 13},       // x not a number
        {"0060x60001", 13},              // y not a number
        {"00600600a1", 13},              // code not a number
        {"   0060001Blank x", 13},       // blanks only
        {"0 60060001", 13},              // blank inside the number
        {"+-6006  01", 13},              // two signs
        {"2010060001Far East", 9},       // x above 200
        {"-010060001West", 9},           // x below 0
        {"0062010001Far South", 9},      // y above 200
        {"0060060301Big Code", 9},       // code above 300
        {"006006-001Negative Code", 9},  // code below 0
        {"006006001", 13},               // nine characters
        {"", 13},                        // empty record between two marks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        TempFolder folder;
        write_bytes(folder / "MAP.DAT",
                    scrambled_map({"0020020001First Pub", c.record, "0040040002Second Pub"}));
        CityMap map(folder.path());
        EXPECT_EQ(error_of([&] { map.LOAD_MAP(); }), c.error);
        EXPECT_FALSE(map.MAP_LOADED);
        EXPECT_EQ(map.cell(2, 2), 1);
        EXPECT_EQ(map.PLACE_NAMES(1), "First Pub");
        EXPECT_EQ(map.cell(6, 6), 0);  // the refused record leaves nothing
        EXPECT_EQ(map.cell(4, 4), 0);
        EXPECT_EQ(map.PLACE_NAMES(2), "");

        // The next lookup tries again from the start, and fails the same way ...
        EXPECT_EQ(error_of([&] { map.GET_MAP_CODE(4, 4); }), c.error);
        EXPECT_FALSE(map.MAP_LOADED);
        // ... until the file is mended.
        write_bytes(folder / "MAP.DAT", scrambled_map({"0040040002Second Pub"}));
        EXPECT_EQ(map.GET_MAP_CODE(4, 4), 2);
        EXPECT_TRUE(map.MAP_LOADED);
        EXPECT_EQ(map.PLACE_NAMES(2), "Second Pub");
    }
}

TEST(MapFileLoad, SizeLimit) {
    const std::string head = "0020020001Pub/\\/0040040002";
    const std::string mark = "/\\/";
    auto plain_of = [&](size_t total) {
        return head + std::string(total - head.size() - mark.size(), 'n') + mark;
    };

    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_text(plain_of(32768)));
    CityMap map(folder.path());
    EXPECT_EQ(error_of([&] { map.LOAD_MAP(); }), 6);
    EXPECT_FALSE(map.MAP_LOADED);
    EXPECT_EQ(map.cell(2, 2), 0);  // refused before any record
    EXPECT_EQ(map.PLACE_NAMES(1), "");
    EXPECT_EQ(read_bytes(folder / "MAP.DAT").size(), 32768u);

    write_bytes(folder / "MAP.DAT", scrambled_text(plain_of(32767)));
    map.LOAD_MAP();
    EXPECT_TRUE(map.MAP_LOADED);
    EXPECT_EQ(map.cell(2, 2), 1);
    EXPECT_EQ(map.cell(4, 4), 2);
    EXPECT_EQ(map.PLACE_NAMES(2).size(), 32767u - head.size() - mark.size());
}

TEST(MapFileLoad, FolderInPlaceOfTheFileFails) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "MAP.DAT");
    CityMap map(folder.path());
    EXPECT_NE(error_of([&] { map.LOAD_MAP(); }), 0);
    EXPECT_FALSE(map.MAP_LOADED);
}

TEST(MapFileLoad, ParseMapRecordAppliesOneRecord) {
    TempFolder folder;
    CityMap map(folder.path());
    map.PARSE_MAP_RECORD("1000980231Someone's Keep");
    EXPECT_EQ(map.cell(100, 98), 231);
    EXPECT_EQ(map.PLACE_NAMES(231), "Someone's Keep");
    EXPECT_EQ(error_of([&] { map.PARSE_MAP_RECORD("1000980999Too High"); }), 9);
    EXPECT_EQ(map.cell(100, 98), 231);
    EXPECT_FALSE(map.MAP_LOADED);
}

}  // namespace
}  // namespace zeko
