#pragma once

#include <cstdint>
#include <string_view>

#include "map/nav.h"
#include "map/vamp_db.h"

namespace zeko {

class CityMap;
class Prompts;

// The destination planner's own nearest-place search, seen from the character chosen in the
// planner.
class PlannerSearch {
  public:
    PlannerSearch(CityMap& map, VampDb& db, Prompts& prompts);

    // Empties the nine slots (every field 0); FIND_NEAREST adds to what the lists hold.
    void RESET_NEAREST();
    // From VAMPS(SEL_VAMP), SEL_VAMP 0 being replaced by CUR_VAMP for good. Raises subscript
    // out of range before scanning when there is no such character.
    void FIND_NEAREST();
    int16_t DIST_FROM_ORIGIN(int x, int y) const;
    static int16_t DISTANCE(int x1, int y1, int x2, int y2);
    void ADD_BANK(int16_t x, int16_t y);
    void ADD_PUB(int16_t x, int16_t y);
    void ADD_TRANSIT(int16_t x, int16_t y);
    NAV_POINT GET_NEAREST_BANK(int32_t n);
    NAV_POINT GET_NEAREST_PUB(int32_t n);
    NAV_POINT GET_NEAREST_TRANSIT(int32_t n);
    // The route to (x, y) through the nearest of the nine fixed station blocks; VIA_X / VIA_Y
    // hold (x, y) itself. VIA_FOUND is always set, since a station block is always named; when
    // the last search found no station, the walk to one counts 0.
    NAV_DEST FIND_DEST(int16_t x, int16_t y);

    VAMP ORIGIN;
    VbArray<NAV_POINT> NEAREST_BANK{1, 3};
    VbArray<NAV_POINT> NEAREST_PUB{1, 3};
    VbArray<NAV_POINT> NEAREST_TRANSIT{1, 3};
    NAV_DEST DEST_ROUTE;

  private:
    // Slot n of the list, or the complaint box naming the section and the zero record.
    NAV_POINT slot_or_complain(const VbArray<NAV_POINT>& list, int32_t n, std::string_view section);

    CityMap& map_;
    VampDb& db_;
    Prompts& prompts_;
};

}  // namespace zeko
