#include "map/guilds.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "map/city_map.h"
#include "support/world.h"

namespace zeko {
namespace {

class GuildsTest : public ::testing::Test, protected testing::CityWorld {
  protected:
    GuildsTest() : CityWorld(0) { map.INIT_NAMES(); }

    // Every guild cell on the grid, by code.
    std::multimap<int, std::pair<int, int>> guild_cells() const {
        std::multimap<int, std::pair<int, int>> cells;
        for (int x = 0; x <= 200; ++x)
            for (int y = 0; y <= 200; ++y)
                if (map.cell(x, y) >= 105 && map.cell(x, y) <= 119)
                    cells.emplace(map.cell(x, y), std::make_pair(x, y));
        return cells;
    }

    void locate(int code, std::string a, std::string b) {
        guilds.GUILDS(code).STREET_A = std::move(a);
        guilds.GUILDS(code).STREET_B = std::move(b);
    }

    CityMap& map = state.map;
    GuildTable& guilds = state.guilds;
};

TEST_F(GuildsTest, PlacesEachEntryOnItsBlockInAnyLetterCase) {
    for (int code = 105; code <= 119; ++code)
        locate(code, "Zestless", "100th");
    locate(105, "Aardvark", "1st");
    locate(106, "aardvark", "1ST");
    locate(107, "ZELKOVA", "50th");
    locate(108, "amethyst", "51st");
    locate(111, "Nowhere", "10th");  // a street not in the table counts as 0
    guilds.PLACE_GUILDS();
    EXPECT_EQ(map.cell(2, 2), 106);  // 105 and 106 share the block; the later code stays
    EXPECT_EQ(map.cell(100, 100), 107);
    EXPECT_EQ(map.cell(102, 102), 108);
    EXPECT_EQ(map.cell(0, 20), 111);
    EXPECT_EQ(map.cell(200, 200), 119);
    EXPECT_EQ(guild_cells().size(), 5u);
}

TEST_F(GuildsTest, AllEmptyLeavesOnlyTheLastCodeOnTheCorner) {
    map.SET_MAP_CODE(10, 10, 105);
    map.SET_MAP_CODE(20, 30, 112);
    map.SET_MAP_CODE(200, 200, 119);
    map.SET_MAP_CODE(0, 0, 110);
    guilds.PLACE_GUILDS();
    const auto cells = guild_cells();
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells.begin()->first, 119);
    EXPECT_EQ(cells.begin()->second, std::make_pair(0, 0));
    EXPECT_EQ(map.cell(10, 10), 0);
    EXPECT_EQ(map.cell(20, 30), 0);
}

TEST_F(GuildsTest, SecondPlacementLeavesNoTraceOfTheFirst) {
    for (int code = 105; code <= 119; ++code)
        locate(code, map.STREET_NAME_X(code - 100), map.STREET_NAME_Y(code - 100));
    guilds.PLACE_GUILDS();
    EXPECT_EQ(guild_cells().size(), 15u);
    EXPECT_EQ(map.cell(10, 10), 105);

    for (int code = 105; code <= 119; ++code)
        locate(code, map.STREET_NAME_X(code - 60), map.STREET_NAME_Y(code - 40));
    guilds.PLACE_GUILDS();
    const auto cells = guild_cells();
    EXPECT_EQ(cells.size(), 15u);
    for (const auto& [code, xy] : cells)
        EXPECT_EQ(xy, std::make_pair(2 * (code - 60), 2 * (code - 40))) << code;
}

TEST_F(GuildsTest, OtherCodesKeepTheirCells) {
    const std::pair<int, int16_t> others[] = {{4, 102},  {6, 103},  {8, 104},  {12, 1},
                                              {14, 101}, {16, 150}, {18, 120}, {22, 300}};
    for (const auto& [x, code] : others)
        map.SET_MAP_CODE(x, 40, code);
    map.SET_MAP_CODE(3, 3, 105);  // a street cell: guilds only stand on blocks
    map.SET_MAP_CODE(40, 40, 114);
    for (int code = 105; code <= 119; ++code)
        locate(code, "Cedar", "6th");
    guilds.PLACE_GUILDS();
    for (const auto& [x, code] : others)
        EXPECT_EQ(map.cell(x, 40), code) << x;
    EXPECT_EQ(map.cell(3, 3), 105);
    EXPECT_EQ(map.cell(40, 40), 0);
    EXPECT_EQ(map.cell(12, 12), 119);

    guilds.CLEAR_GUILDS();
    EXPECT_EQ(map.cell(12, 12), 0);
    for (const auto& [x, code] : others)
        EXPECT_EQ(map.cell(x, 40), code) << x;
}

}  // namespace
}  // namespace zeko
