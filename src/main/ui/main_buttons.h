#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace zeko::ui {

// A page of the game server beside its script page `game_url`, e.g. "faq.pl?id=13".
std::string game_page(std::string_view game_url, std::string_view page);
// A page of the maker's site by its path, e.g. "/ZEKO2/".
std::string maker_page(std::string_view path);
// The message and mail links, for the version text ("1.2.3").
std::string messenger_link(std::string_view version);
std::string mail_link(std::string_view version);

// The system's handler for the link's scheme.
void open_with_system(const QString& url);

}  // namespace zeko::ui
