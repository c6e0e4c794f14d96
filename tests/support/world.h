#pragma once

// Set-ups the tests share: a program state on a small hand-made city, the character database
// on its own, and helpers for what they write.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "main/program_state.h"
#include "map/nav.h"
#include "map/settings.h"
#include "map/vamp_db.h"
#include "minimap/minimap.h"
#include "support/fakes.h"

namespace zeko::testing {

// A place as the nearest-place searches report one they found.
inline NAV_POINT found(int16_t x, int16_t y, int16_t dist, int16_t code) {
    return NAV_POINT{x, y, dist, code, kTrue};
}

// The box ERROR_HANDLER shows for an error in `procedure`.
ShownBox error_box(int number, const std::string& procedure);

// Character records as VAMP.dat holds them.
std::string vamp_file(const std::vector<VAMP>& records);

// The settings record a file holds (the file must be exactly one record long).
SETTINGS_REC settings_on_disk(const std::filesystem::path& file);
// Record `n` (from 1) of a character file.
VAMP vamp_on_disk(const std::filesystem::path& file, int n);

// A program state in a temporary folder on scripted services. The map counts as loaded, so
// nothing reads MAP.DAT unless a test clears the flag; `vamps` blank characters stand in the
// database, the first of them current.
class CityWorld {
  public:
    explicit CityWorld(int vamps = 1);

    // Puts `code` on a cell, and `name` on the code when one is given.
    void place(int x, int y, int16_t code, const std::string& name = {});
    VAMP& vamp(int n = 1) { return state.db.VAMPS(n); }
    void stand(int16_t x, int16_t y, int n = 1);
    void head_for(int16_t x, int16_t y, int n = 1);
    // Three banks, pubs and stations around (100, 100) at distances 2, 4 and 6, some named.
    void three_of_each();

    TestWorld world;
    ProgramState state{world.folder.path(), world.services()};
};

// A city with the minimap drawn over it, every navigation line ticked.
class MinimapWorld : public CityWorld {
  public:
    explicit MinimapWorld(int vamps = 1) : CityWorld(vamps) { model.navline_checked.fill(true); }

    // Stores the zoom and tile style in the settings and lays the minimap out for them.
    void zoom_to(int16_t zoom, bool pictures);

    MinimapModel model;
    PlannerTiles planner;
    Minimap mm{state, model, &planner};
};

}  // namespace zeko::testing
