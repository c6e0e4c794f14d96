#include "map/nav.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "map/city_map.h"
#include "support/world.h"

namespace zeko {
namespace {

using testing::error_of;
using testing::found;

class NavTest : public ::testing::Test, protected testing::CityWorld {
  protected:
    CityMap& map = state.map;
    VampDb& db = state.db;
    NavModel& nav = state.nav;
    const testing::TempFolder& folder = world.folder;
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
    place(200, 200, 101);
    place(200, 0, 1);
    place(0, 200, 92);
    place(200, 128, 5);
    place(200, 126, 6);

    using Hit = std::tuple<int, int, int>;
    std::vector<Hit> expected;
    for (int x = 0; x <= 200; x += 2)
        for (int y = 0; y <= 200; y += 2)
            if (map.cell(x, y) >= 1 && map.cell(x, y) <= 101)
                expected.emplace_back(x, y, map.cell(x, y));
    std::vector<Hit> seen;
    scan_listed_places(map,
                       [&](int16_t x, int16_t y, int16_t code) { seen.emplace_back(x, y, code); });
    EXPECT_EQ(seen, expected);
    EXPECT_GT(expected.size(), 200u);
}

TEST_F(NavTest, TiesGoToThePlaceMetLaterAndEachKindHasItsCodes) {
    stand(40, 40);
    place(30, 40, 101);
    place(40, 30, 101);
    place(40, 50, 101);
    place(50, 40, 101);
    place(42, 40, 1);    // pub
    place(50, 50, 91);   // pub
    place(44, 44, 92);   // station
    place(60, 60, 100);  // station
    int x = 30;
    for (int16_t other : {0, 102, 119, 150, 200})  // none of them listed
        place(x += 2, 36, other);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_BANK_1(), found(50, 40, 10, 101));
    EXPECT_EQ(nav.GET_BANK_2(), found(40, 50, 10, 101));
    EXPECT_EQ(nav.GET_BANK_3(), found(40, 30, 10, 101));
    EXPECT_EQ(nav.GET_PUB_1(), found(42, 40, 2, 1));
    EXPECT_EQ(nav.GET_PUB_2(), found(50, 50, 10, 91));
    EXPECT_EQ(nav.GET_PUB_3(), NAV_POINT{});
    EXPECT_EQ(nav.GET_TRANSIT_1(), found(44, 44, 4, 92));
    EXPECT_EQ(nav.GET_TRANSIT_2(), found(60, 60, 20, 100));
    EXPECT_EQ(nav.GET_TRANSIT_3(), NAV_POINT{});

    // Standing on a bank met first: it leads at distance 0.
    place(40, 40, 101);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_BANK_1(), found(40, 40, 0, 101));
    EXPECT_EQ(nav.GET_BANK_2(), found(50, 40, 10, 101));
    EXPECT_EQ(nav.NAV_ME_X, 40);
}

TEST_F(NavTest, EmptiedSlotsAndMovesLeaveNothingBehind) {
    stand(10, 10);
    place(10, 12, 5);
    place(12, 12, 6);
    place(14, 14, 7);
    place(190, 190, 8);
    place(188, 190, 9);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_PUB_3(), found(14, 14, 4, 7));

    // Only two pubs left: the third slot is empty again, every field of it.
    map.CLEAR_MAP_CODE(10, 12);
    map.CLEAR_MAP_CODE(12, 12);
    map.CLEAR_MAP_CODE(14, 14);
    stand(190, 188);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_PUB_1(), found(190, 190, 2, 8));
    EXPECT_EQ(nav.GET_PUB_2(), found(188, 190, 2, 9));
    EXPECT_EQ(nav.GET_PUB_3(), NAV_POINT{});

    // Back at the start with all five pubs: only distances from the new position count.
    place(10, 12, 5);
    place(12, 12, 6);
    place(14, 14, 7);
    stand(0, 0);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_PUB_1(), found(12, 12, 12, 6));
    EXPECT_EQ(nav.GET_PUB_2(), found(10, 12, 12, 5));
    EXPECT_EQ(nav.GET_PUB_3(), found(14, 14, 14, 7));
}

TEST_F(NavTest, DestinationAndTheWayByTransit) {
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
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 62);

    // Off the grid: code -1, still measured.
    stand(100, 100);
    head_for(-5, 250);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_DEST().CODE, -1);
    EXPECT_EQ(nav.GET_DEST().DIST, 150);
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 50 + 2 + 155);
}

TEST_F(NavTest, NoStationLeavesTheRouteUnfoundAndDoesNotGrow) {
    stand(100, 100);
    place(60, 60, 96);
    head_for(60, 70);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_DEST().VIA_FOUND, kTrue);

    map.CLEAR_MAP_CODE(60, 60);
    for (int i = 0; i < 3; ++i) {
        nav.NAV_UPDATE();
        EXPECT_EQ(nav.GET_DEST(), (NAV_DEST{60, 70, 40, 0, 0, 0, 0, 2, kFalse, kTrue}));
    }
}

TEST_F(NavTest, WithoutACurrentCharacterNothingIsScanned) {
    place(10, 10, 101);
    map.MAP_LOADED = false;  // a scan would load the (missing, so empty) map file
    for (int16_t cur : {0, 2}) {
        db.CUR_VAMP = cur;
        EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 9);
    }
    db.VAMPS.redim(1, 0);
    db.CUR_VAMP = 1;
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 9);
    EXPECT_FALSE(map.MAP_LOADED);
    EXPECT_EQ(map.cell(10, 10), 101);
}

TEST_F(NavTest, FarPositionsRaiseOverflow) {
    place(0, 0, 50);
    stand(-32768, 0);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 6);

    // No place at all: the destination's distance overflows.
    map.CLEAR_MAP_CODE(0, 0);
    head_for(10, 10);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 6);

    // The way by transit overflows in its sum (32767 + 2), then in the walk from the station.
    place(200, 0, 97);
    stand(200, 0);
    head_for(-32567, 0);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 6);
    head_for(-32568, 0);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 6);
    head_for(-32000, 0);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 0);
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 32200 + 2);
}

TEST_F(NavTest, FirstScanLoadsTheMapAndALoadFailureReachesTheCaller) {
    testing::write_bytes(folder / "MAP.DAT", testing::scrambled_map({"0200300101Blood Bank"}));
    map.MAP_LOADED = false;
    stand(20, 20);
    nav.NAV_UPDATE();
    EXPECT_TRUE(map.MAP_LOADED);
    EXPECT_EQ(nav.GET_BANK_1(), found(20, 30, 10, 101));

    CityMap broken{folder.path()};
    testing::write_bytes(folder / "MAP.DAT", testing::scrambled_map({"020030xxxxBad"}));
    NavModel nav2{broken, db};
    EXPECT_NE(error_of([&] { nav2.NAV_UPDATE(); }), 0);
    EXPECT_FALSE(broken.MAP_LOADED);
}

}  // namespace
}  // namespace zeko
