#include <gtest/gtest.h>

#include <array>
#include <string>

#include "support/world.h"

namespace zeko {
namespace {

using namespace testing;

// No character: the tiles are drawn from the positions given.
class TilesTest : public ::testing::Test, protected MinimapWorld {
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

TEST_F(TilesTest, ZoomIsClampedWrittenBackLaidOutAndTicked) {
    // Asked, kept, the last visible tile and the ticked menu item (halves go to the even one).
    const std::array<int16_t, 4> cases[] = {
        {1, 3, 8, 0}, {13, 11, 120, 4}, {7, 7, 48, 2}, {4, 4, 15, 0}};
    for (const auto& [asked, zoom, last, ticked] : cases) {
        SCOPED_TRACE(asked);
        zoom_to(asked, false);
        EXPECT_EQ(state.settings.SETTINGS.ZOOM, zoom);
        EXPECT_EQ(state.ZOOM, zoom);
        EXPECT_TRUE(model.TILE[last].visible);
        EXPECT_EQ(model.TILE[last].left + model.TILE[last].width, 3600 - 3600 % zoom);
        EXPECT_FALSE(last < 120 && model.TILE[last + 1].visible);
        std::array<bool, 5> checked{};
        checked[ticked] = true;
        EXPECT_EQ(model.zoom_checked, checked);
    }
    // An even zoom keeps the fonts it had.
    EXPECT_EQ(model.TILE[0].font, (TileFont{"Small Fonts", false, 6}));
    EXPECT_FALSE(zoom_menu_index(13).has_value());
}

TEST_F(TilesTest, PicturesOnlyUpToZoom9AndTheirBordersFrom7Down) {
    zoom_to(11, true);
    EXPECT_FALSE(mm.USE_TILE_IMAGES());
    EXPECT_FALSE(model.imgTILE[0].visible);
    zoom_to(9, true);
    EXPECT_TRUE(mm.USE_TILE_IMAGES());
    EXPECT_TRUE(model.imgTILE[80].visible && !model.imgTILE[81].visible);
    EXPECT_FALSE(model.imgTILE[0].border || model.TILE[0].border);
    zoom_to(7, true);
    EXPECT_TRUE(model.imgTILE[0].border);
    zoom_to(7, false);
    EXPECT_FALSE(model.imgTILE[0].visible);
    EXPECT_TRUE(model.TILE[0].border);
}

TEST_F(TilesTest, TheWastesGetARandomBrownDrawnRedGreenBlueRoundedHalvesToEven) {
    // 64.5 -> 64, 33.5 -> 34, 2.5 -> 2.
    world.random.values = {0.0078125f, 0.046875f, 0.078125f};
    const TileLabel& c = colour(-2, 50);
    EXPECT_EQ(c.caption, "The Wastes");
    EXPECT_EQ(c.back_color, rgb(64, 34, 2));
    EXPECT_EQ(c.tooltip, "The Wastes");
    auto [p, pic] = picture(-2, 50);
    EXPECT_EQ(pic, 27);
    EXPECT_EQ(p.tooltip, "City Limit...");
    EXPECT_EQ(world.random.pos, 3u);  // no colours drawn in picture style
}

TEST_F(TilesTest, LimitRingStreetsCrossingsAndBlocksInBothStyles) {
    struct Case {
        int16_t x, y, code;
        Rgb colour;
        std::string caption, tooltip;
        int picture;
        std::string picture_caption, picture_tooltip;
    };
    const Rgb navy = rgb(0, 0, 128), grey = rgb(128, 128, 128);
    state.map.INIT_NAMES();
    place(200, 200, 5, "Corner Pub");  // a place on the limit is still the limit
    const Case cases[] = {
        {-1, -1, 0, navy, "City Limit", "City Limit (X: -1  Y: -1)", 19, "City Limit",
         "City Limit..."},
        {200, 200, 5, navy, "City Limit", "City Limit (X:  200  Y:  200)", 23, "City Limit",
         "City Limit..."},
        {199, 199, 0, rgb(0, 128, 0), "Zestless && 100th", "Zestless and 100th (X:  199  Y:  199)",
         1, "Zestless && 100th", " (X:  199  Y:  199)"},
        {2, 3, 0, grey, "", " (X:  2  Y:  3)", 4, "", " (X:  2  Y:  3)"},
        {3, 2, 0, grey, "", " (X:  3  Y:  2)", 7, "", " (X:  3  Y:  2)"},
        // Blocks: the picture tooltip names the place even where the caption is empty.
        {10, 12, 0, rgb(0, 0, 0), "", " (X:  10  Y:  12)", 8, "", " (X:  10  Y:  12)"},
        {10, 14, 7, rgb(255, 128, 0), "Bed && Board", "Bed and Board (X:  10  Y:  14)", 12,
         "Bed && Board", "Bed and Board (X:  10  Y:  14)"},
        {10, 16, 104, rgb(255, 128, 128), "Peace Mission: 3", "Peace Mission: 3 (X:  10  Y:  16)",
         18, "Peace Keepers: 3", "Peace Keepers: 3 (X:  10  Y:  16)"},
        {10, 18, 231, rgb(64, 64, 64), "Crypt", "Crypt (X:  10  Y:  18)", 17, "",
         "Crypt (X:  10  Y:  18)"},
    };
    place(10, 14, 7, "Bed && Board");
    place(10, 16, 104);
    place(10, 18, 231, "Crypt");
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
        EXPECT_EQ(p.caption, c.picture_caption);
        EXPECT_EQ(p.tooltip, c.picture_tooltip);
    }
    const std::array<int16_t, 3> ring[] = {
        {50, -1, 20}, {200, 51, 22}, {-1, 200, 25}, {-1, 0, 26}, {200, 201, 27}};
    for (const auto& [x, y, pic] : ring)
        EXPECT_EQ(picture(x, y).second, pic) << x << "," << y;
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
