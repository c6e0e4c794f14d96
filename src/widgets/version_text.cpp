#include "widgets/version_text.h"

#include <array>
#include <charconv>

namespace zeko::ui {

std::string version_text(std::string_view version) {
    std::array<long, 3> parts{};
    for (long& part : parts) {
        const size_t dot = version.find('.');
        const std::string_view piece = version.substr(0, dot);
        std::from_chars(piece.data(), piece.data() + piece.size(), part);
        version = dot == std::string_view::npos ? std::string_view{} : version.substr(dot + 1);
    }
    return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." +
           std::to_string(parts[2]);
}

}  // namespace zeko::ui
