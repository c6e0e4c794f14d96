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
    void locate_all(const std::string& a, const std::string& b) {
        for (int code = 105; code <= 119; ++code)
            locate(code, a, b);
    }
    void locate(int code, std::string a, std::string b) {
        guilds.GUILDS(code).STREET_A = std::move(a);
        guilds.GUILDS(code).STREET_B = std::move(b);
    }

    CityMap& map = state.map;
    GuildTable& guilds = state.guilds;
};

TEST_F(GuildsTest, PlacesEachEntryOnItsBlockInAnyLetterCase) {
    locate_all("Zestless", "100th");
    locate(105, "Aardvark", "1st");
    locate(106, "aardvark", "1ST");
    locate(108, "amethyst", "51st");
    locate(111, "Nowhere", "10th");  // a street not in the table counts as 0
    guilds.PLACE_GUILDS();
    EXPECT_EQ(map.cell(2, 2), 106);  // 105 and 106 share the block; the later code stays
    EXPECT_EQ(map.cell(102, 102), 108);
    EXPECT_EQ(map.cell(0, 20), 111);
    EXPECT_EQ(map.cell(200, 200), 119);
    EXPECT_EQ(guild_cells().size(), 4u);

    // A second placement leaves no trace of the first; all empty leaves the last on the corner.
    locate_all("", "");
    guilds.PLACE_GUILDS();
    const auto cells = guild_cells();
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells.begin()->first, 119);
    EXPECT_EQ(cells.begin()->second, std::make_pair(0, 0));
}

TEST_F(GuildsTest, OnlyGuildCodesOnBlocksAreCleared) {
    const std::pair<int, int16_t> others[] = {{4, 102},  {6, 104},  {12, 1},
                                              {14, 101}, {16, 150}, {22, 300}};
    for (const auto& [x, code] : others)
        map.SET_MAP_CODE(x, 40, code);
    map.SET_MAP_CODE(3, 3, 105);  // a street cell: guilds only stand on blocks
    map.SET_MAP_CODE(40, 40, 114);
    locate_all("Cedar", "6th");
    guilds.PLACE_GUILDS();
    EXPECT_EQ(map.cell(40, 40), 0);
    EXPECT_EQ(map.cell(12, 12), 119);
    guilds.CLEAR_GUILDS();
    EXPECT_EQ(map.cell(12, 12), 0);
    EXPECT_EQ(map.cell(3, 3), 105);
    for (const auto& [x, code] : others)
        EXPECT_EQ(map.cell(x, 40), code) << x;
}

}  // namespace
}  // namespace zeko
