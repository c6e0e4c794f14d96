#include "minimap/planner_search.h"

#include <gtest/gtest.h>

#include <string>

#include "map/city_map.h"
#include "support/world.h"

namespace zeko {
namespace {

using testing::error_of;
using testing::found;
using testing::ShownBox;

class PlannerSearchTest : public ::testing::Test, protected testing::CityWorld {
  protected:
    PlannerSearchTest() : CityWorld(2) { db.SEL_VAMP = 1; }

    void search() {
        search_.RESET_NEAREST();
        search_.FIND_NEAREST();
    }
    // A station on each of the nine fixed blocks, codes 92 to 100 in their order.
    void nine_stations() {
        int16_t code = 92;
        for (int x : {50, 100, 150})
            for (int y : {50, 100, 150})
                place(x, y, code++);
    }

    CityMap& map = state.map;
    VampDb& db = state.db;
    testing::ScriptedPrompts& prompts = world.prompts;
    PlannerSearch& search_ = state.planner;
};

TEST_F(PlannerSearchTest, OrderingTiesAndKinds) {
    stand(100, 100);
    place(100, 110, 101);
    place(110, 100, 101);
    place(100, 100, 91);
    place(104, 104, 1);
    place(120, 120, 100);
    place(102, 100, 102);
    place(100, 102, 150);
    search();
    EXPECT_EQ(search_.GET_NEAREST_BANK(1), found(110, 100, 10, 101));
    EXPECT_EQ(search_.GET_NEAREST_BANK(2), found(100, 110, 10, 101));
    EXPECT_EQ(search_.GET_NEAREST_BANK(3), NAV_POINT{});
    EXPECT_EQ(search_.GET_NEAREST_PUB(1), found(100, 100, 0, 91));
    EXPECT_EQ(search_.GET_NEAREST_PUB(2), found(104, 104, 4, 1));
    EXPECT_EQ(search_.GET_NEAREST_PUB(3), NAV_POINT{});
    EXPECT_EQ(search_.GET_NEAREST_TRANSIT(1), found(120, 120, 20, 100));
    EXPECT_EQ(search_.GET_NEAREST_TRANSIT(2), NAV_POINT{});
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PlannerSearchTest, ListsEmptyOnlyThroughReset) {
    stand(10, 10);
    place(10, 12, 5);
    place(12, 12, 6);
    place(14, 14, 7);
    search();
    EXPECT_EQ(search_.NEAREST_PUB(3), found(14, 14, 4, 7));
    // Without the reset a second search adds to what is there.
    search_.FIND_NEAREST();
    EXPECT_EQ(search_.NEAREST_PUB(3), found(12, 12, 2, 6));

    // After the reset only what the map holds now, seen from the new place.
    map.CLEAR_MAP_CODE(10, 12);
    map.CLEAR_MAP_CODE(12, 12);
    stand(200, 200);
    search();
    EXPECT_EQ(search_.NEAREST_PUB(1), found(14, 14, 186, 7));
    EXPECT_EQ(search_.NEAREST_PUB(2), NAV_POINT{});
    EXPECT_EQ(search_.NEAREST_PUB(3), NAV_POINT{});
}

TEST_F(PlannerSearchTest, StartsFromTheSelectedCharacter) {
    stand(0, 0);
    stand(200, 200, 2);
    place(190, 200, 101);
    db.SEL_VAMP = 2;
    search();
    EXPECT_EQ(search_.GET_NEAREST_BANK(1).DIST, 10);
    db.SEL_VAMP = 0;  // none selected: the current one
    search();
    EXPECT_EQ(db.SEL_VAMP, 1);
    EXPECT_EQ(search_.GET_NEAREST_BANK(1).DIST, 200);

    // No such character: nothing scanned, the lists keep their last search.
    db.SEL_VAMP = 3;
    EXPECT_EQ(error_of([&] { search_.FIND_NEAREST(); }), 9);
    db.SEL_VAMP = 0;
    db.CUR_VAMP = 0;
    EXPECT_EQ(error_of([&] { search_.FIND_NEAREST(); }), 9);
    EXPECT_EQ(search_.NEAREST_BANK(1), found(190, 200, 200, 101));
    EXPECT_EQ(search_.NEAREST_BANK(2), NAV_POINT{});
}

TEST_F(PlannerSearchTest, WrongSlotShowsTheBoxAndGivesTheZeroRecord) {
    stand(0, 0);
    place(2, 2, 101);
    search();
    EXPECT_EQ(search_.GET_NEAREST_BANK(0), NAV_POINT{});
    EXPECT_EQ(search_.GET_NEAREST_PUB(4), NAV_POINT{});
    EXPECT_EQ(search_.GET_NEAREST_TRANSIT(-1), NAV_POINT{});
    EXPECT_EQ(search_.GET_NEAREST_BANK(-2147483647 - 1), NAV_POINT{});
    const auto box = [](std::string rest) {
        return ShownBox{"An error has occured in section " + rest, MsgButtons::OK,
                        MsgIcon::Critical, "Damn, pass this info to Morvanek..."};
    };
    EXPECT_EQ(prompts.shown,
              (std::vector<ShownBox>{box("00131, value 'SENT' = 0"), box("00132, value 'SENT' = 4"),
                                     box("00133, value 'SENT' = -1"),
                                     box("00131, value 'SENT' = -2147483648")}));
    EXPECT_EQ(search_.GET_NEAREST_BANK(1), found(2, 2, 2, 101));  // the lists are untouched
}

TEST_F(PlannerSearchTest, RouteUsesTheFixedStationBlocks) {
    nine_stations();
    stand(0, 0);
    search();
    ASSERT_EQ(search_.GET_NEAREST_TRANSIT(1), found(50, 50, 50, 92));

    // 10 from the block (150, 150): 50 + 10 + 3.
    place(150, 160, 160);
    const NAV_DEST d = search_.FIND_DEST(150, 160);
    EXPECT_EQ(d, (NAV_DEST{150, 160, 160, 160, 150, 160, 100, 63, kTrue, kTrue}));
    EXPECT_EQ(search_.DEST_ROUTE, d);

    struct Case {
        int16_t x, y, via_code, via_dist;
    };
    const Case cases[] = {
        {100, 50, 95, 50 + 3},
        {150, 50, 98, 50 + 3},
        {75, 50, 95, 50 + 25 + 3},    // equally far from two blocks: the later one
        {-10, 210, 94, 50 + 60 + 3},  // off the grid, still measured
    };
    for (const Case& c : cases) {
        const NAV_DEST r = search_.FIND_DEST(c.x, c.y);
        EXPECT_EQ(r.VIA_CODE, c.via_code) << c.x << "," << c.y;
        EXPECT_EQ(r.VIA_DIST, c.via_dist) << c.x << "," << c.y;
    }
    EXPECT_EQ(search_.FIND_DEST(-10, 210).CODE, -1);
    EXPECT_EQ(search_.FIND_DEST(75, 50).VIA_X, 75);
}

TEST_F(PlannerSearchTest, RouteWithoutAnyStation) {
    stand(0, 0);
    place(50, 50, 92);
    search();
    EXPECT_EQ(search_.FIND_DEST(60, 60).VIA_DIST, 50 + 10 + 3);

    // The blocks are weighed whatever stands there; with no station to walk to, no distance
    // from the earlier search leaks into the route, which still names its block.
    map.CLEAR_MAP_CODE(50, 50);
    search();
    EXPECT_EQ(search_.FIND_DEST(60, 60),
              (NAV_DEST{60, 60, 60, 0, 60, 60, 0, 0 + 10 + 3, kTrue, kTrue}));
}

TEST_F(PlannerSearchTest, FarPositionsRaiseOverflow) {
    place(0, 0, 101);
    stand(-32768, 0);
    EXPECT_EQ(error_of([&] { search(); }), 6);
    map.CLEAR_MAP_CODE(0, 0);
    search();
    EXPECT_EQ(error_of([&] { search_.FIND_DEST(10, 10); }), 6);

    stand(0, 0);
    place(100, 100, 96);
    search();
    EXPECT_EQ(error_of([&] { search_.FIND_DEST(-32768, 0); }), 6);
    // 150 - (-32700) is too far for a block's distance.
    EXPECT_EQ(error_of([&] { search_.FIND_DEST(-32700, 0); }), 6);
    // Every distance fits, but 100 + 32667 + 3 does not.
    EXPECT_EQ(error_of([&] { search_.FIND_DEST(-32617, 0); }), 6);
    EXPECT_EQ(search_.FIND_DEST(-32500, 0).VIA_DIST, 100 + 32550 + 3);
}

}  // namespace
}  // namespace zeko
