#include <gtest/gtest.h>

#include <array>

#include "support/world.h"

namespace zeko {
namespace {

using namespace testing;
using Rows = std::array<PanelRow, 5>;

class BuildTest : public ::testing::Test, protected MinimapWorld {};

TEST_F(BuildTest, PositionIsClampedAndTheViewReachesBeyondTheCity) {
    zoom_to(11, true);  // pictures are never used at 11
    stand(-5, 250);
    mm.BUILD_MAP();
    EXPECT_EQ(vamp().POS_X, 0);
    EXPECT_EQ(vamp().POS_Y, 199);
    // Tile 60 is the character's own cell, a piece of east-west street. Row 5 holds y = 199:
    // columns 0..3 are x = -5..-2, column 4 the limit x = -1.
    EXPECT_EQ(model.TILE[60].tooltip, " (X:  0  Y:  199)");
    EXPECT_EQ(model.TILE[58].caption, "The Wastes");
    EXPECT_EQ(model.TILE[59].tooltip, "City Limit (X: -1  Y:  199)");
    EXPECT_EQ(model.TILE[65].tooltip, "Buzzard and 100th (X:  5  Y:  199)");
    EXPECT_EQ(model.cboX_index, 0);
    EXPECT_EQ(model.cboY_index, 100);

    zoom_to(3, true);
    stand(101, 51);
    mm.BUILD_MAP();
    EXPECT_EQ(model.TILE[0].tooltip, " (X:  100  Y:  50)");
    EXPECT_EQ(model.imgTILE[4].picture, 1);
    EXPECT_EQ(model.cboX_index, 51);
    EXPECT_EQ(model.cboY_index, 26);
}

TEST_F(BuildTest, PanelWithTheThirdNearestAndTheTripByTransit) {
    three_of_each();
    place(150, 150, 95, "Euterpe");
    zoom_to(5, false);
    stand(100, 100);
    head_for(151, 151);
    state.NAV_CHOICE = 2;
    mm.BUILD_MAP();
    // A crossing has no place: the frame says "Destination"; +1 names the crossing's streets.
    // From the nearest station (Calliope, 2 away) to the one nearest the destination (Euterpe,
    // 1 away): 2 + 2 + 1, shown one more, with the names as the map holds them.
    EXPECT_EQ(model.rows, (Rows{PanelRow{"Blood Bank", "Zelkova", "53rd", "6"},
                                {"The Bell", "Yak", "50th", "6"},
                                {"Erato", "Beryl", "53rd", "6"},
                                {"Destination", "Malaise", "76th", "51"},
                                {"Calliope to Euterpe", "Malaise", "76th", "6"}}));
    state.NAV_CHOICE = 0;
    mm.BUILD_MAP();
    EXPECT_EQ(model.rows[1], (PanelRow{"The Crow", "Zebra", "50th", "2"}));
}

TEST_F(BuildTest, AnErrorEndsTheRedrawWhereItStands) {
    three_of_each();
    zoom_to(3, false);
    stand(100, 100);
    head_for(96, 96);
    mm.BUILD_MAP();
    const MinimapModel good = model;
    // A destination beyond the street tables stops the redraw at its street names.
    stand(102, 102);
    head_for(300, 20);
    mm.BUILD_MAP();
    EXPECT_EQ(model.TILE[4].tooltip, " (X:  102  Y:  102)");
    EXPECT_EQ(model.rows[0].x, "Anguish");  // the bank at (104, 100) now leads
    EXPECT_EQ(model.rows[3].caption, "The Wastes");
    EXPECT_EQ(model.rows[3].x, good.rows[3].x);
    EXPECT_EQ(model.rows[4], good.rows[4]);
    // A zoom beyond the tiles stops after the last tile.
    stand(50, 50);
    state.ZOOM = 13;
    mm.BUILD_MAP();
    EXPECT_EQ(model.TILE[119].tooltip, " (X:  46  Y:  53)");
    EXPECT_EQ(model.rows[4], good.rows[4]);
}

TEST_F(BuildTest, EmptyMapShowsEmptyRowsAndNoCurrentCharacterDrawsNothing) {
    zoom_to(3, false);
    stand(0, 0);
    head_for(0, 0);
    mm.BUILD_MAP();
    EXPECT_EQ(model.rows[0], (PanelRow{"", "WCL", "NCL", "0"}));
    EXPECT_EQ(model.rows[3], (PanelRow{"Destination", "WCL", "NCL", "0"}));
    EXPECT_EQ(model.rows[4], (PanelRow{" to ", "WCL", "NCL", "3"}));
    const MinimapModel good = model;
    state.db.CUR_VAMP = 2;
    mm.BUILD_MAP();
    EXPECT_EQ(model.TILE, good.TILE);
    EXPECT_EQ(model.rows, good.rows);
    EXPECT_GT(model.revision, good.revision);
    state.db.VAMPS.redim(1, 0);
    state.db.CUR_VAMP = 0;
    mm.BUILD_MAP();
    EXPECT_EQ(model.TILE, good.TILE);
    EXPECT_EQ(error_of([&] { mm.BUILD_DEST_MAP(); }), 9);
}

TEST_F(BuildTest, PlannerPreviewClampsTheDestination) {
    place(198, 0, 101, "Blood Bank");
    state.db.VAMPS.redim(1, 2);
    state.db.CUR_VAMP = 2;
    head_for(250, -3, 2);
    head_for(250, 0, 1);
    mm.BUILD_DEST_MAP();
    EXPECT_EQ(state.db.VAMPS(2).DEST_X, 199);
    EXPECT_EQ(state.db.VAMPS(2).DEST_Y, 0);
    EXPECT_EQ(state.db.VAMPS(1).DEST_X, 250);
    EXPECT_EQ(planner[0].tooltip, "City Limit (X:  198  Y: -1)");
    EXPECT_EQ(planner[3].caption, "Blood Bank");
    EXPECT_EQ(planner[8].tooltip, "City Limit (X:  200  Y:  1)");
    EXPECT_EQ(model.TILE, MinimapModel{}.TILE);
}

}  // namespace
}  // namespace zeko
