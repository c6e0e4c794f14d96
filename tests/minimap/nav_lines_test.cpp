#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "support/world.h"

namespace zeko {
namespace {

using namespace testing;

NavLineState line(int16_t x2, int16_t y2, bool visible) {
    return NavLineState{1800, 1800, x2, y2, visible};
}

class LinesTest : public ::testing::Test, protected testing::MinimapWorld {
  protected:
    LinesTest() { state.ZOOM = 3; }

    void redraw() {
        state.nav.NAV_UPDATE();
        mm.DRAW_LINES();
    }
};

TEST_F(LinesTest, StartAndEndsEachAxisLimitedOnItsOwnToTheSquare) {
    EXPECT_EQ(mm.LINE_START(), (LinePoint{1800, 1800}));
    const std::array<int16_t, 5> ends3 = {0, 600, 1800, 3000, 3600};
    for (int d = -5; d <= 5; ++d) {
        const LinePoint p = mm.LINE_END_3(static_cast<int16_t>(d), static_cast<int16_t>(-d));
        EXPECT_EQ(p.X, ends3[static_cast<size_t>(std::clamp(d, -2, 2) + 2)]) << d;
        EXPECT_EQ(p.Y, ends3[static_cast<size_t>(std::clamp(-d, -2, 2) + 2)]) << d;
    }
    // A few ends of the larger tables, and the far corners of each.
    EXPECT_EQ(mm.LINE_END_5(-1, 2), (LinePoint{1080, 3240}));
    EXPECT_EQ(mm.LINE_END_7(3, -4), (LinePoint{3342, 0}));
    EXPECT_EQ(mm.LINE_END_9(4, -1), (LinePoint{3400, 1400}));
    EXPECT_EQ(mm.LINE_END_11(-6, 6), (LinePoint{0, 3600}));
    EXPECT_EQ(mm.LINE_END_11(-5, 5), (LinePoint{170, 3430}));
    using End = LinePoint (Minimap::*)(int16_t, int16_t) const;
    for (End end : {&Minimap::LINE_END_3, &Minimap::LINE_END_5, &Minimap::LINE_END_7,
                    &Minimap::LINE_END_9, &Minimap::LINE_END_11})
        EXPECT_EQ((mm.*end)(-32768, 32767), (LinePoint{0, 3600}));
}

TEST_F(LinesTest, LinesFollowTheChoiceAndTheCheckMarksInTheFullSquare) {
    three_of_each();
    stand(100, 100);
    head_for(99, 99);
    model.navline_checked = {true, false, true, false};
    mm.MAP_SIZE = 1200;
    EXPECT_EQ(mm.LINE_START(), (LinePoint{600, 600}));
    redraw();
    EXPECT_EQ(mm.MAP_SIZE, 3600);  // every redraw works in the full square
    EXPECT_EQ(model.BANK1, line(3600, 1800, true));
    EXPECT_EQ(model.PUB1, line(0, 1800, false));
    EXPECT_EQ(model.TRANS1, line(1800, 0, true));
    EXPECT_EQ(model.DEST1, line(600, 600, false));  // unticked, still follows

    state.NAV_CHOICE = 2;
    redraw();
    EXPECT_EQ(model.BANK1, line(1800, 3600, true));
    EXPECT_EQ(model.TRANS1, line(3600, 3600, true));

    // The offsets come from the record's position, not from the one the last update used.
    stand(101, 100);
    model.navline_checked[3] = true;
    mm.DRAW_LINES();
    EXPECT_EQ(model.BANK1, line(1800 - 1200, 3600, true));
    EXPECT_EQ(model.DEST1, line(0, 600, true));
}

TEST_F(LinesTest, ZeroLengthEmptySlotsAndEvenZoomsKeepTheEndPoints) {
    place(100, 100, 101);
    stand(100, 100);
    head_for(101, 101);
    state.ZOOM = 4;
    redraw();
    EXPECT_EQ(model.DEST1, line(0, 0, true));  // never computed yet
    state.ZOOM = 3;
    redraw();
    EXPECT_EQ(model.BANK1, line(1800, 1800, true));
    EXPECT_EQ(model.DEST1, line(3000, 3000, true));
    // No pub on the map: the empty slot points at (0, 0).
    EXPECT_EQ(model.PUB1, line(0, 0, true));
    state.ZOOM = 4;
    head_for(99, 99);
    model.navline_checked[3] = false;
    redraw();
    EXPECT_EQ(model.DEST1, line(3000, 3000, false));
}

TEST_F(LinesTest, NoCurrentCharacterKeepsTheLinesAndAnOverflowStopsAtItsLine) {
    stand(100, 100);
    head_for(101, 100);
    redraw();
    const MinimapModel before = model;
    state.db.CUR_VAMP = 5;
    model.navline_checked.fill(false);
    mm.DRAW_LINES();
    EXPECT_EQ(model.BANK1, before.BANK1);
    EXPECT_EQ(model.DEST1, before.DEST1);
    EXPECT_EQ(error_of([&] { mm.DRAW_LINES_OR_RAISE(); }), 9);
    EXPECT_EQ(error_of([&] { mm.DRAW_BANK_LINE(3); }), 9);

    state.db.CUR_VAMP = 1;
    stand(-5, 100);
    state.nav.NAV_TARGET.X = 32767;
    model = MinimapModel{};
    EXPECT_EQ(error_of([&] { mm.DRAW_LINES_OR_RAISE(); }), 6);
    // The three lines before the destination's were drawn.
    EXPECT_EQ(model.BANK1, line(3600, 0, false));
    EXPECT_EQ(model.DEST1, NavLineState{});
    mm.DRAW_LINES();  // quiet
}

}  // namespace
}  // namespace zeko
