#pragma once

#include <cstdint>

namespace zeko::ui {

// Where the main window sends its menu and button clicks, each with the clicked index
// unchanged, and the steps of other windows it calls. This base does nothing: the windows
// that carry the commands out come later and override what they handle.
class MainWorkers {
  public:
    virtual ~MainWorkers() = default;

    virtual void MENU_FILE(int16_t /*index*/) {}
    virtual void MENU_AUTONAV(int16_t /*index*/) {}
    virtual void MENU_OPTIONS(int16_t /*index*/) {}
    virtual void MENU_NAVLINES(int16_t /*index*/) {}
    virtual void MENU_ZOOM(int16_t /*index*/) {}
    virtual void MENU_HELP(int16_t /*index*/) {}
    virtual void MENU_SKILLS(int16_t /*index*/) {}
    virtual void MENU_VAMP(int16_t /*index*/) {}
    virtual void MENU_TOOLS(int16_t /*index*/) {}
    virtual void MENU_LINKS(int16_t /*index*/) {}
    virtual void BUTTON_COMMAND(int16_t /*index*/) {}
    virtual void BUTTON_VAMP(int16_t /*index*/) {}

    // Logs the current character in (the list click, when automatic login applies).
    virtual void LOGIN_CURRENT() {}
    // The bitmap snap shot, once the snap-shot timer has fired.
    virtual void SNAPSHOT_BMP() {}
    // Shows help at a topic, modally over the calling window.
    virtual void INIT_HELP(int16_t /*topic*/) {}
    // The main window has come up: the start-up window goes, if it is still there.
    virtual void UNLOAD_SPLASH() {}
};

}  // namespace zeko::ui
