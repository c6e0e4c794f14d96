#pragma once

#include <cstdint>

#include "main/ui/main_workers.h"

namespace zeko::testing {

// The main window's workers doing nothing, as ui::NoWindows does for the other windows: a test
// overrides the calls it watches.
class NoWorkers : public ui::MainWorkers {
  public:
    void MENU_FILE(int16_t) override {}
    void MENU_AUTONAV(int16_t) override {}
    void MENU_OPTIONS(int16_t) override {}
    void MENU_NAVLINES(int16_t) override {}
    void MENU_ZOOM(int16_t) override {}
    void MENU_HELP(int16_t) override {}
    void MENU_SKILLS(int16_t) override {}
    void MENU_VAMP(int16_t) override {}
    void MENU_TOOLS(int16_t) override {}
    void MENU_LINKS(int16_t) override {}
    void BUTTON_COMMAND(int16_t, ui::StreetChoice) override {}
    void BUTTON_VAMP(int16_t) override {}
    void LOGIN_CURRENT() override {}
};

}  // namespace zeko::testing
