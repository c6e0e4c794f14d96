#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "main/ui/main_workers.h"

namespace zeko {

class ProgramState;

namespace ui {

class FrmMain;
class ProgramUi;
class ProgramWindows;

// `mainMENUS` and `mainBUTTONS`: what the main window's menus and buttons do, one worker per
// control array, each switching on the index its array passes. The menu workers are in
// main_menus.cpp, the button workers in main_buttons.cpp. They keep nothing between calls;
// the other windows they open are reached through `windows`.
class MainCommands final : public MainWorkers {
  public:
    // Hands a link to the system's handler for its scheme (the messenger and mail links).
    using OpenUrl = std::function<void(const QString& url)>;

    MainCommands(ProgramState& state, ProgramUi& ui, ProgramWindows& windows);
    ~MainCommands() override;
    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

    void set_open_url(OpenUrl open_url) { open_url_ = std::move(open_url); }

    // mainMENUS.
    void MENU_FILE(int16_t index) override;
    void MENU_AUTONAV(int16_t index) override;
    void MENU_OPTIONS(int16_t index) override;
    void MENU_NAVLINES(int16_t index) override;
    void MENU_ZOOM(int16_t index) override;
    void MENU_HELP(int16_t index) override;
    void MENU_SKILLS(int16_t index) override;
    void MENU_VAMP(int16_t index) override;
    void MENU_TOOLS(int16_t index) override;
    void MENU_LINKS(int16_t index) override;

    // mainBUTTONS.
    void BUTTON_COMMAND(int16_t index, StreetChoice streets) override;
    void BUTTON_VAMP(int16_t index) override;

    void LOGIN_CURRENT() override;

  private:
    FrmMain& main();
    // A page in a browser window of its own, so the game keeps its page.
    void open_in_new_window(const std::string& url);
    void save_and_apply();
    // The current character exists (a list emptied by deleting keeps stale records).
    bool has_current() const;
    // Reads the game page's body and hands its outer markup to the dump with or without the
    // style sheets, when there is one.
    void dump_body(bool with_css);
    void help(int16_t topic);

    ProgramState& state_;
    ProgramUi& ui_;
    ProgramWindows& windows_;
    OpenUrl open_url_;
    // A page read may answer after this object is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ui
}  // namespace zeko
