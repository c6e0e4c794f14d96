#include <gtest/gtest.h>

#include "support/world.h"

namespace zeko {
namespace {

using testing::error_of;

// No character: the tiles are drawn from the positions given.
class TilesTest : public ::testing::Test, protected testing::MinimapWorld {
  protected:
    TilesTest() : MinimapWorld(0) {}

    const TileLabel& colour(int16_t x, int16_t y) {
        mm.DRAW_TILE(x, y, 0, false);
        return model.TILE[0];
    }
    // The label and the picture number after a picture-style drawing.
    std::pair<TileLabel, int> picture(int16_t x, int16_t y) {
        mm.DRAW_TILE_IMAGE(x, y, 0);
        return {model.TILE[0], model.imgTILE[0].picture};
    }
};

TEST(TileGeometry, SidesFontsAndMenuItems) {
    EXPECT_EQ(tile_side(3), 1200);
    EXPECT_EQ(tile_side(5), 720);
    EXPECT_EQ(tile_side(7), 514);
    EXPECT_EQ(tile_side(9), 400);
    EXPECT_EQ(tile_side(11), 327);
    EXPECT_EQ(tile_font(3), (TileFont{"MS Sans Serif", true, 9}));
    EXPECT_EQ(tile_font(5), (TileFont{"Small Fonts", false, 7}));
    EXPECT_EQ(tile_font(7), (TileFont{"Small Fonts", false, 6}));
    EXPECT_EQ(tile_font(9), (TileFont{"Small Fonts", false, 5}));
    EXPECT_EQ(tile_font(11), (TileFont{"Small Fonts", false, 4}));
    EXPECT_FALSE(tile_font(4).has_value());
    // Halves go to the even item: 4 -> 0.5 -> 0, 6 -> 1.5 -> 2, 8 -> 2.5 -> 2, 10 -> 3.5 -> 4.
    const int expected[] = {0, 0, 1, 2, 2, 2, 3, 4, 4};
    for (int zoom = 3; zoom <= 11; ++zoom)
        EXPECT_EQ(zoom_menu_index(zoom), expected[zoom - 3]) << zoom;
    EXPECT_FALSE(zoom_menu_index(1).has_value());
    EXPECT_FALSE(zoom_menu_index(13).has_value());
}

TEST_F(TilesTest, ZoomIsClampedWrittenBackAndLaidOut) {
    zoom_to(1, false);
    EXPECT_EQ(state.settings.SETTINGS.ZOOM, 3);
    EXPECT_EQ(state.ZOOM, 3);
    EXPECT_EQ(model.TILE[8].left, 2400);
    EXPECT_EQ(model.TILE[8].top, 2400);
    EXPECT_EQ(model.TILE[8].width, 1200);
    EXPECT_TRUE(model.TILE[8].visible);
    EXPECT_FALSE(model.TILE[9].visible);
    EXPECT_EQ(model.TILE[0].font, (TileFont{"MS Sans Serif", true, 9}));
    EXPECT_EQ(model.zoom_checked, (std::array<bool, 5>{true, false, false, false, false}));

    zoom_to(13, false);
    EXPECT_EQ(state.settings.SETTINGS.ZOOM, 11);
    EXPECT_EQ(state.ZOOM, 11);
    for (const TileLabel& t : model.TILE)
        EXPECT_TRUE(t.visible);
    EXPECT_EQ(model.TILE[120].left + model.TILE[120].width, 3597);
    EXPECT_EQ(model.TILE[11].top, 327);
    EXPECT_EQ(model.TILE[11].left, 0);
    EXPECT_EQ(model.zoom_checked, (std::array<bool, 5>{false, false, false, false, true}));

    // Going back down hides the tiles beyond the new square.
    zoom_to(7, false);
    EXPECT_EQ(model.TILE[48].left + model.TILE[48].width, 3598);
    EXPECT_TRUE(model.TILE[48].visible);
    EXPECT_FALSE(model.TILE[49].visible);
    EXPECT_FALSE(model.TILE[120].visible);
    EXPECT_EQ(model.TILE[0].font, (TileFont{"Small Fonts", false, 6}));
}

TEST_F(TilesTest, EvenZoomKeepsTheFonts) {
    zoom_to(5, false);
    zoom_to(4, false);
    EXPECT_EQ(state.ZOOM, 4);
    EXPECT_EQ(model.TILE[15].left, 2700);
    EXPECT_EQ(model.TILE[15].width, 900);
    EXPECT_TRUE(model.TILE[15].visible);
    EXPECT_FALSE(model.TILE[16].visible);
    EXPECT_EQ(model.TILE[0].font, (TileFont{"Small Fonts", false, 7}));
    EXPECT_TRUE(model.zoom_checked[0]);
}

TEST_F(TilesTest, PicturesAndBordersByZoom) {
    zoom_to(11, true);
    EXPECT_FALSE(mm.USE_TILE_IMAGES());
    for (size_t k = 0; k < 121; ++k) {
        EXPECT_FALSE(model.imgTILE[k].visible);
        EXPECT_TRUE(model.TILE[k].border);
    }

    zoom_to(9, true);
    EXPECT_TRUE(mm.USE_TILE_IMAGES());
    EXPECT_TRUE(model.imgTILE[80].visible);
    EXPECT_FALSE(model.imgTILE[81].visible);
    EXPECT_EQ(model.imgTILE[80].left, 3200);
    EXPECT_EQ(model.imgTILE[80].height, 400);
    EXPECT_FALSE(model.imgTILE[0].border);
    EXPECT_FALSE(model.TILE[0].border);
    EXPECT_FALSE(model.TILE[120].border);

    // At 7 the pictures get their border back, the labels keep theirs (none, from zoom 9).
    zoom_to(7, true);
    EXPECT_TRUE(model.imgTILE[0].border);
    EXPECT_FALSE(model.TILE[0].border);
    EXPECT_EQ(model.imgTILE[48].width, 514);

    zoom_to(7, false);
    EXPECT_FALSE(model.imgTILE[0].visible);
    EXPECT_TRUE(model.TILE[0].border);
}

TEST_F(TilesTest, CityLimitCornerInBothStyles) {
    const TileLabel& c = colour(-1, -1);
    EXPECT_EQ(c.back_style, 1);
    EXPECT_EQ(c.back_color, rgb(0, 0, 128));
    EXPECT_EQ(c.caption, "City Limit");
    EXPECT_EQ(c.tooltip, "City Limit (X: -1  Y: -1)");

    auto [p, pic] = picture(-1, -1);
    EXPECT_EQ(p.back_style, 0);
    EXPECT_EQ(pic, 19);
    EXPECT_EQ(p.caption, "City Limit");
    EXPECT_EQ(p.tooltip, "City Limit...");
    EXPECT_EQ(p.back_color, rgb(0, 0, 128));

    // A crossing on the limit never gets its street names.
    EXPECT_EQ(colour(-1, 5).caption, "City Limit");
    EXPECT_EQ(colour(7, -1).caption, "City Limit");
    EXPECT_EQ(picture(7, -1).first.caption, "City Limit");
}

TEST_F(TilesTest, TheWastesGetARandomBrownDrawnRedGreenBlue) {
    // 64.5 -> 64, 33.5 -> 34, 2.5 -> 2: halves to even.
    world.random.values = {0.0078125f, 0.046875f, 0.078125f};
    const TileLabel& c = colour(-2, 50);
    EXPECT_EQ(c.caption, "The Wastes");
    EXPECT_EQ(c.back_color, rgb(64, 34, 2));
    EXPECT_EQ(c.tooltip, "The Wastes");
    EXPECT_EQ(world.random.pos, 3u);

    world.random.values = {0.5f, 0.25f, 0.75f};
    world.random.pos = 0;
    EXPECT_EQ(colour(201, 3).back_color, rgb(96, 40, 24));

    auto [p, pic] = picture(-2, 50);
    EXPECT_EQ(pic, 27);
    EXPECT_EQ(p.caption, "The Wastes");
    EXPECT_EQ(p.tooltip, "City Limit...");
    EXPECT_EQ(world.random.pos, 3u);  // no colours drawn in picture style
}

TEST_F(TilesTest, RingPieces) {
    EXPECT_EQ(picture(50, -1).second, 20);
    EXPECT_EQ(picture(200, -1).second, 21);
    EXPECT_EQ(picture(200, 51).second, 22);
    EXPECT_EQ(picture(200, 200).second, 23);
    EXPECT_EQ(picture(0, 200).second, 24);
    EXPECT_EQ(picture(-1, 200).second, 25);
    EXPECT_EQ(picture(-1, 0).second, 26);
    EXPECT_EQ(picture(200, 201).second, 27);
    EXPECT_EQ(picture(-1, -2).second, 27);
}

TEST_F(TilesTest, CornerBlockAndCrossings) {
    place(200, 200, 5, "Corner Pub");
    const TileLabel& c = colour(200, 200);
    EXPECT_EQ(c.back_color, rgb(0, 0, 128));
    EXPECT_EQ(c.caption, "City Limit");
    EXPECT_EQ(c.tooltip, "City Limit (X:  200  Y:  200)");
    auto [p, pic] = picture(200, 200);
    EXPECT_EQ(pic, 23);
    EXPECT_EQ(p.caption, "City Limit");

    const TileLabel& far = colour(199, 199);
    EXPECT_EQ(far.back_color, rgb(0, 128, 0));
    EXPECT_EQ(far.caption, "Zestless && 100th");
    EXPECT_EQ(far.tooltip, "Zestless and 100th (X:  199  Y:  199)");
    auto [pf, picf] = picture(199, 199);
    EXPECT_EQ(picf, 1);
    EXPECT_EQ(pf.caption, "Zestless && 100th");
    EXPECT_EQ(pf.tooltip, " (X:  199  Y:  199)");

    EXPECT_EQ(colour(1, 1).tooltip, "Aardvark and 1st (X:  1  Y:  1)");
}

TEST_F(TilesTest, StreetPieces) {
    colour(1, 1);  // leaves a caption behind
    const TileLabel& ew = colour(2, 3);
    EXPECT_EQ(ew.back_color, rgb(128, 128, 128));
    EXPECT_EQ(ew.caption, "");
    EXPECT_EQ(ew.tooltip, " (X:  2  Y:  3)");
    EXPECT_EQ(colour(3, 2).back_color, rgb(128, 128, 128));

    picture(1, 1);
    auto [p, pic] = picture(2, 3);
    EXPECT_EQ(pic, 4);
    EXPECT_EQ(p.caption, "");
    EXPECT_EQ(picture(3, 2).second, 7);
}

struct BlockCase {
    int16_t code;
    std::string name;  // given to the code; empty keeps the built-in or none
    Rgb colour;
    std::string colour_caption;
    int picture;
    std::string picture_caption;
};

TEST_F(TilesTest, BlocksInBothStyles) {
    const std::vector<BlockCase> cases = {
        {0, "", rgb(0, 0, 0), "", 8, ""},
        {150, "", rgb(0, 0, 0), "", 8, ""},
        {175, "", rgb(0, 0, 0), "", 8, ""},
        {120, "Nameless", rgb(0, 0, 0), "", 8, ""},
        {7, "Bed && Board", rgb(255, 128, 0), "Bed && Board", 12, "Bed && Board"},
        {93, "Clio Station", rgb(255, 0, 0), "Clio Station", 14, "Clio Station"},
        {101, "Blood Bank", rgb(0, 0, 191), "Blood Bank", 11, ""},
        {102, "", rgb(255, 128, 128), "Peace Mission: 1", 18, "Peace Keepers: 1"},
        {104, "", rgb(255, 128, 128), "Peace Mission: 3", 18, "Peace Keepers: 3"},
        {110, "", rgb(128, 0, 0), "Empaths: 3", 18, "Empaths: 3"},
        {198, "Town Hall", rgb(81, 0, 127), "Town Hall", 15, "Town Hall"},
        {200, "Home", rgb(0, 128, 128), "Home", 16, ""},
        {231, "Crypt", rgb(64, 64, 64), "Crypt", 17, ""},
        {300, "Tower", rgb(0, 128, 128), "Tower", 16, ""},
    };
    state.map.INIT_NAMES();
    for (const BlockCase& k : cases) {
        SCOPED_TRACE(k.code);
        place(10, 12, k.code, k.name);
        const std::string name = state.map.PLACE_NAME(k.code);
        const TileLabel& c = colour(10, 12);
        EXPECT_EQ(c.back_color, k.colour);
        EXPECT_EQ(c.caption, k.colour_caption);
        EXPECT_EQ(c.tooltip, AMP_TO_AND(k.colour_caption) + " (X:  10  Y:  12)");
        auto [p, pic] = picture(10, 12);
        EXPECT_EQ(pic, k.picture);
        EXPECT_EQ(p.caption, k.picture_caption);
        // The picture tooltip names the place even where the caption is empty.
        EXPECT_EQ(p.tooltip, AMP_TO_AND(name) + " (X:  10  Y:  12)");
    }
    EXPECT_EQ(picture(10, 12).first.tooltip, "Tower (X:  10  Y:  12)");
    place(10, 12, 150);
    EXPECT_EQ(picture(10, 12).first.tooltip, "Discount Magic (X:  10  Y:  12)");
    place(10, 12, 7);
    EXPECT_EQ(colour(10, 12).tooltip, "Bed and Board (X:  10  Y:  12)");
}

TEST_F(TilesTest, LabelsKeepWhatTheDrawingDoesNotSet) {
    zoom_to(5, true);
    place(4, 4, 101, "Blood Bank");
    mm.DRAW_TILE_IMAGE(4, 4, 3);
    const TileLabel after_picture = model.TILE[3];
    EXPECT_EQ(after_picture.back_style, 0);
    EXPECT_TRUE(after_picture.visible);
    EXPECT_EQ(after_picture.font, (TileFont{"Small Fonts", false, 7}));

    // A colour drawing makes it opaque again and leaves layout, border, font and picture.
    mm.DRAW_TILE(4, 4, 3, false);
    const TileLabel& t = model.TILE[3];
    EXPECT_EQ(t.back_style, 1);
    EXPECT_EQ(t.caption, "Blood Bank");
    EXPECT_EQ(t.left, after_picture.left);
    EXPECT_EQ(t.border, after_picture.border);
    EXPECT_EQ(t.font, after_picture.font);
    EXPECT_EQ(t.fore_color, rgb(255, 255, 255));
    EXPECT_EQ(model.imgTILE[3].picture, 11);

    // A picture drawing of an in-city cell keeps the colour the label had.
    place(6, 6, 231, "Crypt");
    mm.DRAW_TILE(6, 6, 3, false);
    mm.DRAW_TILE_IMAGE(6, 6, 3);
    EXPECT_EQ(model.TILE[3].back_color, rgb(64, 64, 64));
}

TEST_F(TilesTest, PlannerTilesAndBadIndexes) {
    place(4, 4, 101, "Blood Bank");
    const uint64_t before = model.revision;
    mm.DRAW_TILE(4, 4, 8, true);
    EXPECT_EQ(planner[8].caption, "Blood Bank");
    EXPECT_EQ(planner[8].back_color, rgb(0, 0, 191));
    EXPECT_EQ(model.TILE[8], TileLabel{});
    EXPECT_GT(model.revision, before);

    EXPECT_EQ(error_of([&] { mm.DRAW_TILE(4, 4, 9, true); }), 9);
    EXPECT_EQ(error_of([&] { mm.DRAW_TILE(4, 4, 121, false); }), 9);
    EXPECT_EQ(error_of([&] { mm.DRAW_TILE_IMAGE(4, 4, -1); }), 9);
    Minimap without_planner(state, model);
    EXPECT_EQ(error_of([&] { without_planner.DRAW_TILE(4, 4, 0, true); }), 5);
    without_planner.set_planner_tiles(&planner);
    EXPECT_EQ(error_of([&] { without_planner.DRAW_TILE(4, 4, 0, true); }), 0);
}

}  // namespace
}  // namespace zeko
