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

TEST_F(TilesTest, ZoomIsClampedWrittenBackAndLaidOut) {
    struct Case {
        int16_t asked, zoom;
        size_t last;          // the last visible tile
        int32_t side, right;  // tile side; right edge of the last tile
        TileFont font;
        std::array<bool, 5> checked;  // halves go to the even menu item
    };
    const TileFont sans{"MS Sans Serif", true, 9};
    const Case cases[] = {
        {1, 3, 8, 1200, 3600, sans, {true, false, false, false, false}},
        {13, 11, 120, 327, 3597, {"Small Fonts", false, 4}, {false, false, false, false, true}},
        {7, 7, 48, 514, 3598, {"Small Fonts", false, 6}, {false, false, true, false, false}},
        {4, 4, 15, 900, 3600, {"Small Fonts", false, 6}, {true, false, false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        zoom_to(c.asked, false);
        EXPECT_EQ(state.settings.SETTINGS.ZOOM, c.zoom);
        EXPECT_EQ(state.ZOOM, c.zoom);
        EXPECT_TRUE(model.TILE[c.last].visible);
        EXPECT_EQ(model.TILE[c.last].width, c.side);
        EXPECT_EQ(model.TILE[c.last].left + c.side, c.right);
        EXPECT_EQ(model.TILE[c.last].top, model.TILE[c.last].left);  // the bottom-right tile
        EXPECT_FALSE(c.last < 120 && model.TILE[c.last + 1].visible);
        EXPECT_EQ(model.TILE[0].font, c.font);  // an even zoom keeps the fonts it had
        EXPECT_EQ(model.zoom_checked, c.checked);
    }
    EXPECT_FALSE(zoom_menu_index(13).has_value());
    EXPECT_EQ(zoom_menu_index(8), 2);
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
    EXPECT_FALSE(model.imgTILE[0].border);
    EXPECT_FALSE(model.TILE[120].border);
    // At 7 the pictures get their border back, the labels keep theirs (none, from zoom 9).
    zoom_to(7, true);
    EXPECT_TRUE(model.imgTILE[0].border);
    EXPECT_FALSE(model.TILE[0].border);
    zoom_to(7, false);
    EXPECT_FALSE(model.imgTILE[0].visible);
    EXPECT_TRUE(model.TILE[0].border);
}

TEST_F(TilesTest, TheWastesGetARandomBrownDrawnRedGreenBlue) {
    // 64.5 -> 64, 33.5 -> 34, 2.5 -> 2: halves to even.
    world.random.values = {0.0078125f, 0.046875f, 0.078125f};
    const TileLabel& c = colour(-2, 50);
    EXPECT_EQ(c.caption, "The Wastes");
    EXPECT_EQ(c.back_color, rgb(64, 34, 2));
    EXPECT_EQ(c.tooltip, "The Wastes");
    EXPECT_EQ(world.random.pos, 3u);
    auto [p, pic] = picture(-2, 50);
    EXPECT_EQ(pic, 27);
    EXPECT_EQ(p.tooltip, "City Limit...");
    EXPECT_EQ(world.random.pos, 3u);  // no colours drawn in picture style
}

TEST_F(TilesTest, LimitRingStreetsAndCrossingsInBothStyles) {
    struct Case {
        int16_t x, y;
        Rgb colour;
        std::string caption, tooltip;
        int picture;
        std::string picture_tooltip;
    };
    const Rgb navy = rgb(0, 0, 128), grey = rgb(128, 128, 128);
    place(200, 200, 5, "Corner Pub");  // a place on the limit is still the limit
    const Case cases[] = {
        {-1, -1, navy, "City Limit", "City Limit (X: -1  Y: -1)", 19, "City Limit..."},
        {200, 200, navy, "City Limit", "City Limit (X:  200  Y:  200)", 23, "City Limit..."},
        {199, 199, rgb(0, 128, 0), "Zestless && 100th", "Zestless and 100th (X:  199  Y:  199)", 1,
         " (X:  199  Y:  199)"},
        {2, 3, grey, "", " (X:  2  Y:  3)", 4, " (X:  2  Y:  3)"},
        {3, 2, grey, "", " (X:  3  Y:  2)", 7, " (X:  3  Y:  2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        colour(1, 1);  // leaves a caption behind
        const TileLabel& t = colour(c.x, c.y);
        EXPECT_EQ(t.back_color, c.colour);
        EXPECT_EQ(t.caption, c.caption);
        EXPECT_EQ(t.tooltip, c.tooltip);
        picture(1, 1);
        auto [p, pic] = picture(c.x, c.y);
        EXPECT_EQ(pic, c.picture);
        EXPECT_EQ(p.caption, c.caption);
        EXPECT_EQ(p.tooltip, c.picture_tooltip);
    }
    const std::array<int16_t, 3> ring[] = {
        {50, -1, 20}, {200, 51, 22}, {-1, 200, 25}, {-1, 0, 26}, {200, 201, 27}};
    for (const auto& [x, y, pic] : ring)
        EXPECT_EQ(picture(x, y).second, pic) << x << "," << y;
}

TEST_F(TilesTest, BlocksInBothStyles) {
    struct Case {
        int16_t code;
        std::string name;  // given to the code; empty keeps the built-in or none
        Rgb colour;
        std::string colour_caption;
        int picture;
        std::string picture_caption;
    };
    const Case cases[] = {
        {0, "", rgb(0, 0, 0), "", 8, ""},
        {120, "Nameless", rgb(0, 0, 0), "", 8, ""},
        {7, "Bed && Board", rgb(255, 128, 0), "Bed && Board", 12, "Bed && Board"},
        {104, "", rgb(255, 128, 128), "Peace Mission: 3", 18, "Peace Keepers: 3"},
        {110, "", rgb(128, 0, 0), "Empaths: 3", 18, "Empaths: 3"},
        {231, "Crypt", rgb(64, 64, 64), "Crypt", 17, ""},
        {300, "Tower", rgb(0, 128, 128), "Tower", 16, ""},
    };
    state.map.INIT_NAMES();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.code);
        place(10, 12, k.code, k.name);
        const TileLabel& c = colour(10, 12);
        EXPECT_EQ(c.back_color, k.colour);
        EXPECT_EQ(c.caption, k.colour_caption);
        EXPECT_EQ(c.tooltip, AMP_TO_AND(k.colour_caption) + " (X:  10  Y:  12)");
        auto [p, pic] = picture(10, 12);
        EXPECT_EQ(pic, k.picture);
        EXPECT_EQ(p.caption, k.picture_caption);
        // The picture tooltip names the place even where the caption is empty.
        EXPECT_EQ(p.tooltip, AMP_TO_AND(state.map.PLACE_NAME(k.code)) + " (X:  10  Y:  12)");
    }
}

TEST_F(TilesTest, DrawingsKeepWhatTheyDoNotSet) {
    zoom_to(5, true);
    place(4, 4, 231, "Crypt");
    mm.DRAW_TILE(4, 4, 3, false);
    mm.DRAW_TILE_IMAGE(4, 4, 3);
    const TileLabel after_picture = model.TILE[3];
    EXPECT_EQ(after_picture.back_style, 0);
    EXPECT_EQ(after_picture.back_color, rgb(64, 64, 64));  // the colour the label had
    // A colour drawing makes it opaque again and leaves layout, border, font and picture.
    mm.DRAW_TILE(4, 4, 3, false);
    TileLabel expected = after_picture;
    expected.back_style = 1;
    expected.caption = "Crypt";
    expected.tooltip = "Crypt (X:  4  Y:  4)";
    EXPECT_EQ(model.TILE[3], expected);
    EXPECT_EQ(model.imgTILE[3].picture, 17);
}

TEST_F(TilesTest, PlannerTilesAndBadIndexes) {
    place(4, 4, 101, "Blood Bank");
    const uint64_t before = model.revision;
    mm.DRAW_TILE(4, 4, 8, true);
    EXPECT_EQ(planner[8].caption, "Blood Bank");
    EXPECT_EQ(model.TILE[8], TileLabel{});
    EXPECT_GT(model.revision, before);
    EXPECT_EQ(error_of([&] { mm.DRAW_TILE(4, 4, 9, true); }), 9);
    EXPECT_EQ(error_of([&] { mm.DRAW_TILE(4, 4, 121, false); }), 9);
    EXPECT_EQ(error_of([&] { mm.DRAW_TILE_IMAGE(4, 4, -1); }), 9);
    Minimap without_planner(state, model);
    EXPECT_EQ(error_of([&] { without_planner.DRAW_TILE(4, 4, 0, true); }), 5);
}

}  // namespace
}  // namespace zeko
