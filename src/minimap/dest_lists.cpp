#include "minimap/dest_lists.h"

#include <algorithm>
#include <cctype>

#include "map/city_map.h"

namespace zeko {

namespace {

constexpr PlaceListKind kKinds[kPlaceListCount] = {
    {PlaceList::Pub, "cboPUB", " [Select a Pub]", true, 1, 91, 1, 91},
    {PlaceList::Transit, "cboTRANSIT", " [Select a Transit]", true, 92, 100, 92, 9},
    {PlaceList::Bank, "cboBANK", " [Select bank location]", false, 101, 101, 1, 200},
    {PlaceList::User, "cboUSER", " [Select user building]", true, 200, 300, 200, 101},
    {PlaceList::Hall, "cboHALL", " [Select a hall]", true, 198, 199, 198, 2},
    {PlaceList::PkGuild, "cboPKGUILD", " [Select a guild]", true, 102, 104, 102, 3},
    {PlaceList::Guild, "cboGUILD", " [Select a guild]", true, 105, 119, 105, 15},
    {PlaceList::Shop, "cboSHOP", " [Select a Shop]", false, 150, 175, 150, 26},
};

// Letter case aside, byte by byte: the order a sorted list box keeps.
bool sorts_before(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

}  // namespace

const PlaceListKind& place_list_kind(PlaceList list) {
    return kKinds[static_cast<size_t>(list)];
}

std::optional<PlaceList> place_list_of(int16_t code) {
    for (const PlaceListKind& k : kKinds) {
        // User buildings go on past the table's last code; those are refused by the table.
        const int16_t last = k.list == PlaceList::User ? INT16_MAX : k.last_code;
        if (code >= k.first_code && code <= last) return k.list;
    }
    return std::nullopt;
}

PlaceLists::PlaceLists() {
    for (const PlaceListKind& k : kKinds)
        entries_[static_cast<size_t>(k.list)] = {PlaceEntry{k.placeholder, 0}};
}

VbArray<Cell>& PlaceLists::table(PlaceList list) {
    switch (list) {
        case PlaceList::Pub:
            return PUB_CELLS;
        case PlaceList::Transit:
            return TRANSIT_CELLS;
        case PlaceList::Bank:
            return BANK_CELLS;
        case PlaceList::User:
            return USER_CELLS;
        case PlaceList::Hall:
            return HALL_CELLS;
        case PlaceList::PkGuild:
            return PKGUILD_CELLS;
        case PlaceList::Guild:
            return GUILD_CELLS;
        case PlaceList::Shop:
            break;
    }
    return SHOP_CELLS;
}

const VbArray<Cell>& PlaceLists::table(PlaceList list) const {
    return const_cast<PlaceLists*>(this)->table(list);
}

void PlaceLists::FILL_LOCATION_LISTS(CityMap& map) {
    for (const PlaceListKind& k : kKinds)
        entries_[static_cast<size_t>(k.list)] = {PlaceEntry{k.placeholder, 0}};

    int16_t banks = 0;
    for (int x = 0; x <= 200; x += 2) {
        for (int y = 0; y <= 200; y += 2) {
            const int16_t code = map.GET_MAP_CODE(x, y);
            const std::optional<PlaceList> list = place_list_of(code);
            if (!list) continue;
            const PlaceListKind& k = place_list_kind(*list);
            PlaceEntry entry;
            if (*list == PlaceList::Bank) {
                if (banks >= k.cells) continue;
                entry = {AMP_TO_AND(map.LOCATION_NAME(x, y)), ++banks};
            } else {
                if (code - k.base >= k.cells) continue;
                entry = {map.PLACE_NAME(code), code};
            }
            table (*list)(entry.item_data - k.base) =
                Cell{static_cast<int16_t>(x), static_cast<int16_t>(y)};
            std::vector<PlaceEntry>& into = entries_[static_cast<size_t>(*list)];
            auto at = into.end();
            if (k.sorted) {
                at = std::upper_bound(into.begin(), into.end(), entry,
                                      [](const PlaceEntry& a, const PlaceEntry& b) {
                                          return sorts_before(a.text, b.text);
                                      });
            }
            into.insert(at, std::move(entry));
        }
    }
}

std::optional<Cell> PlaceLists::cell_of(PlaceList list, int16_t item_data) const {
    if (item_data == 0) return std::nullopt;
    const VbArray<Cell>& cells = table(list);
    const int index = item_data - place_list_kind(list).base;
    if (index < cells.lbound() || index > cells.ubound()) return std::nullopt;
    return cells(index);
}

}  // namespace zeko
