#pragma once

#include <atomic>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace httplib {
class Server;
}

namespace zeko::sandbox {

// Answers of the update server that go wrong in ways the program's start has to survive. By
// default none: the update site answers as it should.
struct UpdateFaults {
    // What /curmap.dat answers instead of the map.
    enum class MapDownload {
        none,         // the map itself
        html,         // a web page, with status 200
        redirect,     // a redirect to a web page
        unsized_cut,  // half the map without a Content-Length; the connection then closes
        oversize,     // a well-formed map of 54,890 bytes, more than the program takes
    };
    MapDownload map_download = MapDownload::none;
    // /mapver.html takes the request and sends nothing for a minute.
    bool silent_version_page = false;
};

bool is_update_fault_option(std::string_view option);
// Sets an option from its value; the reason when the value does not do.
std::optional<std::string> set_update_fault_option(UpdateFaults& faults, std::string_view option,
                                                   const std::string& value);
void update_fault_usage(std::ostream& out);

// Added before the update site's routes, so that these take the place of its answers.
// `served_map` is the map /curmap.dat serves; a held request ends early once `stopping` is
// set, so the server stops at once.
void add_update_fault_routes(httplib::Server& server, const UpdateFaults& faults,
                             const std::optional<std::filesystem::path>& served_map,
                             const std::atomic<bool>& stopping);

}  // namespace zeko::sandbox
