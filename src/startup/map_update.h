#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zeko {

// Paths of the update server.
inline constexpr std::string_view kMapVersionPath = "/mapver.html";
inline constexpr std::string_view kCurrentMapPath = "/curmap.dat";
// Where a downloaded map waits until it replaces the installed one.
inline constexpr std::string_view kNewMapFile = "map.new";
inline constexpr std::string_view kMapFile = "map.dat";

// "http://" + host + path.
std::string update_url(std::string_view host, std::string_view path);

// The map number the version page's body begins with. A body that does not begin with a
// number, or whose number does not fit 16 bits, gives 0: no update is tried on a page we
// cannot read.
int16_t remote_map_version(std::string_view body);

// Puts the downloaded map of the folder in place of the installed one, in one step, so the
// folder never lacks a map. False when the download is missing or not a whole map (larger
// than the loader takes, a record the loader refuses, no record at all, or anything but
// blanks and line breaks after the last record), or the rename failed; the installed map is
// then untouched and the leftover download removed.
bool install_new_map(const std::filesystem::path& folder);

}  // namespace zeko
