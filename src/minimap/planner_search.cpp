#include "minimap/planner_search.h"

#include <algorithm>
#include <string>

#include "common/prompts.h"
#include "map/city_map.h"

namespace zeko {

namespace {

// The fixed station blocks, in the order they are weighed.
constexpr Cell kStationBlocks[] = {{50, 50},   {50, 100}, {50, 150},  {100, 50}, {100, 100},
                                   {100, 150}, {150, 50}, {150, 100}, {150, 150}};

}  // namespace

PlannerSearch::PlannerSearch(CityMap& map, VampDb& db, Prompts& prompts)
    : map_(map), db_(db), prompts_(prompts) {}

void PlannerSearch::RESET_NEAREST() {
    // Whole records, so an empty slot never carries a distance from an earlier search into
    // the panel or the route.
    for (NAV_POINT& p : NEAREST_BANK)
        p = NAV_POINT{};
    for (NAV_POINT& p : NEAREST_PUB)
        p = NAV_POINT{};
    for (NAV_POINT& p : NEAREST_TRANSIT)
        p = NAV_POINT{};
}

void PlannerSearch::FIND_NEAREST() {
    if (db_.SEL_VAMP == 0) db_.SEL_VAMP = db_.CUR_VAMP;
    ORIGIN = db_.VAMPS(db_.SEL_VAMP);
    scan_listed_places(map_, [this](int16_t x, int16_t y, int16_t code) {
        if (code <= 91) {
            ADD_PUB(x, y);
        } else if (code <= 100) {
            ADD_TRANSIT(x, y);
        } else {
            ADD_BANK(x, y);
        }
    });
}

int16_t PlannerSearch::DIST_FROM_ORIGIN(int x, int y) const {
    return std::max(abs16(sub16(x, ORIGIN.POS_X)), abs16(sub16(y, ORIGIN.POS_Y)));
}

int16_t PlannerSearch::DISTANCE(int x1, int y1, int x2, int y2) {
    return NAV_DISTANCE(x1, y1, x2, y2);
}

void PlannerSearch::ADD_BANK(int16_t x, int16_t y) {
    insert_nearest(NEAREST_BANK, NAV_POINT{x, y, nav_span(ORIGIN.POS_X, ORIGIN.POS_Y, x, y),
                                           map_.GET_MAP_CODE(x, y), kTrue});
}

void PlannerSearch::ADD_PUB(int16_t x, int16_t y) {
    insert_nearest(NEAREST_PUB, NAV_POINT{x, y, nav_span(ORIGIN.POS_X, ORIGIN.POS_Y, x, y),
                                          map_.GET_MAP_CODE(x, y), kTrue});
}

void PlannerSearch::ADD_TRANSIT(int16_t x, int16_t y) {
    insert_nearest(NEAREST_TRANSIT, NAV_POINT{x, y, nav_span(ORIGIN.POS_X, ORIGIN.POS_Y, x, y),
                                              map_.GET_MAP_CODE(x, y), kTrue});
}

NAV_POINT PlannerSearch::slot_or_complain(const VbArray<NAV_POINT>& list, int32_t n,
                                          std::string_view section) {
    if (n >= 1 && n <= 3) return list(n);
    prompts_.message_box("An error has occured in section " + std::string(section) +
                             ", value 'SENT' = " + std::to_string(n),
                         MsgButtons::OK, MsgIcon::Critical, "Damn, pass this info to Morvanek...");
    return NAV_POINT{};
}

NAV_POINT PlannerSearch::GET_NEAREST_BANK(int32_t n) {
    return slot_or_complain(NEAREST_BANK, n, "00131");
}

NAV_POINT PlannerSearch::GET_NEAREST_PUB(int32_t n) {
    return slot_or_complain(NEAREST_PUB, n, "00132");
}

NAV_POINT PlannerSearch::GET_NEAREST_TRANSIT(int32_t n) {
    return slot_or_complain(NEAREST_TRANSIT, n, "00133");
}

NAV_DEST PlannerSearch::FIND_DEST(int16_t x, int16_t y) {
    DEST_ROUTE.FOUND = kTrue;
    DEST_ROUTE.DIST = DIST_FROM_ORIGIN(x, y);
    DEST_ROUTE.X = x;
    DEST_ROUTE.Y = y;
    DEST_ROUTE.CODE = map_.GET_MAP_CODE(x, y);

    int16_t best = DISTANCE(kStationBlocks[0].x, kStationBlocks[0].y, x, y);
    int16_t station = map_.GET_MAP_CODE(kStationBlocks[0].x, kStationBlocks[0].y);
    for (size_t i = 1; i < std::size(kStationBlocks); ++i) {
        const Cell b = kStationBlocks[i];
        const int16_t e = DISTANCE(b.x, b.y, x, y);
        if (e <= best) {
            best = e;
            station = map_.GET_MAP_CODE(b.x, b.y);
        }
    }

    DEST_ROUTE.VIA_X = x;
    DEST_ROUTE.VIA_Y = y;
    DEST_ROUTE.VIA_DIST = add16(add16(NEAREST_TRANSIT(1).DIST, best), 3);
    DEST_ROUTE.VIA_CODE = station;
    // The route always names a station block. Without a station near the origin the walk to
    // it counts 0 (the empty slot); the planner shows the sum as it stands.
    DEST_ROUTE.VIA_FOUND = kTrue;
    return DEST_ROUTE;
}

}  // namespace zeko
