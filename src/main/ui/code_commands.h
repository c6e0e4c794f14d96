#pragma once

#include <functional>
#include <string>

#include "common/hosts.h"
#include "main/program.h"

namespace zeko {

class ProgramState;
class WebBrowser;

namespace ui {

// `codeCOMMANDS`: logs a stored character into the game in the main browser and reports the
// use of the program to the maker's site in the hidden second browser.
class CodeCommands {
  public:
    // build_map is the minimap's redraw. The game's script page and the maker's host are the
    // built-in ones unless given (tests point them at a local server).
    CodeCommands(ProgramState& state, WebBrowser& wb, WebBrowser& wb2,
                 std::function<void()> build_map, std::string game_url = GAME_URL(),
                 std::string maker_host = hosts::kMaker);

    void LOGIN(const std::string& name, const std::string& password);
    // Ends quietly on an error, skipping the saves.
    void USAGE_PING();
    // Raises subscript out of range when there is no current character.
    void LOGIN_CURRENT();

    bool PINGED_THIS_RUN = false;

  private:
    ProgramState& state_;
    WebBrowser& wb_;
    WebBrowser& wb2_;
    std::function<void()> build_map_;
    std::string game_url_;
    std::string maker_host_;
};

}  // namespace ui
}  // namespace zeko
