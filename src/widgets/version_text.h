#pragma once

#include <string>
#include <string_view>

namespace zeko::ui {

// Major, minor and revision, each as a plain integer, joined by "." ("1.2.3").
std::string version_text(std::string_view version = ZEKO_VERSION);

}  // namespace zeko::ui
