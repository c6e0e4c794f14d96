#pragma once

#include <string>

// The texts of the about box.
namespace zeko::help {

// Five paragraphs, each but the last followed by an empty line (CR LF CR LF).
std::string about_info_text();
std::string about_artist_text();
std::string about_toggle_text();
// The logo designer's page.
std::string about_artist_url();

}  // namespace zeko::help
