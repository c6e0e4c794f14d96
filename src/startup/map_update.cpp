#include "startup/map_update.h"

#include <system_error>

#include "common/conversions.h"
#include "common/errors.h"
#include "common/files.h"
#include "map/city_map.h"

namespace zeko {

std::string update_url(std::string_view host, std::string_view path) {
    return "http://" + std::string(host) + std::string(path);
}

int16_t remote_map_version(std::string_view body) {
    int16_t version = 0;
    // An out-of-range number counts as no number at all.
    attempt([&] { version = CInt(Val(body)); });
    return version;
}

namespace {

// Whether the bytes are a map the loader reads whole. The loader silently drops whatever
// follows the last closing mark, so a transfer cut short would otherwise pass as a smaller
// map; only blanks and line breaks may follow it. A file without a single record (an empty
// answer, a web page) is no map either.
bool is_whole_map(std::string bytes) {
    CityMap scratch{std::filesystem::path()};
    CityMap::MapRead read;
    if (!attempt([&] { read = scratch.load_map_bytes(std::move(bytes)); })) return false;
    return read.records > 0 && read.unread.find_first_not_of(" \r\n") == std::string::npos;
}

}  // namespace

bool install_new_map(const std::filesystem::path& folder) {
    const auto downloaded = resolve_in_folder(folder, kNewMapFile);
    std::error_code ec;
    const auto size = std::filesystem::file_size(downloaded, ec);
    bool installed = false;
    // A download that is not a whole map would leave the player an empty city, and with its
    // number stored the next start would not try again.
    if (!ec && size <= static_cast<uintmax_t>(kMaxMapFileBytes) &&
        is_whole_map(read_or_create(downloaded))) {
        // The installed map may be spelt in any case; it is replaced under that spelling.
        installed = attempt([&] { rename_file(downloaded, resolve_in_folder(folder, kMapFile)); });
    }
    if (!installed) std::filesystem::remove(downloaded, ec);
    return installed;
}

}  // namespace zeko
