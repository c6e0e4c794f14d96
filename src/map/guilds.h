#pragma once

#include <string>

#include "common/vb_array.h"

namespace zeko {

class CityMap;

// One building of a moving guild, as the guild page gives it.
struct GUILD {
    std::string NAME;
    std::string INFO;
    std::string STREET_A;  // the named street
    std::string STREET_B;  // the numbered street
};

// Where the moving guilds (codes 105 to 119) stand now, and their cells on the grid.
class GuildTable {
  public:
    explicit GuildTable(CityMap& map);

    void CLEAR_GUILDS();
    void PLACE_GUILDS();

    VbArray<GUILD> GUILDS{105, 119};

  private:
    CityMap& map_;
};

}  // namespace zeko
