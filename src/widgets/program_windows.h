#pragma once

#include <cstdint>
#include <string>

class QWidget;

namespace zeko::ui {

// The program's windows beyond the main window, as the commands and the other windows reach
// them. The program implements this in one place (src/app); a window that does not exist
// there yet makes its call do nothing.
class ProgramWindows {
  public:
    virtual ~ProgramWindows() = default;

    // Help at a topic, modal over `owner` (the calling window).
    virtual void INIT_HELP(int16_t topic, QWidget* owner) = 0;
    virtual void show_frmABOUT() = 0;
    // The destination planner, modal over the main window.
    virtual void show_frmSET_DEST() = 0;
    // The screen-shot name settings, modal over the main window.
    virtual void show_frmPICConfig() = 0;
    virtual void show_frmSHOPPING() = 0;
    virtual void show_frmSKILLS() = 0;
    virtual void show_frmEMOTICON() = 0;
    // The guild update, modal over `owner`.
    virtual void INIT_GUILDS(QWidget* owner) = 0;
    // The bitmap snap shot, once the snap-shot timer has fired.
    virtual void SNAPSHOT_BMP() = 0;
    // The two page dumps, given the game page's body markup.
    virtual void SNAPSHOT_HTML(const std::string& body) = 0;
    virtual void SNAPSHOT_HTML_CSS(const std::string& body) = 0;
    // The main window has come up: the start-up window goes, if it is still there.
    virtual void UNLOAD_SPLASH() = 0;
};

// Every call does nothing: for a program put together without the other windows.
class NoWindows : public ProgramWindows {
  public:
    void INIT_HELP(int16_t, QWidget*) override {}
    void show_frmABOUT() override {}
    void show_frmSET_DEST() override {}
    void show_frmPICConfig() override {}
    void show_frmSHOPPING() override {}
    void show_frmSKILLS() override {}
    void show_frmEMOTICON() override {}
    void INIT_GUILDS(QWidget*) override {}
    void SNAPSHOT_BMP() override {}
    void SNAPSHOT_HTML(const std::string&) override {}
    void SNAPSHOT_HTML_CSS(const std::string&) override {}
    void UNLOAD_SPLASH() override {}
};

}  // namespace zeko::ui
