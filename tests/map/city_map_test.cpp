#include "map/city_map.h"

#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "support/fakes.h"

namespace zeko {
namespace {

using namespace testing;

TEST(CityMapGrid, LookupsLoadOnceSettersNeverLoadAndTheEdgesHold) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT", scrambled_map({"0000000001Corner Pub", "2002000101Bank"}));
    CityMap map(folder.path());
    map.SET_MAP_CODE(0, 200, 119);
    map.SET_MAP_CODE(200, 0, 105);
    map.CLEAR_MAP_CODE(200, 0);
    EXPECT_EQ(error_of([&] { map.SET_MAP_CODE(201, 0, 1); }), 9);
    EXPECT_EQ(error_of([&] { map.CLEAR_MAP_CODE(-1, 0); }), 9);
    EXPECT_FALSE(map.MAP_LOADED);
    // The first lookup loads, even off the grid, and adds to what is there.
    EXPECT_EQ(map.GET_MAP_CODE(-1, 5), -1);
    EXPECT_TRUE(map.MAP_LOADED);
    EXPECT_EQ(map.GET_MAP_CODE(0, 0), 1);
    EXPECT_EQ(map.GET_MAP_CODE(0, 200), 119);
    EXPECT_EQ(map.GET_MAP_CODE(200, 0), 0);
    EXPECT_EQ(map.MAP_GRID[200 + 201 * 200], 101);  // x varies fastest
}

TEST(CityMapNames, StreetsCoordinatesLocationsAndIndexesInAnyCase) {
    TempFolder folder;
    CityMap map(folder.path());
    // The city limit and unknown names are both index 0.
    EXPECT_EQ(map.STREET_INDEX_X("zestless"), 200);
    EXPECT_EQ(map.STREET_INDEX_Y("100TH"), 200);
    for (const char* zero : {"wcl", "Xylophone", "", "Aardvark "})
        EXPECT_EQ(map.STREET_INDEX_X(zero), 0) << zero;
    EXPECT_EQ(map.STREET_INDEX_Y("11st"), 0);
    EXPECT_FALSE(map.NAMES_BUILT);
    for (int i = 0; i <= 100; ++i) {
        EXPECT_EQ(map.STREET_INDEX_X(map.STREET_NAME_X(i)), 2 * i);
        EXPECT_EQ(map.STREET_INDEX_Y(map.STREET_NAME_Y(i)), 2 * i);
    }
    EXPECT_EQ(map.STREET_NAME_X(51), "Amethyst");
    for (const char* o : {"1st", "2nd", "3rd", "4th", "11th", "12th", "13th", "21st", "100th"})
        EXPECT_EQ(map.STREET_NAME_Y(std::stoi(o)), o);
    // Halving rounds down: the street cell x = 199 takes the name of the block west of it.
    EXPECT_EQ(map.COORD_NAME_X(199), "Zinc");
    EXPECT_EQ(map.LOCATION_NAME(1, 2), "WCL && 1st");
    EXPECT_EQ(error_of([&] { map.STREET_NAME_X(101); }), 9);
    EXPECT_EQ(error_of([&] { map.LOCATION_NAME(202, 0); }), 9);
    EXPECT_EQ(AMP_TO_AND(map.LOCATION_NAME(201, 200)), "Zestless and 100th");
    EXPECT_EQ(AMP_TO_AND("&&&A & B"), "and&A & B");

    EXPECT_FALSE(map.MAP_LOADED);
}

TEST(CityMapNames, BuiltInNamesReplaceTheFilesOnlyForTheirCodes) {
    TempFolder folder;
    write_bytes(folder / "MAP.DAT",
                scrambled_map({"0000000000Empty Lot", "0020020150Bob's Corner Shop",
                               "0060060120Odd Shop", "0080080300Top Code"}));
    CityMap map(folder.path());
    map.LOAD_MAP();
    EXPECT_EQ(map.PLACE_NAMES(150), "Bob's Corner Shop");
    EXPECT_FALSE(map.NAMES_BUILT);
    // Built-in names are spot checks of the table the program holds: the first and last code
    // of each range, and the codes just beyond them keep what the file says.
    const std::pair<int, const char*> names[] = {{102, "Peace Keepers: 1"},
                                                 {104, "Peace Keepers: 3"},
                                                 {119, "Travellers: 3"},
                                                 {120, "Odd Shop"},
                                                 {150, "Discount Magic"},
                                                 {174, "Spinners Pawn"},
                                                 {175, ""},
                                                 {300, "Top Code"},
                                                 {0, "Empty Lot"},
                                                 {-1, "The Wastes"},
                                                 {301, ""}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(map.PLACE_NAME(code), name) << code;
    EXPECT_TRUE(map.NAMES_BUILT);
}

}  // namespace
}  // namespace zeko
