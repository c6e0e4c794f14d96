#include "map/city_map.h"

#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "support/fakes.h"

namespace zeko {
namespace {

using testing::error_of;
using testing::scrambled_map;
using testing::TempFolder;
using testing::write_bytes;

TEST(CityMapGrid, LookupsAtTheGridEdges) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_map({"0000000001Corner Pub", "2002000101Bank"}));
    CityMap map(folder.path());
    EXPECT_EQ(map.GET_MAP_CODE(-1, 5), -1);
    EXPECT_EQ(map.GET_MAP_CODE(201, 0), -1);
    EXPECT_EQ(map.GET_MAP_CODE(0, 201), -1);
    EXPECT_EQ(map.GET_MAP_CODE(200, 200), 101);
    EXPECT_EQ(map.GET_MAP_CODE(0, 0), 1);
    EXPECT_EQ(map.GET_MAP_CODE(200, 0), 0);
    // x varies fastest in the stored grid.
    EXPECT_EQ(map.MAP_GRID[200 + 201 * 200], 101);
}

TEST(CityMapGrid, FirstLookupLoadsEvenOffTheGrid) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_map({"0020040092Station"}));
    CityMap map(folder.path());
    EXPECT_FALSE(map.MAP_LOADED);
    EXPECT_EQ(map.GET_MAP_CODE(-5, 300), -1);
    EXPECT_TRUE(map.MAP_LOADED);
    EXPECT_EQ(map.cell(2, 4), 92);
}

TEST(CityMapGrid, SetAndClearStayOnTheGridAndNeverLoad) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_map({"0020020001Pub"}));
    CityMap map(folder.path());
    map.SET_MAP_CODE(200, 0, 105);
    map.SET_MAP_CODE(0, 200, 119);
    EXPECT_EQ(map.cell(200, 0), 105);
    EXPECT_EQ(map.cell(0, 200), 119);
    map.CLEAR_MAP_CODE(200, 0);
    EXPECT_EQ(map.cell(200, 0), 0);
    EXPECT_EQ(error_of([&] { map.SET_MAP_CODE(201, 0, 1); }), 9);
    EXPECT_EQ(error_of([&] { map.SET_MAP_CODE(0, -1, 1); }), 9);
    EXPECT_EQ(error_of([&] { map.CLEAR_MAP_CODE(-1, 0); }), 9);
    EXPECT_FALSE(map.MAP_LOADED);
    // The load later adds to what is there.
    EXPECT_EQ(map.GET_MAP_CODE(2, 2), 1);
    EXPECT_EQ(map.GET_MAP_CODE(0, 200), 119);
}

TEST(CityMapNames, StreetTables) {
    TempFolder folder;
    CityMap map(folder.path());
    EXPECT_EQ(map.STREET_NAME_X(0), "WCL");
    EXPECT_EQ(map.STREET_NAME_X(1), "Aardvark");
    EXPECT_EQ(map.STREET_NAME_X(50), "Zelkova");
    EXPECT_EQ(map.STREET_NAME_X(51), "Amethyst");
    EXPECT_EQ(map.STREET_NAME_X(100), "Zestless");
    EXPECT_EQ(map.STREET_NAME_Y(0), "NCL");
    const char* ordinals[][2] = {{"1", "1st"},   {"2", "2nd"},   {"3", "3rd"},   {"4", "4th"},
                                 {"11", "11th"}, {"12", "12th"}, {"13", "13th"}, {"21", "21st"},
                                 {"22", "22nd"}, {"23", "23rd"}, {"99", "99th"}, {"100", "100th"},
                                 {"10", "10th"}, {"31", "31st"}, {"52", "52nd"}, {"73", "73rd"}};
    for (const auto& o : ordinals)
        EXPECT_EQ(map.STREET_NAME_Y(std::stoi(o[0])), o[1]);
    EXPECT_EQ(error_of([&] { map.STREET_NAME_X(101); }), 9);
    EXPECT_EQ(error_of([&] { map.STREET_NAME_X(-1); }), 9);
    EXPECT_EQ(error_of([&] { map.STREET_NAME_Y(101); }), 9);
    EXPECT_FALSE(map.MAP_LOADED);
}

TEST(CityMapNames, CoordinatesAndLocations) {
    TempFolder folder;
    CityMap map(folder.path());
    EXPECT_EQ(map.COORD_NAME_X(0), "WCL");
    EXPECT_EQ(map.COORD_NAME_X(1), "WCL");
    EXPECT_EQ(map.COORD_NAME_X(2), "Aardvark");
    // Halving rounds down: the street cell x = 199 takes the name of the block west of it.
    EXPECT_EQ(map.COORD_NAME_X(199), "Zinc");
    EXPECT_EQ(map.COORD_NAME_X(3), "Aardvark");
    EXPECT_EQ(map.COORD_NAME_X(200), "Zestless");
    EXPECT_EQ(map.COORD_NAME_X(201), "Zestless");
    EXPECT_EQ(map.COORD_NAME_Y(101), "50th");
    EXPECT_EQ(map.LOCATION_NAME(0, 0), "WCL && NCL");
    EXPECT_EQ(map.LOCATION_NAME(2, 2), "Aardvark && 1st");
    EXPECT_EQ(map.LOCATION_NAME(200, 200), "Zestless && 100th");
    EXPECT_EQ(error_of([&] { map.COORD_NAME_X(-1); }), 9);
    EXPECT_EQ(error_of([&] { map.COORD_NAME_Y(202); }), 9);
    EXPECT_EQ(error_of([&] { map.LOCATION_NAME(0, -1); }), 9);
    EXPECT_EQ(error_of([&] { map.LOCATION_NAME(202, 0); }), 9);
}

TEST(CityMapNames, PlaceNamesAndBuiltInNames) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT",
                scrambled_map({"0020020150Bob's Corner Shop", "0040040104Keepers",
                               "0060060120Odd Shop", "0080080300Top Code"}));
    CityMap map(folder.path());
    map.LOAD_MAP();
    // Until a name is asked for, the file's names stand.
    EXPECT_EQ(map.PLACE_NAMES(150), "Bob's Corner Shop");
    EXPECT_FALSE(map.NAMES_BUILT);
    EXPECT_EQ(map.PLACE_NAME(150), "Discount Magic");
    EXPECT_TRUE(map.NAMES_BUILT);
    EXPECT_EQ(map.PLACE_NAME(104), "Peace Keepers: 3");
    EXPECT_EQ(map.PLACE_NAME(102), "Peace Keepers: 1");
    EXPECT_EQ(map.PLACE_NAME(105), "Allurists: 1");
    EXPECT_EQ(map.PLACE_NAME(119), "Travellers: 3");
    EXPECT_EQ(map.PLACE_NAME(168), "Potion Disillery");
    EXPECT_EQ(map.PLACE_NAME(174), "Spinners Pawn");
    EXPECT_EQ(map.PLACE_NAME(175), "");
    EXPECT_EQ(map.PLACE_NAME(120), "Odd Shop");
    EXPECT_EQ(map.PLACE_NAME(300), "Top Code");
    EXPECT_EQ(map.PLACE_NAME(-1), "The Wastes");
    EXPECT_EQ(map.PLACE_NAME(-2), "");
    EXPECT_EQ(map.PLACE_NAME(0), "");
    EXPECT_EQ(map.PLACE_NAME(301), "");
    EXPECT_EQ(map.PLACE_NAME(999), "");
    EXPECT_EQ(map.PLACE_NAME(1000), "");
}

TEST(CityMapNames, PlaceNameZeroComesFromTheFile) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_map({"0000000000Empty Lot"}));
    CityMap map(folder.path());
    map.LOAD_MAP();
    EXPECT_EQ(map.PLACE_NAME(0), "Empty Lot");
}

TEST(CityMapNames, InitNamesLeavesOtherCodesAlone) {
    TempFolder folder;
    CityMap map(folder.path());
    map.PLACE_NAMES(101) = "Bank of Elsewhere";
    map.PLACE_NAMES(175) = "Unnamed Shop";
    map.INIT_NAMES();
    EXPECT_EQ(map.PLACE_NAMES(101), "Bank of Elsewhere");
    EXPECT_EQ(map.PLACE_NAMES(175), "Unnamed Shop");
    EXPECT_EQ(map.PLACE_NAMES(149), "");
}

TEST(CityMapNames, StreetIndexInAnyCase) {
    TempFolder folder;
    CityMap map(folder.path());
    // Found before the tables are built, too.
    EXPECT_EQ(map.STREET_INDEX_X("zestless"), 200);
    EXPECT_EQ(map.STREET_INDEX_Y("100TH"), 200);
    EXPECT_FALSE(map.NAMES_BUILT);
    EXPECT_EQ(map.STREET_INDEX_X("AARDVARK"), 2);
    EXPECT_EQ(map.STREET_INDEX_X("Amethyst"), 102);
    EXPECT_EQ(map.STREET_INDEX_X("wcl"), 0);
    EXPECT_EQ(map.STREET_INDEX_X("Xylophone"), 0);
    EXPECT_EQ(map.STREET_INDEX_X(""), 0);
    EXPECT_EQ(map.STREET_INDEX_X("Aardvark "), 0);
    EXPECT_EQ(map.STREET_INDEX_Y("1st"), 2);
    EXPECT_EQ(map.STREET_INDEX_Y("11TH"), 22);
    EXPECT_EQ(map.STREET_INDEX_Y("NCL"), 0);
    EXPECT_EQ(map.STREET_INDEX_Y("101st"), 0);
    EXPECT_EQ(map.STREET_INDEX_Y("11st"), 0);
    map.INIT_NAMES();
    for (int i = 0; i <= 100; ++i) {
        EXPECT_EQ(map.STREET_INDEX_X(map.STREET_NAME_X(i)), 2 * i);
        EXPECT_EQ(map.STREET_INDEX_Y(map.STREET_NAME_Y(i)), 2 * i);
    }
}

TEST(CityMapNames, AmpToAnd) {
    EXPECT_EQ(AMP_TO_AND("&&&&"), "andand");
    EXPECT_EQ(AMP_TO_AND(""), "");
    EXPECT_EQ(AMP_TO_AND("Aardvark && 1st"), "Aardvark and 1st");
    EXPECT_EQ(AMP_TO_AND("&&&"), "and&");
    EXPECT_EQ(AMP_TO_AND("A & B"), "A & B");
    EXPECT_EQ(AMP_TO_AND("&"), "&");
    EXPECT_EQ(AMP_TO_AND("x&&y&&"), "xandyand");
}

}  // namespace
}  // namespace zeko
