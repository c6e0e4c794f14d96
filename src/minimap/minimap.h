#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/conversions.h"
#include "map/nav.h"

namespace zeko {

class RunState;
class CityMap;
class RandomSource;

// 0xRRGGBB.
using Rgb = uint32_t;
constexpr Rgb rgb(int r, int g, int b) {
    return (static_cast<Rgb>(r) << 16) | (static_cast<Rgb>(g) << 8) | static_cast<Rgb>(b);
}

struct TileFont {
    std::string name;
    bool bold = false;
    int points = 0;
    bool operator==(const TileFont&) const = default;
};

// One label of a tile array, as the drawing leaves it. Properties persist from one drawing
// to the next (a label last drawn in picture style stays transparent until a colour drawing
// makes it opaque again), which is why drawing changes a label rather than making a new one.
struct TileLabel {
    bool visible = false;
    int32_t left = 0, top = 0, width = 0, height = 0;  // twips
    int16_t back_style = 1;                            // 1 opaque, 0 transparent
    std::string caption;                               // "&&" shows as one "&"
    Rgb back_color = 0;
    std::string tooltip;
    bool border = true;  // single-line border
    TileFont font;
    Rgb fore_color = rgb(255, 255, 255);
    bool operator==(const TileLabel&) const = default;
};

// One picture under a tile label, used in picture style. Pictures always lie behind the
// labels.
struct TileImage {
    bool visible = false;
    int32_t left = 0, top = 0, width = 0, height = 0;
    int picture = 0;  // 1-based index of the tile pictures; 0 none yet
    bool border = false;
    bool operator==(const TileImage&) const = default;
};

// One navigation line inside the minimap, in twips of the minimap square.
struct NavLineState {
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool visible = false;
    bool operator==(const NavLineState&) const = default;
};

struct PanelRow {
    std::string caption;  // the row frame's caption
    std::string x;        // lblX
    std::string y;        // lblY
    std::string ap;       // lblAP
    bool operator==(const PanelRow&) const = default;
};

// The state of the main window's minimap controls, which the drawing routines change and the
// window shows: tiles, pictures, the information panel, the street boxes, the four lines and
// the check marks the drawing reads or sets.
//
// The routines only write fields. After each call the window shows tiles
// 0 .. ZOOM * ZOOM - 1, the panel, the street boxes and the lines; comparing each with what it
// showed last (operator==) tells it which controls to touch. `revision` grows with every
// routine that may have written something here or into the planner's tiles, so an unchanged
// number means nothing needs showing.
struct MinimapModel {
    std::array<TileLabel, 121> TILE;
    std::array<TileImage, 121> imgTILE;
    // 0 bank, 1 pub, 2 transit, 3 destination, 4 destination by transit.
    std::array<PanelRow, 5> rows;
    int cboX_index = -1;
    int cboY_index = -1;
    NavLineState BANK1, PUB1, TRANS1, DEST1;
    // mnuZoomData(0..4) check marks, ticked by ZOOM_MAP.
    std::array<bool, 5> zoom_checked{};
    // mnuNavData(0..3) check marks, set from the settings; the line drawers read them.
    std::array<bool, 4> navline_checked{};
    uint64_t revision = 0;
};

// The planner window's own 3 x 3 tiles.
using PlannerTiles = std::array<TileLabel, 9>;

// A point of a navigation line, in twips of the minimap square.
struct LinePoint {
    int16_t X = 0;
    int16_t Y = 0;
    bool operator==(const LinePoint&) const = default;
};

// The minimap square's side in twips; the tiles of every zoom fit inside it.
inline constexpr int32_t kMapSquareTwips = 3600;

// Tile side for a zoom: the largest whole number of twips not above 3600 / zoom. zoom > 0.
int32_t tile_side(int zoom);
// Tile caption font for a zoom; none for a zoom outside the table (the labels then keep the
// font they have).
std::optional<TileFont> tile_font(int zoom);
// The zoom menu item a zoom ticks: (zoom - 3) / 2 rounded half to even; none outside 0..4.
std::optional<int> zoom_menu_index(int zoom);
// Which of the three nearest places NAV_CHOICE picks: slot 1, 2 or 3. Values other than 1 and
// 2 pick the nearest.
int nav_slot(int16_t nav_choice);

// The main window's minimap and the planner's 3 x 3 preview, drawn from the program state
// into the control state the windows show. Holds the navigation lines' last start and end
// points, which survive between redraws.
class Minimap {
  public:
    Minimap(RunState& state, MinimapModel& model, PlannerTiles* planner = nullptr);
    Minimap(const Minimap&) = delete;
    Minimap& operator=(const Minimap&) = delete;

    // The planner window's tiles, once it exists; DRAW_TILE with onSetDest raises invalid call
    // without them.
    void set_planner_tiles(PlannerTiles* planner) { planner_ = planner; }

    // Lays the tiles out for the stored zoom, clamped to 3..11 and written back.
    void ZOOM_MAP();
    // Picture tiles are wanted and the stored zoom allows them (never at 11).
    bool USE_TILE_IMAGES() const;
    // Colour style, into the main window's label n, or the planner's when onSetDest is true.
    void DRAW_TILE(int16_t x, int16_t y, int16_t n, bool onSetDest);
    // Picture style, into the main window's picture and label n.
    void DRAW_TILE_IMAGE(int16_t x, int16_t y, int16_t n);

    // The one redraw of the minimap. Never raises: any error ends it where it stands, leaving
    // what it had already drawn.
    void BUILD_MAP();
    // The planner's preview around the current character's destination. Traps nothing: an
    // error (no current character, a failing map load) reaches the caller, with the tiles
    // before it already drawn.
    void BUILD_DEST_MAP();

    // Redraws the four lines. Never raises: without a current character (or on any other
    // error) it stops at the drawer that failed, the lines not yet reached keeping their
    // geometry and visibility.
    void DRAW_LINES();
    // The same, raising the error that stopped it.
    void DRAW_LINES_OR_RAISE();
    void DRAW_BANK_LINE(int16_t zoom);
    void DRAW_PUB_LINE(int16_t zoom);
    void DRAW_TRANSIT_LINE(int16_t zoom);
    void DRAW_DEST_LINE(int16_t zoom);

    LinePoint LINE_START() const;
    LinePoint LINE_END_3(int16_t dx, int16_t dy) const { return line_end(3, dx, dy); }
    LinePoint LINE_END_5(int16_t dx, int16_t dy) const { return line_end(5, dx, dy); }
    LinePoint LINE_END_7(int16_t dx, int16_t dy) const { return line_end(7, dx, dy); }
    LinePoint LINE_END_9(int16_t dx, int16_t dy) const { return line_end(9, dx, dy); }
    LinePoint LINE_END_11(int16_t dx, int16_t dy) const { return line_end(11, dx, dy); }

    // Side of the lines' drawing square in twips; every DRAW_LINES sets it to 3600.
    int32_t MAP_SIZE = kMapSquareTwips;

  private:
    enum LineIndex { kBankLine = 0, kPubLine = 1, kTransitLine = 2, kDestLine = 3 };

    TileLabel& main_label(int n);
    TileLabel& planner_label(int n);
    Rgb wastes_brown();
    void draw_tiles_build(bool pictures);
    void fill_place_row(int row, const NAV_POINT& p);
    void draw_line(LineIndex line, int16_t target_x, int16_t target_y, int16_t zoom);
    NavLineState& line_control(LineIndex line);
    LinePoint line_end(int n, int16_t dx, int16_t dy) const;

    RunState& state_;
    MinimapModel& model_;
    PlannerTiles* planner_;
    std::array<LinePoint, 4> line_start_{};
    std::array<LinePoint, 4> line_end_{};
};

}  // namespace zeko
