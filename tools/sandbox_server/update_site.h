#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace httplib {
class Server;
}

namespace zeko::sandbox {

// The update server's pages, served beside the game.
struct UpdateSiteOptions {
    int map_version = 1;
    // The file served as /curmap.dat; by default the map the game reads. A missing file is
    // answered with 404.
    std::optional<std::filesystem::path> served_map;
    // Sends half the map and then drops the connection.
    bool cut_map_download = false;
};

// Whether `option` ("--map-version", ...) is one of these.
bool is_update_option(std::string_view option);
// Sets an option from its value; the reason when the value does not do.
std::optional<std::string> set_update_option(UpdateSiteOptions& options, std::string_view option,
                                             const std::string& value);
void update_usage(std::ostream& out);

// "/mapver.html", "/curmap.dat" and the logo artist's "/tesk/".
void add_update_routes(httplib::Server& server, const UpdateSiteOptions& options,
                       const std::optional<std::filesystem::path>& game_map);

}  // namespace zeko::sandbox
