#pragma once

#include <string>

// The texts of the about box.
namespace zeko::help {

// Five paragraphs, each but the last followed by an empty line (CR LF CR LF).
std::string about_info_text();
std::string about_artist_text();
std::string about_toggle_text();
// The logo designer's page, on the maker's site; the start-up window opens it too.
std::string about_artist_url();

}  // namespace zeko::help
