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

TEST(NavDistance, LargerAxisDifferenceAndOverflow) {
    EXPECT_EQ(NAV_DISTANCE(0, 0, 3, -7), 7);
    EXPECT_EQ(NAV_DISTANCE(10, 4, 2, 6), 8);
    EXPECT_EQ(NAV_DISTANCE(-32768, 5, -32768, 5), 0);
    EXPECT_EQ(error_of([] { NAV_DISTANCE(-32768, 0, 0, 0); }), 6);
    EXPECT_EQ(error_of([] { NAV_DISTANCE(0, 0, 0, -32768); }), 6);
    EXPECT_EQ(error_of([] { NAV_DISTANCE(-1, 0, 32767, 0); }), 6);
}

TEST(TileToCoord, ZoomsIndexesAndOutOfRange) {
    const Cell c{100, 100};
    EXPECT_EQ(TILE_TO_COORD(0, 3, c), (Cell{99, 99}));
    EXPECT_EQ(TILE_TO_COORD(8, 3, c), (Cell{101, 101}));
    EXPECT_EQ(TILE_TO_COORD(5, 3, c), (Cell{101, 100}));
    EXPECT_EQ(TILE_TO_COORD(120, 11, c), (Cell{105, 105}));
    EXPECT_EQ(TILE_TO_COORD(11, 11, c), (Cell{95, 96}));
    EXPECT_EQ(TILE_TO_COORD(9, 3, c), c);
    EXPECT_EQ(TILE_TO_COORD(0, 4, c), c);
    EXPECT_EQ(TILE_TO_COORD(-1, 5, c), c);
    EXPECT_EQ(TILE_TO_COORD(0, 0, c), c);
    // No clamping to the grid.
    EXPECT_EQ(TILE_TO_COORD(0, 11, Cell{0, 0}), (Cell{-5, -5}));
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

TEST_F(NavTest, TiesGoToThePlaceMetLaterInTheScan) {
    stand(100, 100);
    place(90, 100, 101);
    place(100, 90, 101);
    place(100, 110, 101);
    place(110, 100, 101);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_BANK_1(), found(110, 100, 10, 101));
    EXPECT_EQ(nav.GET_BANK_2(), found(100, 110, 10, 101));
    EXPECT_EQ(nav.GET_BANK_3(), found(100, 90, 10, 101));

    // A nearer bank met first still leads.
    place(96, 96, 101);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_BANK_1(), found(96, 96, 4, 101));
    EXPECT_EQ(nav.GET_BANK_2(), found(110, 100, 10, 101));
}

TEST_F(NavTest, StandingOnABankAndSortingByCode) {
    stand(40, 40);
    place(40, 40, 101);
    place(42, 40, 1);    // pub
    place(50, 50, 91);   // pub
    place(44, 44, 92);   // station
    place(60, 60, 100);  // station
    place(40, 42, 0);    // nothing
    place(38, 38, 102);  // Peace Keepers
    place(38, 40, 119);  // guild
    place(40, 38, 150);  // shop
    place(36, 36, 200);  // user building
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_BANK_1(), found(40, 40, 0, 101));
    EXPECT_EQ(nav.GET_BANK_2(), NAV_POINT{});
    EXPECT_EQ(nav.GET_PUB_1(), found(42, 40, 2, 1));
    EXPECT_EQ(nav.GET_PUB_2(), found(50, 50, 10, 91));
    EXPECT_EQ(nav.GET_PUB_3(), NAV_POINT{});
    EXPECT_EQ(nav.GET_TRANSIT_1(), found(44, 44, 4, 92));
    EXPECT_EQ(nav.GET_TRANSIT_2(), found(60, 60, 20, 100));
    EXPECT_EQ(nav.GET_TRANSIT_3(), NAV_POINT{});
    EXPECT_EQ(nav.NAV_ME_X, 40);
    EXPECT_EQ(nav.NAV_ME_Y, 40);
}

TEST_F(NavTest, EmptiedSlotsAndMovesLeaveNothingBehind) {
    stand(10, 10);
    place(10, 12, 5);
    place(12, 12, 6);
    place(14, 14, 7);
    place(190, 190, 8);
    place(188, 190, 9);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_PUB_1(), found(12, 12, 2, 6));
    EXPECT_EQ(nav.GET_PUB_2(), found(10, 12, 2, 5));
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
    const NAV_DEST d = nav.GET_DEST();
    EXPECT_EQ(d.X, 150);
    EXPECT_EQ(d.Y, 160);
    EXPECT_EQ(d.DIST, 160);
    EXPECT_EQ(d.CODE, 120);
    EXPECT_EQ(d.VIA_X, 150);
    EXPECT_EQ(d.VIA_Y, 150);
    EXPECT_EQ(d.VIA_CODE, 93);
    EXPECT_EQ(d.VIA_DIST, 62);
    EXPECT_EQ(d.VIA_FOUND, kTrue);
    EXPECT_EQ(d.FOUND, kTrue);

    // Two stations equally far from the destination: the later one is the way.
    place(150, 170, 94);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_DEST().VIA_CODE, 94);
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 62);
}

TEST_F(NavTest, DestinationOffTheGridIsStillMeasured) {
    stand(100, 100);
    place(100, 110, 95);
    head_for(-5, 250);
    nav.NAV_UPDATE();
    EXPECT_EQ(nav.GET_DEST().CODE, -1);
    EXPECT_EQ(nav.GET_DEST().DIST, 150);
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 140 + 2 + 10);
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
        const NAV_DEST d = nav.GET_DEST();
        EXPECT_EQ(d.VIA_FOUND, kFalse);
        EXPECT_EQ(d.VIA_DIST, 2);
        EXPECT_EQ(d.VIA_X, 0);
        EXPECT_EQ(d.VIA_Y, 0);
        EXPECT_EQ(d.VIA_CODE, 0);
        EXPECT_EQ(d.FOUND, kTrue);
        EXPECT_EQ(d.DIST, 40);
    }
}

TEST_F(NavTest, WithoutACurrentCharacterNothingIsScanned) {
    place(10, 10, 101);
    map.MAP_LOADED = false;  // a scan would load the (missing, so empty) map file
    db.CUR_VAMP = 0;
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 9);
    db.CUR_VAMP = 2;
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 9);
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
    stand(-32768, 0);
    head_for(10, 10);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 6);

    // The way by transit overflows in its sum: 32767 + 2.
    place(200, 0, 97);
    stand(200, 0);
    head_for(-32567, 0);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 6);
    head_for(-32568, 0);  // now the walk from the station itself is too long
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 6);
    head_for(-32000, 0);
    EXPECT_EQ(error_of([&] { nav.NAV_UPDATE(); }), 0);
    EXPECT_EQ(nav.GET_DEST().VIA_DIST, 32200 + 2);
}

TEST_F(NavTest, FirstScanLoadsTheMap) {
    testing::write_bytes(folder / "MAP.DAT", testing::scrambled_map({"0200300101Blood Bank"}));
    map.MAP_LOADED = false;
    stand(20, 20);
    nav.NAV_UPDATE();
    EXPECT_TRUE(map.MAP_LOADED);
    EXPECT_EQ(nav.GET_BANK_1(), found(20, 30, 10, 101));

    // A load that fails reaches the caller.
    CityMap broken{folder.path()};
    testing::write_bytes(folder / "MAP.DAT", testing::scrambled_map({"020030xxxxBad"}));
    NavModel nav2{broken, db};
    EXPECT_NE(error_of([&] { nav2.NAV_UPDATE(); }), 0);
    EXPECT_FALSE(broken.MAP_LOADED);
}

}  // namespace
}  // namespace zeko
