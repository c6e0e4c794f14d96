#include "map/nav.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <span>
#include <tuple>
#include <vector>

#include "map/city_map.h"
#include "support/world.h"

namespace zeko {
namespace {

using namespace testing;
using Points = std::vector<NAV_POINT>;

class NavTest : public ::testing::Test, protected CityWorld {
  protected:
    void put(std::span<const std::array<int16_t, 3>> cells) {
        for (const auto& [x, y, code] : cells)
            place(x, y, code);
    }
    // The three nearest of each kind after an update: banks, pubs, then stations.
    Points nearest() {
        nav.NAV_UPDATE();
        return {nav.GET_BANK_1(),    nav.GET_BANK_2(),    nav.GET_BANK_3(),
                nav.GET_PUB_1(),     nav.GET_PUB_2(),     nav.GET_PUB_3(),
                nav.GET_TRANSIT_1(), nav.GET_TRANSIT_2(), nav.GET_TRANSIT_3()};
    }
    int update_error() {
        return error_of([&] { nav.NAV_UPDATE(); });
    }

    CityMap& map = state.map;
    NavModel& nav = state.nav;
    const NAV_POINT none{};
};

TEST(NavDistance, LargerAxisDifferenceTileOffsetsAndOverflow) {
    EXPECT_EQ(NAV_DISTANCE(0, 0, 3, -7), 7);
    EXPECT_EQ(NAV_DISTANCE(-32768, 5, -32768, 5), 0);
    EXPECT_EQ(error_of([] { NAV_DISTANCE(-32768, 0, 0, 0); }), 6);
    EXPECT_EQ(error_of([] { NAV_DISTANCE(-1, 0, 32767, 0); }), 6);
    const Cell c{100, 100};
    EXPECT_EQ(TILE_TO_COORD(5, 3, c), (Cell{101, 100}));
    EXPECT_EQ(TILE_TO_COORD(11, 11, c), (Cell{95, 96}));
    EXPECT_EQ(TILE_TO_COORD(120, 11, c), (Cell{105, 105}));
    for (const auto& [tile, zoom] : {std::pair{9, 3}, {0, 4}, {-1, 5}, {0, 0}})
        EXPECT_EQ(TILE_TO_COORD(tile, zoom, c), c) << tile << " " << zoom;
    EXPECT_EQ(TILE_TO_COORD(0, 11, Cell{0, 0}), (Cell{-5, -5}));  // no clamping to the grid
    EXPECT_EQ(error_of([] { TILE_TO_COORD(8, 3, Cell{32767, 0}); }), 6);
}

TEST_F(NavTest, ScanVisitsTheListedBlocksInScanOrder) {
    // Codes at the edges of the listed range, on blocks and on street cells, and the grid's
    // last column and rows (x = 200, y above 126).
    const int16_t codes[] = {-32768, -1, 0, 1, 50, 91, 92, 100, 101, 102, 119, 150, 300, 32767};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 200);
    std::uniform_int_distribution<int> pick(0, std::size(codes) - 1);
    for (int i = 0; i < 3000; ++i)
        place(coord(rng), coord(rng), codes[pick(rng)]);
    const std::array<int16_t, 3> edges[] = {
        {200, 200, 101}, {200, 0, 1}, {0, 200, 92}, {200, 128, 5}, {200, 126, 6}};
    put(edges);
    using Hit = std::tuple<int, int, int>;
    std::vector<Hit> expected, seen;
    for (int x = 0; x <= 200; x += 2)
        for (int y = 0; y <= 200; y += 2)
            if (map.cell(x, y) >= 1 && map.cell(x, y) <= 101)
                expected.emplace_back(x, y, map.cell(x, y));
    scan_listed_places(map,
                       [&](int16_t x, int16_t y, int16_t code) { seen.emplace_back(x, y, code); });
    EXPECT_EQ(seen, expected);
    EXPECT_GT(expected.size(), 200u);
}

TEST_F(NavTest, TiesGoToThePlaceMetLaterEachKindHasItsCodesAndEmptiedSlotsAreCleared) {
    stand(40, 40);
    // Four banks 10 away, pubs (1, 91), stations (92, 100) and codes none of them lists.
    const std::array<int16_t, 3> cells[] = {
        {30, 40, 101}, {40, 30, 101}, {40, 50, 101}, {50, 40, 101}, {42, 40, 1},
        {50, 50, 91},  {44, 44, 92},  {60, 60, 100}, {32, 36, 0},   {34, 36, 102},
        {36, 36, 119}, {38, 36, 150}, {30, 36, 200}};
    put(cells);
    EXPECT_EQ(nearest(), (Points{found(50, 40, 10, 101), found(40, 50, 10, 101),
                                 found(40, 30, 10, 101), found(42, 40, 2, 1), found(50, 50, 10, 91),
                                 none, found(44, 44, 4, 92), found(60, 60, 20, 100), none}));
    // Standing on a bank met first: it leads at distance 0.
    place(40, 40, 101);
    EXPECT_EQ(nearest()[0], found(40, 40, 0, 101));
    EXPECT_EQ(nav.GET_BANK_2(), found(50, 40, 10, 101));
    EXPECT_EQ(nav.NAV_ME_X, 40);

    // One pub left, seen from elsewhere: the other slots are empty again, every field of them.
    map.CLEAR_MAP_CODE(42, 40);
    stand(60, 40);
    const Points after = nearest();
    EXPECT_EQ(Points(after.begin() + 3, after.begin() + 6),
              (Points{found(50, 50, 10, 91), none, none}));
}

TEST_F(NavTest, DestinationAndTheWayByTransitWhichNoStationLeavesUnfound) {
    stand(0, 0);
    place(50, 0, 92);     // 50 from the character
    place(150, 150, 93);  // 10 from the destination
    place(150, 160, 120);
    head_for(150, 160);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_DEST(), (NAV_DEST{150, 160, 160, 120, 150, 150, 93, 62, kTrue, kTrue}));
    // Two stations equally far from the destination: the later one is the way.
    place(150, 170, 94);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_DEST().VIA_CODE, 94);
    // Off the grid: code -1, still measured.
    stand(100, 100);
    head_for(-5, 250);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_DEST().CODE, -1);
    EXPECT_EQ(nav.GET_DEST().DIST, 150);
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 50 + 2 + 155);

    // No station left: the route is not found and does not grow from update to update.
    for (const auto& [x, y] : {std::pair{50, 0}, {150, 150}, {150, 170}})
        map.CLEAR_MAP_CODE(x, y);
    head_for(60, 70);
    for (int i = 0; i < 3; ++i) {
        nav.NAV_UPDATE();
        EXPECT_EQ(nav.GET_DEST(), (NAV_DEST{60, 70, 40, 0, 0, 0, 0, 2, kFalse, kTrue}));
    }
}

TEST_F(NavTest, FarPositionsRaiseOverflow) {
    place(0, 0, 50);
    stand(-32768, 0);
    EXPECT_EQ(update_error(), 6);
    // No place at all: the destination's distance overflows.
    map.CLEAR_MAP_CODE(0, 0);
    head_for(10, 10);
    EXPECT_EQ(update_error(), 6);
    // The way by transit overflows in its sum (32767 + 2), then in the walk from the station.
    place(200, 0, 97);
    stand(200, 0);
    head_for(-32567, 0);
    EXPECT_EQ(update_error(), 6);
    head_for(-32000, 0);
    EXPECT_EQ(update_error(), 0);
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 32200 + 2);
}

TEST_F(NavTest, FirstScanLoadsTheMapButNotWithoutACurrentCharacter) {
    write_bytes(world.folder / "MAP.DAT", scrambled_map({"0200300101Blood Bank"}));
    map.MAP_LOADED = false;
    stand(20, 20);
    for (int16_t cur : {0, 2}) {
        state.db.CUR_VAMP = cur;
        EXPECT_EQ(update_error(), 9);
    }
    EXPECT_FALSE(map.MAP_LOADED);
    state.db.CUR_VAMP = 1;
    EXPECT_EQ(nearest()[0], found(20, 30, 10, 101));
    EXPECT_TRUE(map.MAP_LOADED);
}

}  // namespace
}  // namespace zeko
