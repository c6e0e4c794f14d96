#include "map/guilds.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "map/city_map.h"
#include "support/world.h"

namespace zeko {
namespace {

class GuildsTest : public ::testing::Test, protected testing::CityWorld {
  protected:
    GuildsTest() : CityWorld(0) { map.INIT_NAMES(); }

    // Every guild cell on the grid as (code, x, y), in scan order.
    std::vector<std::array<int, 3>> guild_cells() const {
        std::vector<std::array<int, 3>> cells;
        for (int x = 0; x <= 200; ++x)
            for (int y = 0; y <= 200; ++y)
                if (map.cell(x, y) >= 105 && map.cell(x, y) <= 119)
                    cells.push_back({map.cell(x, y), x, y});
        return cells;
    }
    void locate(int code, std::string a, std::string b) {
        state.guilds.GUILDS(code).STREET_A = std::move(a);
        state.guilds.GUILDS(code).STREET_B = std::move(b);
    }
    void locate_all(const std::string& a, const std::string& b) {
        for (int code = 105; code <= 119; ++code)
            locate(code, a, b);
    }

    CityMap& map = state.map;
};

TEST_F(GuildsTest, PlacesEachEntryOnItsBlockInAnyLetterCaseAndLeavesNoTraceOfTheLastPlacing) {
    locate_all("Zestless", "100th");
    locate(105, "Aardvark", "1st");
    locate(106, "aardvark", "1ST");  // 105 and 106 share the block; the later code stays
    locate(108, "amethyst", "51st");
    locate(111, "Nowhere", "10th");  // a street not in the table counts as 0
    state.guilds.PLACE_GUILDS();
    using Cells = std::vector<std::array<int, 3>>;
    EXPECT_EQ(guild_cells(), (Cells{{111, 0, 20}, {106, 2, 2}, {108, 102, 102}, {119, 200, 200}}));
    // All empty leaves the last on the corner.
    locate_all("", "");
    state.guilds.PLACE_GUILDS();
    EXPECT_EQ(guild_cells(), (Cells{{119, 0, 0}}));
}

TEST_F(GuildsTest, OnlyGuildCodesOnBlocksAreCleared) {
    const std::pair<int, int16_t> others[] = {{4, 102},  {6, 104},  {12, 1},
                                              {14, 101}, {16, 150}, {22, 300}};
    for (const auto& [x, code] : others)
        map.SET_MAP_CODE(x, 40, code);
    map.SET_MAP_CODE(3, 3, 105);  // a street cell: guilds only stand on blocks
    map.SET_MAP_CODE(40, 40, 114);
    locate_all("Cedar", "6th");
    state.guilds.PLACE_GUILDS();
    EXPECT_EQ(map.cell(40, 40), 0);
    EXPECT_EQ(map.cell(12, 12), 119);
    state.guilds.CLEAR_GUILDS();
    EXPECT_EQ(map.cell(12, 12), 0);
    EXPECT_EQ(map.cell(3, 3), 105);
    for (const auto& [x, code] : others)
        EXPECT_EQ(map.cell(x, 40), code) << x;
}

}  // namespace
}  // namespace zeko
