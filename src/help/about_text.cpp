#include "help/about_text.h"

#include "common/hosts.h"

namespace zeko::help {

std::string about_info_text() {
    return "CODER: Morvanek"
           "\r\n\r\n"
           "DESCRIPTION: Z.E.K.O.\xC2\xB2 is a map meant to help players understand the game "
           "\"Vampires!\" and find their way around its 40,000-tile city."
           "\r\n\r\n"
           "COST: Z.E.K.O.\xC2\xB2 is free. Paying members may one day get a few extra "
           "features."
           "\r\n\r\n"
           "PROBLEM?: First make sure you have the newest version (from the file areas of the "
           "players' forums), then read the help, then contact me."
           "\r\n\r\n"
           "REQUIREMENTS: Windows 9X/2K/XP and an Internet connection. Versions for other "
           "systems are planned.";
}

std::string about_artist_text() {
    return "Logo Deisgner: Tesk\r\nClick for more of her work!";
}

std::string about_toggle_text() {
    return "Text Off!\r\n(5 seconds)";
}

std::string about_artist_url() {
    return std::string("http://") + hosts::kMaker + "/tesk/";
}

}  // namespace zeko::help
