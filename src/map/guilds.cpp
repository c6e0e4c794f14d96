#include "map/guilds.h"

#include "map/city_map.h"

namespace zeko {

GuildTable::GuildTable(CityMap& map) : map_(map) {}

void GuildTable::CLEAR_GUILDS() {
    for (int x = 0; x <= 200; x += 2) {
        for (int y = 0; y <= 200; y += 2) {
            const int16_t code = map_.GET_MAP_CODE(x, y);
            if (code >= 105 && code <= 119) map_.CLEAR_MAP_CODE(x, y);
        }
    }
}

void GuildTable::PLACE_GUILDS() {
    CLEAR_GUILDS();
    // Later codes go down last, so on a shared block the higher code stays.
    for (int16_t code = 105; code <= 119; ++code) {
        const GUILD& g = GUILDS(code);
        const int16_t x = map_.STREET_INDEX_X(g.STREET_A);
        const int16_t y = map_.STREET_INDEX_Y(g.STREET_B);
        map_.SET_MAP_CODE(x, y, code);
    }
}

}  // namespace zeko
