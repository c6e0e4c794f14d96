#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/vb_array.h"
#include "map/nav.h"

namespace zeko {

class CityMap;

// The planner's eight lists of known places, in the order they are emptied and refilled.
enum class PlaceList { Pub, Transit, Bank, User, Hall, PkGuild, Guild, Shop };
inline constexpr int kPlaceListCount = 8;

// What sets one list apart: its control, the first line it shows, whether its entries are
// kept in alphabetical order, and the place codes it takes. The entry's item data is the place
// code (banks: their running number); the cell of an entry is found in the list's table at
// item data - `base`, a table of `cells` entries.
struct PlaceListKind {
    PlaceList list;
    const char* control;
    const char* placeholder;
    bool sorted;
    int16_t first_code;
    int16_t last_code;
    int16_t base;
    int cells;
};

const PlaceListKind& place_list_kind(PlaceList list);
// The list a code belongs to; none for streets, empty blocks and codes without a list.
std::optional<PlaceList> place_list_of(int16_t code);

struct PlaceEntry {
    std::string text;
    int16_t item_data = 0;
    bool operator==(const PlaceEntry&) const = default;
};

// The entries of the planner's place lists and the cell behind each, from one scan of the
// grid's blocks. Each list starts with its placeholder (item data 0). A code carried by two
// blocks gives two entries of the same text; both lead to the block scanned last.
class PlaceLists {
  public:
    PlaceLists();

    // Empties the lists and scans every block (x, then y, ascending). Places that have no
    // room in their table (banks past the 200th, user buildings above code 300) are left out.
    // A map that fails to load raises here, the lists then holding only their placeholders.
    void FILL_LOCATION_LISTS(CityMap& map);

    const std::vector<PlaceEntry>& entries(PlaceList list) const {
        return entries_[static_cast<size_t>(list)];
    }
    // The cell an entry's item data leads to; none for the placeholder or data that names no
    // table entry.
    std::optional<Cell> cell_of(PlaceList list, int16_t item_data) const;

    VbArray<Cell> BANK_CELLS{0, 199};
    VbArray<Cell> PUB_CELLS{0, 90};
    VbArray<Cell> TRANSIT_CELLS{0, 8};
    VbArray<Cell> USER_CELLS{0, 100};
    VbArray<Cell> HALL_CELLS{0, 1};
    VbArray<Cell> PKGUILD_CELLS{0, 2};
    VbArray<Cell> GUILD_CELLS{0, 14};
    VbArray<Cell> SHOP_CELLS{0, 25};

  private:
    VbArray<Cell>& table(PlaceList list);
    const VbArray<Cell>& table(PlaceList list) const;

    std::array<std::vector<PlaceEntry>, kPlaceListCount> entries_;
};

}  // namespace zeko
