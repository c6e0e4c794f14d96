// The minimap redraw with its information panel, and the planner's 3 x 3 preview.

#include <cmath>
#include <string>

#include "common/errors.h"
#include "map/city_map.h"
#include "map/run_state.h"
#include "minimap/minimap.h"

namespace zeko {

namespace {

int16_t clamp_to_city(int16_t v) {
    if (v < 0) return 0;
    if (v > 199) return 199;
    return v;
}

NAV_POINT pick(int slot, const NAV_POINT& first, const NAV_POINT& second, const NAV_POINT& third) {
    return slot == 2 ? second : slot == 3 ? third : first;
}

}  // namespace

void Minimap::draw_tiles_build(bool pictures) {
    const VAMP& me = state_.db.current();
    const int16_t pos_x = me.POS_X;
    const int16_t pos_y = me.POS_Y;
    const int h = static_cast<int>(std::floor(state_.ZOOM / 2.0));
    int n = 0;
    for (int dy = -h; dy <= h; ++dy) {
        for (int dx = -h; dx <= h; ++dx) {
            // A zoom beyond the layout runs out of tiles here, which ends the redraw.
            if (n >= static_cast<int>(model_.TILE.size())) raise(Err::SubscriptOutOfRange);
            const int16_t x = add16(pos_x, dx);
            const int16_t y = add16(pos_y, dy);
            if (pictures)
                DRAW_TILE_IMAGE(x, y, static_cast<int16_t>(n));
            else
                DRAW_TILE(x, y, static_cast<int16_t>(n), false);
            ++n;
        }
    }
}

void Minimap::fill_place_row(int row, const NAV_POINT& p) {
    CityMap& map = state_.map;
    PanelRow& r = model_.rows[static_cast<size_t>(row)];
    r.caption = map.PLACE_NAME(p.CODE);
    r.x = map.COORD_NAME_X(p.X);
    r.y = map.COORD_NAME_Y(p.Y);
    r.ap = std::to_string(p.DIST);
}

void Minimap::BUILD_MAP() {
    ++model_.revision;
    try {
        const bool pictures = USE_TILE_IMAGES();

        VAMP& me = state_.db.current();
        me.POS_X = clamp_to_city(me.POS_X);
        me.POS_Y = clamp_to_city(me.POS_Y);

        draw_tiles_build(pictures);

        NavModel& nav = state_.nav;
        nav.NAV_UPDATE();

        const int slot = nav_slot(state_.NAV_CHOICE);
        fill_place_row(0, pick(slot, nav.GET_BANK_1(), nav.GET_BANK_2(), nav.GET_BANK_3()));
        fill_place_row(1, pick(slot, nav.GET_PUB_1(), nav.GET_PUB_2(), nav.GET_PUB_3()));
        fill_place_row(2,
                       pick(slot, nav.GET_TRANSIT_1(), nav.GET_TRANSIT_2(), nav.GET_TRANSIT_3()));

        CityMap& map = state_.map;
        const NAV_DEST d = nav.GET_DEST();
        PanelRow& dest = model_.rows[3];
        dest.caption = map.PLACE_NAME(d.CODE);
        if (dest.caption.empty()) dest.caption = "Destination";
        dest.x = map.COORD_NAME_X(add16(d.X, 1));
        dest.y = map.COORD_NAME_Y(add16(d.Y, 1));
        dest.ap = std::to_string(d.DIST);

        // Always from the nearest station, whatever the panel's choice.
        const NAV_POINT t = nav.GET_TRANSIT_1();
        PanelRow& by_transit = model_.rows[4];
        by_transit.caption = map.PLACE_NAME(t.CODE) + " to " + map.PLACE_NAME(d.VIA_CODE);
        by_transit.x = map.COORD_NAME_X(add16(d.X, 1));
        by_transit.y = map.COORD_NAME_Y(add16(d.Y, 1));
        by_transit.ap = std::to_string(add16(d.VIA_DIST, 1));

        const VAMP& now = state_.db.current();
        model_.cboX_index = (now.POS_X + 1) / 2;
        model_.cboY_index = (now.POS_Y + 1) / 2;

        DRAW_LINES_OR_RAISE();
    } catch (...) {
        // No message: what was drawn stays, the rest keeps its previous contents.
    }
}

void Minimap::BUILD_DEST_MAP() {
    ++model_.revision;
    VAMP& me = state_.db.current();
    me.DEST_X = clamp_to_city(me.DEST_X);
    me.DEST_Y = clamp_to_city(me.DEST_Y);

    int n = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const VAMP& v = state_.db.current();
            DRAW_TILE(add16(v.DEST_X, dx), add16(v.DEST_Y, dy), static_cast<int16_t>(n), true);
            ++n;
        }
    }
}

}  // namespace zeko
