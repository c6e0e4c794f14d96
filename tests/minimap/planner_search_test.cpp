#include "minimap/planner_search.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "map/city_map.h"
#include "support/world.h"

namespace zeko {
namespace {

using namespace testing;
using Points = std::vector<NAV_POINT>;

class PlannerSearchTest : public ::testing::Test, protected CityWorld {
  protected:
    PlannerSearchTest() : CityWorld(2) { db.SEL_VAMP = 1; }

    // A fresh search: the three nearest banks, pubs, then stations.
    Points search() {
        search_.RESET_NEAREST();
        search_.FIND_NEAREST();
        Points out;
        for (int n = 1; n <= 3; ++n)
            out.push_back(search_.GET_NEAREST_BANK(n));
        for (int n = 1; n <= 3; ++n)
            out.push_back(search_.GET_NEAREST_PUB(n));
        for (int n = 1; n <= 3; ++n)
            out.push_back(search_.GET_NEAREST_TRANSIT(n));
        return out;
    }

    CityMap& map = state.map;
    VampDb& db = state.db;
    PlannerSearch& search_ = state.planner;
    const NAV_POINT none{};
};

// Ties and kinds are the navigation's own (the same insertion and scan); what differs is that
// the lists fill from the selected character and empty only through the reset.
TEST_F(PlannerSearchTest, ListsEmptyOnlyThroughReset) {
    stand(100, 100);
    place(100, 100, 91);
    place(104, 104, 1);
    place(120, 120, 100);
    EXPECT_EQ(search(), (Points{none, none, none, found(100, 100, 0, 91), found(104, 104, 4, 1),
                                none, found(120, 120, 20, 100), none, none}));
    // Without the reset a second search adds to what is there.
    search_.FIND_NEAREST();
    EXPECT_EQ(search_.NEAREST_PUB(2), found(100, 100, 0, 91));
    EXPECT_EQ(search_.NEAREST_PUB(3), found(104, 104, 4, 1));
    // After the reset only what the map holds now, seen from the new place.
    place(100, 100, 0);
    stand(200, 200);
    EXPECT_EQ(search()[4], none);
    EXPECT_EQ(search_.NEAREST_PUB(1), found(104, 104, 96, 1));
    EXPECT_TRUE(world.prompts.shown.empty());
}

TEST_F(PlannerSearchTest, StartsFromTheSelectedCharacter) {
    stand(0, 0);
    stand(200, 200, 2);
    place(190, 200, 101);
    db.SEL_VAMP = 2;
    EXPECT_EQ(search()[0].DIST, 10);
    db.SEL_VAMP = 0;  // none selected: the current one
    EXPECT_EQ(search()[0].DIST, 200);
    EXPECT_EQ(db.SEL_VAMP, 1);
    // No such character: nothing scanned, the lists keep their last search.
    db.SEL_VAMP = 3;
    EXPECT_EQ(error_of([&] { search_.FIND_NEAREST(); }), 9);
    db.SEL_VAMP = 0;
    db.CUR_VAMP = 0;
    EXPECT_EQ(error_of([&] { search_.FIND_NEAREST(); }), 9);
    EXPECT_EQ(search_.NEAREST_BANK(1), found(190, 200, 200, 101));
    EXPECT_EQ(search_.NEAREST_BANK(2), none);
}

TEST_F(PlannerSearchTest, WrongSlotShowsTheBoxAndGivesTheZeroRecord) {
    stand(0, 0);
    place(2, 2, 101);
    search();
    EXPECT_EQ(search_.GET_NEAREST_BANK(0), none);
    EXPECT_EQ(search_.GET_NEAREST_PUB(4), none);
    EXPECT_EQ(search_.GET_NEAREST_TRANSIT(-1), none);
    EXPECT_EQ(search_.GET_NEAREST_BANK(-2147483647 - 1), none);
    const auto box = [](std::string rest) {
        return ShownBox{"An error has occured in section " + rest, MsgButtons::OK,
                        MsgIcon::Critical, "Damn, pass this info to Morvanek..."};
    };
    EXPECT_EQ(world.prompts.shown,
              (std::vector<ShownBox>{box("00131, value 'SENT' = 0"), box("00132, value 'SENT' = 4"),
                                     box("00133, value 'SENT' = -1"),
                                     box("00131, value 'SENT' = -2147483648")}));
    EXPECT_EQ(search_.GET_NEAREST_BANK(1), found(2, 2, 2, 101));  // the lists are untouched
}

TEST_F(PlannerSearchTest, RouteUsesTheFixedStationBlocksEvenWithoutAStation) {
    int16_t code = 92;  // a station on each of the nine fixed blocks, in their order
    for (int x : {50, 100, 150})
        for (int y : {50, 100, 150})
            place(x, y, code++);
    stand(0, 0);
    ASSERT_EQ(search()[6], found(50, 50, 50, 92));
    // 10 from the block (150, 150): 50 + 10 + 3.
    place(150, 160, 160);
    const NAV_DEST d = search_.FIND_DEST(150, 160);
    EXPECT_EQ(d, (NAV_DEST{150, 160, 160, 160, 150, 160, 100, 63, kTrue, kTrue}));
    EXPECT_EQ(search_.DEST_ROUTE, d);
    const std::array<int16_t, 4> cases[] = {
        {100, 50, 95, 50 + 3},
        {75, 50, 95, 50 + 25 + 3},    // equally far from two blocks: the later one
        {-10, 210, 94, 50 + 60 + 3},  // off the grid, still measured
    };
    for (const auto& [x, y, via_code, via_dist] : cases) {
        const NAV_DEST r = search_.FIND_DEST(x, y);
        EXPECT_EQ(r.VIA_CODE, via_code) << x << "," << y;
        EXPECT_EQ(r.VIA_DIST, via_dist) << x << "," << y;
    }
    EXPECT_EQ(search_.FIND_DEST(-10, 210).CODE, -1);
    EXPECT_EQ(search_.FIND_DEST(75, 50).VIA_X, 75);

    // The blocks are weighed whatever stands there; with no station to walk to, no distance
    // from the earlier search leaks into the route, which still names its block.
    for (int x : {50, 100, 150})
        for (int y : {50, 100, 150})
            map.CLEAR_MAP_CODE(x, y);
    search();
    EXPECT_EQ(search_.FIND_DEST(60, 60),
              (NAV_DEST{60, 60, 60, 0, 60, 60, 0, 0 + 10 + 3, kTrue, kTrue}));
}

TEST_F(PlannerSearchTest, FarDestinationsRaiseOverflow) {
    stand(0, 0);
    place(100, 100, 96);
    search();
    EXPECT_EQ(error_of([&] { search_.FIND_DEST(-32768, 0); }), 6);
    // 150 - (-32700) is too far for a block's distance; every distance fits -32617, but
    // 100 + 32667 + 3 does not.
    EXPECT_EQ(error_of([&] { search_.FIND_DEST(-32700, 0); }), 6);
    EXPECT_EQ(error_of([&] { search_.FIND_DEST(-32617, 0); }), 6);
    EXPECT_EQ(search_.FIND_DEST(-32500, 0).VIA_DIST, 100 + 32550 + 3);
}

}  // namespace
}  // namespace zeko
