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

// `mainMENUS` and `mainBUTTONS`: what the main window's menus and buttons do, one worker per
// control array, each switching on the index its array passes. The menu workers are in
// main_menus.cpp, the button workers in main_buttons.cpp. They keep nothing between calls.
class MainCommands : public MainWorkers {
  public:
    // Hands a link to the system's handler for its scheme (the messenger and mail links).
    using OpenUrl = std::function<void(const QString& url)>;

    MainCommands(ProgramState& state, ProgramUi& ui);
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
    void BUTTON_COMMAND(int16_t index) override;
    void BUTTON_VAMP(int16_t index) override;

    void LOGIN_CURRENT() override;

    // The windows and page dumps the commands lead to that do not exist yet; each does
    // nothing until its window overrides it. The dumps get the page body's outer markup.
    virtual void show_frmPICConfig() {}
    virtual void show_frmSET_DEST() {}
    virtual void show_frmSHOPPING() {}
    virtual void show_frmSKILLS() {}
    virtual void show_frmEMOTICON() {}
    virtual void show_frmABOUT() {}
    virtual void SNAPSHOT_HTML(const std::string& /*body*/) {}
    virtual void SNAPSHOT_HTML_CSS(const std::string& /*body*/) {}

  private:
    FrmMain& main();
    // A page in a browser window of its own, so the game keeps its page.
    void open_in_new_window(const std::string& url);
    void save_and_apply();
    // The current character exists (a list emptied by deleting keeps stale records).
    bool has_current() const;
    // Reads the game page's body and hands it on, when there is one.
    void dump_body(void (MainCommands::*dump)(const std::string&));

    ProgramState& state_;
    ProgramUi& ui_;
    OpenUrl open_url_;
    // A page read may answer after this object is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ui
}  // namespace zeko
