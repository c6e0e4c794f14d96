#pragma once

#include <cstdint>

namespace zeko::ui {

// The street boxes' entries as the GO button finds them; -1 when a box shows none.
struct StreetChoice {
    int x = -1;
    int y = -1;
};

// Where the main window sends its menu and button clicks, each with the clicked index
// unchanged and whatever of its controls the command needs. The program's own workers are
// MainCommands.
class MainWorkers {
  public:
    virtual ~MainWorkers() = default;

    virtual void MENU_FILE(int16_t index) = 0;
    virtual void MENU_AUTONAV(int16_t index) = 0;
    virtual void MENU_OPTIONS(int16_t index) = 0;
    virtual void MENU_NAVLINES(int16_t index) = 0;
    virtual void MENU_ZOOM(int16_t index) = 0;
    virtual void MENU_HELP(int16_t index) = 0;
    virtual void MENU_SKILLS(int16_t index) = 0;
    virtual void MENU_VAMP(int16_t index) = 0;
    virtual void MENU_TOOLS(int16_t index) = 0;
    virtual void MENU_LINKS(int16_t index) = 0;
    virtual void BUTTON_COMMAND(int16_t index, StreetChoice streets) = 0;
    virtual void BUTTON_VAMP(int16_t index) = 0;

    // Logs the current character in (the list click, when automatic login applies).
    virtual void LOGIN_CURRENT() = 0;
};

}  // namespace zeko::ui
