#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/errors.h"
#include "map/city_map.h"
#include "support/failing_files.h"
#include "support/fakes.h"

namespace zeko {
namespace {

using namespace testing;

std::string scrambled_text(std::string plain) {
    scramble_map(plain);
    return plain;
}

TEST(MapFileBytes, KeyPositionsByteArithmeticAndEveryByteAtEveryKeyPosition) {
    EXPECT_EQ(BYTE_ADD(200, 100), 44);
    EXPECT_EQ(BYTE_SUB(0, 1), 255);
    // Scrambling zero bytes leaves the key itself.
    const std::string key = scrambled_text(std::string(181, '\0'));
    auto at = [&](size_t position) { return static_cast<unsigned char>(key[position - 1]); };
    EXPECT_EQ(at(1), 'B' + 'Q');
    EXPECT_EQ(at(9), ('o' + 0xB2) - 256);  // the superscript two, wrapping past 255
    EXPECT_EQ(at(10), 'n' + 'Q');          // tenth of the first key, first of the second
    EXPECT_EQ(at(11), 'B' + '.');          // first of the first key, second of the second
    for (size_t p = 1; p <= 90; ++p)
        EXPECT_EQ(at(p), at(p + 90)) << p;  // both keys start over together

    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (size_t shift = 0; shift < 90; ++shift) {
        std::string bytes = scrambled_text(std::string(shift, 'a') + all);
        unscramble_map(bytes);
        EXPECT_EQ(bytes, std::string(shift, 'a') + all);
    }
    // And through the loader: every byte in a name comes back, as UTF-8.
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_map({"0020020001" + all}));
    CityMap map(folder.path());
    map.LOAD_MAP();
    EXPECT_EQ(map.PLACE_NAMES(1), from_cp1252(all));
}

TEST(MapFileLoad, RecordsNamesAndWhatIsIgnored) {
    TempFolder folder;
    write_bytes(folder / "map.dat",  // any letter case
                scrambled_text("0020020101Bank A/\\/0040040101Bank B/\\/2002000005/\\/"
                               " 2   6 +92 Odd Spacing/\\/-00+02  1 Signs/\\/"
                               "0100100008A/B\\C/\\/0060060003Tail/\\/0080080004Cut/\\"));
    CityMap map(folder.path());
    map.PLACE_NAMES(5) = "Old Name";
    map.SET_MAP_CODE(100, 100, 96);  // the loader adds to what is there
    map.LOAD_MAP();
    EXPECT_TRUE(map.MAP_LOADED);
    const std::array<int, 3> cells[] = {{2, 2, 101}, {200, 200, 5}, {0, 2, 1},
                                        {6, 6, 3},   {8, 8, 0},     {100, 100, 96}};
    for (const auto& [x, y, code] : cells)
        EXPECT_EQ(map.cell(x, y), code) << x << "," << y;  // (8, 8): a mark cut short at the end
    EXPECT_EQ(map.PLACE_NAMES(101), "Bank B");
    EXPECT_EQ(map.PLACE_NAMES(5), "");
    EXPECT_EQ(map.PLACE_NAMES(92), " Odd Spacing");
    EXPECT_EQ(map.PLACE_NAMES(8), "A/B\\C");
    EXPECT_FALSE(std::filesystem::exists(folder / "MAP.DAT"));

    // Text without a closing mark is not applied; a missing file is created empty.
    write_bytes(folder / "map.dat", scrambled_text("0020020001No Mark"));
    CityMap unmarked(folder.path());
    unmarked.LOAD_MAP();
    EXPECT_EQ(unmarked.cell(2, 2), 0);
    TempFolder empty;
    EXPECT_EQ(CityMap(empty.path()).GET_MAP_CODE(100, 100), 0);
    EXPECT_EQ(std::filesystem::file_size(empty / "MAP.DAT"), 0u);
}

TEST(MapFileLoad, ABadRecordIsCheckedWholeAndEndsTheLoad) {
    const std::pair<std::string, int> cases[] = {
        {"abc0060001Letters", 13}, {"00600600a1", 13},        {"0 60060001", 13},
        {"+-6006  01", 13},        {"006006001", 13},         {"", 13},
        {"2010060001Far East", 9}, {"-010060001West", 9},     {"0062010001Far South", 9},
        {"0060060301Big Code", 9}, {"006006-001Negative", 9},
    };
    for (const auto& [record, error] : cases) {
        SCOPED_TRACE(record);
        TempFolder folder;
        write_bytes(folder / "MAP.DAT",
                    scrambled_map({"0020020001First Pub", record, "0040040002Second Pub"}));
        CityMap map(folder.path());
        EXPECT_EQ(error_of([&] { map.LOAD_MAP(); }), error);
        EXPECT_FALSE(map.MAP_LOADED);
        EXPECT_EQ(map.cell(2, 2), 1);
        EXPECT_TRUE(map.cell(6, 6) == 0 &&
                    map.cell(4, 4) == 0);  // the refused record and those after it
        EXPECT_EQ(map.PLACE_NAMES(2), "");
        // The next lookup tries again and fails the same way until the file is mended.
        EXPECT_EQ(error_of([&] { map.GET_MAP_CODE(4, 4); }), error);
        write_bytes(folder / "MAP.DAT", scrambled_map({"0040040002Second Pub"}));
        EXPECT_EQ(map.GET_MAP_CODE(4, 4), 2);
    }
    TempFolder folder;
    CityMap map(folder.path());
    map.PARSE_MAP_RECORD("1000980231Someone's Keep");
    EXPECT_EQ(error_of([&] { map.PARSE_MAP_RECORD("1000980999Too High"); }), 9);
    EXPECT_EQ(map.cell(100, 98), 231);
    EXPECT_EQ(map.PLACE_NAMES(231), "Someone's Keep");
}

TEST(MapFileLoad, FilesOf32768BytesOrMoreFoldersAndUncreatableFilesAreRefused) {
    const std::string head = "0020020001Pub/\\/0040040002";
    auto plain_of = [&](size_t total) {
        return head + std::string(total - head.size() - 3, 'n') + "/\\/";
    };
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_text(plain_of(32768)));
    CityMap map(folder.path());
    EXPECT_EQ(error_of([&] { map.LOAD_MAP(); }), 6);
    EXPECT_EQ(map.cell(2, 2), 0);
    EXPECT_EQ(read_bytes(folder / "MAP.DAT").size(), 32768u);
    write_bytes(folder / "MAP.DAT", scrambled_text(plain_of(32767)));
    map.LOAD_MAP();
    EXPECT_EQ(map.cell(4, 4), 2);
    EXPECT_EQ(map.PLACE_NAMES(2).size(), 32767u - head.size() - 3);

    std::filesystem::remove(folder / "MAP.DAT");
    std::filesystem::create_directory(folder / "MAP.DAT");
    CityMap folder_in_place(folder.path());
    EXPECT_NE(error_of([&] { folder_in_place.LOAD_MAP(); }), 0);
    EXPECT_FALSE(folder_in_place.MAP_LOADED);
    // A missing map that a read-only folder does not let the loader create.
    TempFolder read_only;
    FailingFiles files;
    CityMap none(read_only.path(), files.read_only());
    EXPECT_EQ(error_of([&] { none.LOAD_MAP(); }), 70);
    EXPECT_FALSE(none.MAP_LOADED);
}

}  // namespace
}  // namespace zeko
