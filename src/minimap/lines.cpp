// The four navigation lines from the character's tile towards the chosen places.

#include <cmath>

#include "common/errors.h"
#include "map/run_state.h"
#include "minimap/minimap.h"

namespace zeko {

namespace {

int16_t limit(int16_t d, int16_t l) {
    if (d > l) d = l;
    if (d < -l) d = static_cast<int16_t>(-l);
    return d;
}

}  // namespace

void Minimap::DRAW_LINES() {
    try {
        DRAW_LINES_OR_RAISE();
    } catch (...) {
        // Without a current character the lines simply stay as they were.
    }
}

void Minimap::DRAW_LINES_OR_RAISE() {
    ++model_.revision;
    MAP_SIZE = kMapSquareTwips;
    DRAW_BANK_LINE(state_.ZOOM);
    DRAW_PUB_LINE(state_.ZOOM);
    DRAW_TRANSIT_LINE(state_.ZOOM);
    DRAW_DEST_LINE(state_.ZOOM);
}

void Minimap::DRAW_BANK_LINE(int16_t zoom) {
    const NavModel& nav = state_.nav;
    const int slot = nav_slot(state_.NAV_CHOICE);
    const NAV_POINT p = slot == 2   ? nav.GET_BANK_2()
                        : slot == 3 ? nav.GET_BANK_3()
                                    : nav.GET_BANK_1();
    draw_line(kBankLine, p.X, p.Y, zoom);
}

void Minimap::DRAW_PUB_LINE(int16_t zoom) {
    const NavModel& nav = state_.nav;
    const int slot = nav_slot(state_.NAV_CHOICE);
    const NAV_POINT p = slot == 2 ? nav.GET_PUB_2() : slot == 3 ? nav.GET_PUB_3() : nav.GET_PUB_1();
    draw_line(kPubLine, p.X, p.Y, zoom);
}

void Minimap::DRAW_TRANSIT_LINE(int16_t zoom) {
    const NavModel& nav = state_.nav;
    const int slot = nav_slot(state_.NAV_CHOICE);
    const NAV_POINT p = slot == 2   ? nav.GET_TRANSIT_2()
                        : slot == 3 ? nav.GET_TRANSIT_3()
                                    : nav.GET_TRANSIT_1();
    draw_line(kTransitLine, p.X, p.Y, zoom);
}

void Minimap::DRAW_DEST_LINE(int16_t zoom) {
    const NAV_DEST d = state_.nav.GET_DEST();
    draw_line(kDestLine, d.X, d.Y, zoom);
}

NavLineState& Minimap::line_control(LineIndex line) {
    switch (line) {
        case kBankLine:
            return model_.BANK1;
        case kPubLine:
            return model_.PUB1;
        case kTransitLine:
            return model_.TRANS1;
        case kDestLine:
            break;
    }
    return model_.DEST1;
}

void Minimap::draw_line(LineIndex line, int16_t target_x, int16_t target_y, int16_t zoom) {
    ++model_.revision;
    const VAMP& me = state_.db.current();
    const int16_t dx = sub16(target_x, me.POS_X);
    const int16_t dy = sub16(target_y, me.POS_Y);

    const size_t i = static_cast<size_t>(line);
    line_start_[i] = LINE_START();
    switch (zoom) {
        case 3:
            line_end_[i] = LINE_END_3(dx, dy);
            break;
        case 5:
            line_end_[i] = LINE_END_5(dx, dy);
            break;
        case 7:
            line_end_[i] = LINE_END_7(dx, dy);
            break;
        case 9:
            line_end_[i] = LINE_END_9(dx, dy);
            break;
        case 11:
            line_end_[i] = LINE_END_11(dx, dy);
            break;
        default:
            break;  // no end calculation for this zoom: the last end point stays
    }

    NavLineState& control = line_control(line);
    control.x1 = line_start_[i].X;
    control.y1 = line_start_[i].Y;
    control.x2 = line_end_[i].X;
    control.y2 = line_end_[i].Y;
    control.visible = model_.navline_checked[i];
}

LinePoint Minimap::LINE_START() const {
    const int16_t centre = to16(static_cast<int64_t>(std::floor(MAP_SIZE / 2.0)));
    return LinePoint{centre, centre};
}

LinePoint Minimap::line_end(int n, int16_t dx, int16_t dy) const {
    const int32_t s = MAP_SIZE;
    const int16_t half = to16(static_cast<int64_t>(std::floor(s / (2.0 * n))));
    const int16_t centre = to16(static_cast<int64_t>(std::floor(s / 2.0)));
    const auto l = static_cast<int16_t>((n + 1) / 2);

    dx = limit(dx, l);
    dy = limit(dy, l);

    int16_t x = add16(centre, mul16(mul16(2, half), dx));
    int16_t y = add16(centre, mul16(mul16(2, half), dy));

    if (x < 0) x = 0;
    if (y < 0) y = 0;
    if (x > s) x = to16(s);
    if (y > s) y = to16(s);
    return LinePoint{x, y};
}

}  // namespace zeko
