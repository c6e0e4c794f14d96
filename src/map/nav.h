#pragma once

#include <cstdint>

#include "common/conversions.h"
#include "common/vb_array.h"

namespace zeko {

class CityMap;
class VampDb;

// One found place.
struct NAV_POINT {
    int16_t X = 0;
    int16_t Y = 0;
    int16_t DIST = 0;
    int16_t CODE = 0;
    VbBool FOUND = kFalse;
    bool operator==(const NAV_POINT&) const = default;
};

// A destination and the way to it by transit.
struct NAV_DEST {
    int16_t X = 0;
    int16_t Y = 0;
    int16_t DIST = 0;
    int16_t CODE = 0;
    int16_t VIA_X = 0;
    int16_t VIA_Y = 0;
    int16_t VIA_CODE = 0;
    int16_t VIA_DIST = 0;
    VbBool VIA_FOUND = kFalse;
    VbBool FOUND = kFalse;
    bool operator==(const NAV_DEST&) const = default;
};

struct Cell {
    int16_t x = 0;
    int16_t y = 0;
    bool operator==(const Cell&) const = default;
};

// Steps between two cells, a diagonal step counting as one. Raises Err::Overflow when the
// difference leaves the 16-bit range.
int16_t NAV_DISTANCE(int x1, int y1, int x2, int y2);

// The grid cell under minimap tile `index` when a zoom x zoom map is centred on `centre`;
// `centre` unchanged for a zoom other than 3, 5, 7, 9, 11 or an index outside the map.
Cell TILE_TO_COORD(int index, int zoom, Cell centre);

// The three nearest banks, pubs and stations of the character the main window follows, and
// its destination with the way there by transit.
class NavModel {
  public:
    NavModel(CityMap& map, VampDb& db);

    // Recomputes everything for VAMPS(CUR_VAMP). Raises subscript out of range without a
    // current character, and whatever the map load raises.
    void NAV_UPDATE();

    NAV_POINT GET_BANK_1() const { return NAV_BANKS(1); }
    NAV_POINT GET_BANK_2() const { return NAV_BANKS(2); }
    NAV_POINT GET_BANK_3() const { return NAV_BANKS(3); }
    NAV_POINT GET_PUB_1() const { return NAV_PUBS(1); }
    NAV_POINT GET_PUB_2() const { return NAV_PUBS(2); }
    NAV_POINT GET_PUB_3() const { return NAV_PUBS(3); }
    NAV_POINT GET_TRANSIT_1() const { return NAV_TRANSITS(1); }
    NAV_POINT GET_TRANSIT_2() const { return NAV_TRANSITS(2); }
    NAV_POINT GET_TRANSIT_3() const { return NAV_TRANSITS(3); }
    NAV_DEST GET_DEST() const { return NAV_TARGET; }

    int16_t NAV_ME_X = 0;
    int16_t NAV_ME_Y = 0;
    VbArray<NAV_POINT> NAV_BANKS{1, 3};
    VbArray<NAV_POINT> NAV_PUBS{1, 3};
    VbArray<NAV_POINT> NAV_TRANSITS{1, 3};
    NAV_DEST NAV_TARGET;

  private:
    void NAV_SCAN();
    void NAV_ADD_BANK(int16_t x, int16_t y);
    void NAV_ADD_PUB(int16_t x, int16_t y);
    void NAV_ADD_TRANSIT(int16_t x, int16_t y);
    void NAV_SET_DEST();

    CityMap& map_;
    VampDb& db_;
};

}  // namespace zeko
