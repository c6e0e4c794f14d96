// The minimap's layout by zoom and the drawing of one tile in either style.

#include "minimap/minimap.h"

#include <cmath>

#include "common/errors.h"
#include "common/services.h"
#include "map/city_map.h"
#include "map/run_state.h"

namespace zeko {

namespace {

constexpr Rgb kNavy = rgb(0, 0, 128);

bool is_odd(int v) {
    return v % 2 != 0;
}

bool outside_city(int x, int y) {
    return x < -1 || x > 200 || y < -1 || y > 200;
}

std::string coordinates_part(int16_t x, int16_t y) {
    return " (X: " + Str(x) + "  Y: " + Str(y) + ")";
}

// The picture of a city-limit or outside cell (x or y at most -1 or at least 200).
int ring_picture(int x, int y) {
    if (outside_city(x, y)) return 27;
    const bool inner_x = x >= 0 && x <= 199;
    if (y == -1) return x == -1 ? 19 : inner_x ? 20 : 21;
    if (y == 200) return x == 200 ? 23 : inner_x ? 24 : 25;
    return x == 200 ? 22 : 26;
}

}  // namespace

int32_t tile_side(int zoom) {
    return static_cast<int32_t>(std::floor(static_cast<double>(kMapSquareTwips) / zoom));
}

std::optional<TileFont> tile_font(int zoom) {
    switch (zoom) {
        case 3:
            return TileFont{"MS Sans Serif", true, 9};
        case 5:
            return TileFont{"Small Fonts", false, 7};
        case 7:
            return TileFont{"Small Fonts", false, 6};
        case 9:
            return TileFont{"Small Fonts", false, 5};
        case 11:
            return TileFont{"Small Fonts", false, 4};
        default:
            return std::nullopt;
    }
}

std::optional<int> zoom_menu_index(int zoom) {
    const double index = std::nearbyint((zoom - 3) / 2.0);
    if (index < 0 || index > 4) return std::nullopt;
    return static_cast<int>(index);
}

int nav_slot(int16_t nav_choice) {
    return nav_choice == 1 ? 2 : nav_choice == 2 ? 3 : 1;
}

Minimap::Minimap(RunState& state, MinimapModel& model, PlannerTiles* planner)
    : state_(state), model_(model), planner_(planner) {}

TileLabel& Minimap::main_label(int n) {
    if (n < 0 || n >= static_cast<int>(model_.TILE.size())) raise(Err::SubscriptOutOfRange);
    return model_.TILE[static_cast<size_t>(n)];
}

TileLabel& Minimap::planner_label(int n) {
    if (planner_ == nullptr) raise(Err::InvalidCall);
    if (n < 0 || n >= static_cast<int>(planner_->size())) raise(Err::SubscriptOutOfRange);
    return (*planner_)[static_cast<size_t>(n)];
}

void Minimap::ZOOM_MAP() {
    ++model_.revision;
    for (TileLabel& t : model_.TILE)
        t.visible = false;

    SETTINGS_REC& settings = state_.settings.SETTINGS;
    if (settings.ZOOM < 3) settings.ZOOM = 3;
    if (settings.ZOOM > 11) settings.ZOOM = 11;
    state_.ZOOM = settings.ZOOM;

    const int zoom = state_.ZOOM;
    const int32_t side = tile_side(zoom);
    const std::optional<TileFont> font = tile_font(zoom);
    for (int r = 0; r < zoom; ++r) {
        for (int c = 0; c < zoom; ++c) {
            TileLabel& t = model_.TILE[static_cast<size_t>(r * zoom + c)];
            t.left = c * side;
            t.top = r * side;
            t.width = side;
            t.height = side;
            t.visible = true;
            if (font) t.font = *font;
        }
    }

    model_.zoom_checked.fill(false);
    if (const std::optional<int> item = zoom_menu_index(zoom))
        model_.zoom_checked[static_cast<size_t>(*item)] = true;

    if (USE_TILE_IMAGES()) {
        for (size_t k = 0; k < model_.TILE.size(); ++k) {
            TileLabel& t = model_.TILE[k];
            TileImage& img = model_.imgTILE[k];
            img.left = t.left;
            img.top = t.top;
            img.height = t.height;
            img.width = t.width;
            img.border = true;
            if (settings.ZOOM == 9) {
                img.border = false;
                t.border = false;
            }
            img.visible = t.visible;
        }
    } else {
        for (size_t k = 0; k < model_.TILE.size(); ++k) {
            model_.imgTILE[k].visible = false;
            model_.TILE[k].border = true;
        }
    }
}

bool Minimap::USE_TILE_IMAGES() const {
    const SETTINGS_REC& settings = state_.settings.SETTINGS;
    return settings.TILE_IMAGES != kFalse && settings.ZOOM <= 9;
}

Rgb Minimap::wastes_brown() {
    RandomSource* random = state_.services.random;
    if (random == nullptr) raise(Err::InvalidCall);
    // Drawn in the order red, green, blue.
    const double r1 = random->next();
    const int red = CInt(64.0 + 64.0 * r1);
    const double r2 = random->next();
    const int green = CInt(32.0 + 32.0 * r2);
    const double r3 = random->next();
    const int blue = CInt(32.0 * r3);
    return rgb(red, green, blue);
}

void Minimap::DRAW_TILE(int16_t x, int16_t y, int16_t n, bool onSetDest) {
    ++model_.revision;
    TileLabel& t = onSetDest ? planner_label(n) : main_label(n);
    CityMap& map = state_.map;

    t.back_style = 1;
    t.caption.clear();

    if (outside_city(x, y)) {
        t.caption = "The Wastes";
        t.back_color = wastes_brown();
        t.tooltip = AMP_TO_AND(t.caption);
        return;
    }

    const bool odd_x = is_odd(x);
    const bool odd_y = is_odd(y);
    if (!odd_x && !odd_y) {
        t.back_color = rgb(0, 0, 0);
        const int16_t c = map.GET_MAP_CODE(x, y);
        if (c >= 1 && c <= 91) {
            t.back_color = rgb(255, 128, 0);
            t.caption = map.PLACE_NAME(c);
        } else if (c >= 92 && c <= 100) {
            t.back_color = rgb(255, 0, 0);
            t.caption = map.PLACE_NAME(c);
        } else if (c == 101) {
            t.back_color = rgb(0, 0, 191);
            t.caption = map.PLACE_NAME(c);
        } else if (c >= 102 && c <= 104) {
            t.back_color = rgb(255, 128, 128);
            t.caption = "Peace Mission: " + std::to_string(c - 101);
        } else if (c >= 105 && c <= 119) {
            t.back_color = rgb(128, 0, 0);
            t.caption = map.PLACE_NAME(c);
        } else if (c >= 198 && c <= 199) {
            t.back_color = rgb(81, 0, 127);
            t.caption = map.PLACE_NAME(c);
        } else if (c == 231) {
            t.back_color = rgb(64, 64, 64);
            t.caption = map.PLACE_NAME(c);
        } else if (c >= 200) {
            t.back_color = rgb(0, 128, 128);
            t.caption = map.PLACE_NAME(c);
        }
    } else if (odd_x && odd_y) {
        t.back_color = rgb(0, 128, 0);
        if (x > 0 && x < 200 && y > 0 && y < 200) t.caption = map.LOCATION_NAME(x + 1, y + 1);
    } else {
        t.back_color = rgb(128, 128, 128);
    }

    if (x == -1 || y == -1 || x == 200 || y == 200) {
        t.back_color = kNavy;
        t.caption = "City Limit";
    }

    t.tooltip = AMP_TO_AND(t.caption) + coordinates_part(x, y);
}

void Minimap::DRAW_TILE_IMAGE(int16_t x, int16_t y, int16_t n) {
    ++model_.revision;
    TileLabel& t = main_label(n);
    TileImage& img = model_.imgTILE[static_cast<size_t>(n)];
    CityMap& map = state_.map;

    t.back_style = 0;

    const bool odd_x = is_odd(x);
    const bool odd_y = is_odd(y);
    if (odd_x && odd_y) {
        img.picture = 1;
        if (x > 0 && x < 200 && y > 0 && y < 200) t.caption = map.LOCATION_NAME(x + 1, y + 1);
    } else if (!odd_x && odd_y) {
        img.picture = 4;
        t.caption.clear();
    } else if (odd_x && !odd_y) {
        img.picture = 7;
        t.caption.clear();
    } else {
        img.picture = 8;
        t.caption.clear();
        const int16_t c = map.GET_MAP_CODE(x, y);
        if (c >= 1 && c <= 91) {
            img.picture = 12;
            t.caption = map.PLACE_NAME(c);
        } else if (c >= 92 && c <= 100) {
            img.picture = 14;
            t.caption = map.PLACE_NAME(c);
        } else if (c == 101) {
            img.picture = 11;
        } else if (c >= 102 && c <= 119) {
            img.picture = 18;
            t.caption = map.PLACE_NAME(c);
        } else if (c >= 198 && c <= 199) {
            img.picture = 15;
            t.caption = map.PLACE_NAME(c);
        } else if (c == 231) {
            img.picture = 17;
        } else if (c >= 200) {
            img.picture = 16;
        }
    }

    if (x <= -1 || y <= -1 || x >= 200 || y >= 200) {
        t.back_color = kNavy;
        t.caption = "City Limit";
        img.picture = ring_picture(x, y);
        if (outside_city(x, y)) t.caption = "The Wastes";
        t.tooltip = "City Limit...";
    } else {
        t.tooltip = AMP_TO_AND(map.PLACE_NAME(map.GET_MAP_CODE(x, y))) + coordinates_part(x, y);
    }
}

}  // namespace zeko
