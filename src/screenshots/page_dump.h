#pragma once

#include <string>
#include <string_view>

namespace zeko {

// The pieces the two page dumps are made of. Texts are UTF-8 here; the file holds them one
// byte per character in Windows-1252. Line breaks are CR LF.

// The head of the dump that links to the game's own style sheet at `style_sheet_url`.
std::string HTML_HEAD_LINK(std::string_view style_sheet_url);
std::string HTML_HEAD();
// The game's style rules, so the dump displays without the game server.
std::string HTML_STYLE();
std::string HTML_BODY(std::string_view body);
std::string HTML_FOOT();

// The style sheet "blood.css" on the host of the game page `game_url` (same scheme and host,
// port included).
std::string style_sheet_url(std::string_view game_url);

// The whole text of each dump.
std::string html_dump_text(std::string_view body, std::string_view style_sheet_url);
std::string html_css_dump_text(std::string_view body);

}  // namespace zeko
