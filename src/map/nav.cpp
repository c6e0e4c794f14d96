#include "map/nav.h"

#include <algorithm>
#include <cstring>

#include "map/city_map.h"
#include "map/vamp_db.h"

namespace zeko {

int16_t NAV_DISTANCE(int x1, int y1, int x2, int y2) {
    const int16_t dx = abs16(sub16(x2, x1));
    const int16_t dy = abs16(sub16(y2, y1));
    return std::max(dx, dy);
}

void find_listed_blocks(const int16_t* grid, ListedBlocks& out) {
    std::memset(out.words, 0, sizeof out.words);
    for (int j = 0; j <= 100; ++j) {
        const int16_t* row = grid + 2 * j * CityMap::kSide;
        // One flag byte per block, eight to a word: most words are zero and skipped whole.
        alignas(8) uint8_t flags[104] = {};
        for (int i = 0; i <= 100; ++i)
            flags[i] = static_cast<uint16_t>(row[2 * i] - 1) <= 100;
        const uint64_t row_bit = uint64_t{1} << (j % 64);
        for (int w = 0; w < 13; ++w) {
            uint64_t word;
            std::memcpy(&word, flags + 8 * w, sizeof word);
            for (; word != 0; word &= word - 1) {
                const int i = 8 * w + std::countr_zero(word) / 8;
                out.words[i][j / 64] |= row_bit;
            }
        }
    }
}

Cell TILE_TO_COORD(int index, int zoom, Cell centre) {
    const bool known_zoom = zoom == 3 || zoom == 5 || zoom == 7 || zoom == 9 || zoom == 11;
    if (!known_zoom || index < 0 || index >= zoom * zoom) return centre;
    const int half = (zoom - 1) / 2;
    return Cell{add16(centre.x, index % zoom - half), add16(centre.y, index / zoom - half)};
}

NavModel::NavModel(CityMap& map, VampDb& db) : map_(map), db_(db) {}

void NavModel::NAV_UPDATE() {
    // Whole records are cleared, not just their flags: the lines and the panel read the
    // fields of empty slots too, and must not point at places seen from an earlier position.
    for (NAV_POINT& p : NAV_BANKS)
        p = NAV_POINT{};
    for (NAV_POINT& p : NAV_PUBS)
        p = NAV_POINT{};
    for (NAV_POINT& p : NAV_TRANSITS)
        p = NAV_POINT{};
    NAV_TARGET = NAV_DEST{};

    const VAMP& me = db_.VAMPS(db_.CUR_VAMP);
    NAV_ME_X = me.POS_X;
    NAV_ME_Y = me.POS_Y;
    NAV_TARGET.X = me.DEST_X;
    NAV_TARGET.Y = me.DEST_Y;

    NAV_SCAN();
    NAV_SET_DEST();
}

void NavModel::NAV_SCAN() {
    scan_listed_places(map_, [this](int16_t x, int16_t y, int16_t code) {
        if (code <= 91) {
            NAV_ADD_PUB(x, y, code);
        } else if (code <= 100) {
            NAV_ADD_TRANSIT(x, y, code);
        } else {
            NAV_ADD_BANK(x, y, code);
        }
    });
}

void NavModel::NAV_ADD_BANK(int16_t x, int16_t y, int16_t code) {
    insert_nearest(NAV_BANKS, NAV_POINT{x, y, nav_span(NAV_ME_X, NAV_ME_Y, x, y), code, kTrue});
}

void NavModel::NAV_ADD_PUB(int16_t x, int16_t y, int16_t code) {
    insert_nearest(NAV_PUBS, NAV_POINT{x, y, nav_span(NAV_ME_X, NAV_ME_Y, x, y), code, kTrue});
}

void NavModel::NAV_ADD_TRANSIT(int16_t x, int16_t y, int16_t code) {
    insert_nearest(NAV_TRANSITS, NAV_POINT{x, y, nav_span(NAV_ME_X, NAV_ME_Y, x, y), code, kTrue});
    const int16_t e = nav_span(NAV_TARGET.X, NAV_TARGET.Y, x, y);
    if (NAV_TARGET.VIA_FOUND == kFalse || e <= NAV_TARGET.VIA_DIST) {
        NAV_TARGET.VIA_X = x;
        NAV_TARGET.VIA_Y = y;
        NAV_TARGET.VIA_DIST = e;
        NAV_TARGET.VIA_CODE = code;
        NAV_TARGET.VIA_FOUND = kTrue;
    }
}

void NavModel::NAV_SET_DEST() {
    NAV_TARGET.DIST = NAV_DISTANCE(NAV_ME_X, NAV_ME_Y, NAV_TARGET.X, NAV_TARGET.Y);
    NAV_TARGET.CODE = map_.GET_MAP_CODE(NAV_TARGET.X, NAV_TARGET.Y);
    // Without any station the sum is made of the cleared records, 0 + 2 + 0 = 2; VIA_FOUND
    // stays false so nobody takes it for a route.
    NAV_TARGET.VIA_DIST = add16(add16(NAV_TARGET.VIA_DIST, 2), NAV_TRANSITS(1).DIST);
    NAV_TARGET.FOUND = kTrue;
}

}  // namespace zeko
