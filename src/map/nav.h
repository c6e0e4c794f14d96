#pragma once

#include <bit>
#include <cstdint>

#include "common/conversions.h"
#include "common/errors.h"
#include "common/vb_array.h"
#include "map/city_map.h"

namespace zeko {

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

// The distance between two cells given as 16-bit values: NAV_DISTANCE without the calls, for
// the scans. The differences of 16-bit values always fit an int; one above 32767 is the
// overflow that sub16 / abs16 would raise.
inline int16_t nav_span(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    int dx = x2 - x1;
    int dy = y2 - y1;
    if (dx < 0) dx = -dx;
    if (dy < 0) dy = -dy;
    const int d = dx > dy ? dx : dy;
    if (d > 32767) raise(Err::Overflow);
    return static_cast<int16_t>(d);
}

// Puts `place` into a nearest-first list of three (bounds 1 to 3) before the first slot that is
// empty or at least as far, shifting the rest down; what was in slot 3 falls off. So among
// places at the same distance the one offered later leads, and filled slots stay in front.
inline void insert_nearest(VbArray<NAV_POINT>& list, const NAV_POINT& place) {
    NAV_POINT& last = list(3);
    if (last.FOUND != kFalse && place.DIST > last.DIST) return;  // the usual case
    for (int slot = 1; slot <= 3; ++slot) {
        const NAV_POINT& here = list(slot);
        if (here.FOUND != kFalse && place.DIST > here.DIST) continue;
        for (int k = 3; k > slot; --k)
            list(k) = list(k - 1);
        list(slot) = place;
        return;
    }
}

// The blocks holding codes 1..101 (pubs, stations, banks), by column: bit j % 64 of
// words[i][j / 64] stands for the block (2i, 2j).
struct ListedBlocks {
    uint64_t words[101][2];
};

// Fills `out` from a 201 x 201 grid. Reads the grid row by row, which the compiler can do
// many blocks at a time; the scans themselves go column by column.
void find_listed_blocks(const int16_t* grid, ListedBlocks& out);

// Calls visit(x, y, code) for every block whose code is 1..101, in the order of the program's
// scans: x = 0, 2, ..., 200 outer, y = 0, 2, ..., 200 inner. The first read loads the map when
// it is not loaded yet, as GET_MAP_CODE does.
template <class Visit>
void scan_listed_places(CityMap& map, Visit&& visit) {
    map.GET_MAP_CODE(0, 0);
    ListedBlocks blocks;
    find_listed_blocks(map.MAP_GRID.data(), blocks);
    for (int i = 0; i <= 100; ++i) {
        for (int w = 0; w < 2; ++w) {
            for (uint64_t bits = blocks.words[i][w]; bits != 0; bits &= bits - 1) {
                const int j = 64 * w + std::countr_zero(bits);
                const auto x = static_cast<int16_t>(2 * i);
                const auto y = static_cast<int16_t>(2 * j);
                visit(x, y, map.cell(x, y));
            }
        }
    }
}

// The grid cell under minimap tile `index` when a zoom x zoom map is centred on `centre`;
// `centre` unchanged for a zoom other than 3, 5, 7, 9, 11 or an index outside the map.
Cell TILE_TO_COORD(int index, int zoom, Cell centre);

// The three nearest banks, pubs and stations of the character the main window follows, and
// its destination with the way there by transit.
class NavModel {
  public:
    NavModel(CityMap& map, VampDb& db);

    // Recomputes everything for VAMPS(CUR_VAMP), starting from cleared records (an empty slot
    // reads all 0). Raises subscript out of range without a current character (before the
    // scan), Err::Overflow for a distance beyond 16 bits, and whatever the map load raises.
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
    // `code` is the block's code as the scan read it.
    void NAV_ADD_BANK(int16_t x, int16_t y, int16_t code);
    void NAV_ADD_PUB(int16_t x, int16_t y, int16_t code);
    void NAV_ADD_TRANSIT(int16_t x, int16_t y, int16_t code);
    void NAV_SET_DEST();

    CityMap& map_;
    VampDb& db_;
};

}  // namespace zeko
