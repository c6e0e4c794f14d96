#pragma once

#include <string_view>

namespace zeko::ui {

// The maker's contacts. A build for another maker changes them here; the hosts themselves
// come from the build (common/hosts.h).
inline constexpr std::string_view kMakerMessengerId = "morvanek";
inline constexpr std::string_view kMakerMail = "morvanek@example.org";
inline constexpr std::string_view kPoetryPath = "/poetry/";

}  // namespace zeko::ui
