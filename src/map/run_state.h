#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/file_layer.h"
#include "common/services.h"
#include "map/city_map.h"
#include "map/guilds.h"
#include "map/nav.h"
#include "map/settings.h"
#include "map/vamp_db.h"

namespace zeko {

// What a run knows of the city, the characters and the settings, made for one program folder.
// The minimap draws from it; the program's state adds what the windows above need.
class RunState {
  public:
    RunState(std::filesystem::path folder, Services services, FileLayer& files = posix_files());
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    // What every change to the program's files goes through.
    FileLayer& files() const { return *files_; }
    // Hands another file layer to the map, the database and the settings (tests make steps
    // fail through one).
    void use_files(FileLayer& files);

    std::filesystem::path folder_;
    Services services;
    FileLayer* files_;

    // The minimap's live zoom: 0 until the minimap is first laid out, then 3, 5, 7, 9 or 11.
    int16_t ZOOM = 0;
    // Which of the three nearest places the panel and lines show: 0, 1 or 2.
    int16_t NAV_CHOICE = 0;
    // The game's script page when it is not the built-in one (tests point it at a local
    // server); empty for GAME_URL().
    std::string game_url_override;

    CityMap map;
    VampDb db;
    SettingsStore settings;
    NavModel nav;
    GuildTable guilds;
};

}  // namespace zeko
