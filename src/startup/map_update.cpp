#include "startup/map_update.h"

#include <system_error>

#include "common/conversions.h"
#include "common/errors.h"
#include "common/files.h"

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

bool install_new_map(const std::filesystem::path& folder) {
    const auto downloaded = resolve_in_folder(folder, kNewMapFile);
    std::error_code ec;
    const auto size = std::filesystem::file_size(downloaded, ec);
    bool installed = false;
    if (!ec && size > 0) {
        // The installed map may be spelt in any case; it is replaced under that spelling.
        installed = attempt([&] { rename_file(downloaded, resolve_in_folder(folder, kMapFile)); });
    }
    if (!installed) std::filesystem::remove(downloaded, ec);
    return installed;
}

}  // namespace zeko
