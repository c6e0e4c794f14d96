#pragma once

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "widgets/program_windows.h"

class QWidget;

namespace zeko {

class ProgramState;
class WebBrowser;

namespace ui {
class FrmEmoticon;
class FrmHelp;
class FrmMain;
class FrmMapUpdate;
class FrmSetDest;
class FrmShopping;
class FrmSkills;
class FrmSplash;
class ProgramUi;
class Snapshots;
}  // namespace ui

// The program's windows beyond the main window, all opened from here. Each is made on first
// use and lives for the run, so what it keeps (quantities, counters, tables) survives closing
// it.
class AppWindows final : public ui::ProgramWindows {
  public:
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;

    AppWindows(ProgramState& state, BrowserFactory make_browser);
    ~AppWindows() override;

    // The main window's side of the program, once it exists (it needs these windows first).
    void set_program(ui::ProgramUi& program) { program_ = &program; }
    // The start-up window, while the program starts from it.
    void set_splash(ui::FrmSplash* splash);

    void INIT_HELP(int16_t topic, QWidget* owner) override;
    void show_frmABOUT() override;
    void show_frmSET_DEST() override;
    void show_frmPICConfig() override;
    void show_frmSHOPPING() override;
    void show_frmSKILLS() override;
    void show_frmEMOTICON() override;
    void INIT_GUILDS(QWidget* owner) override;
    void SNAPSHOT_BMP() override;
    void SNAPSHOT_HTML(const std::string& body) override;
    void SNAPSHOT_HTML_CSS(const std::string& body) override;
    void UNLOAD_SPLASH() override;

  private:
    // The main window, made when first asked for; the owner of the windows modal over it.
    ui::FrmMain* main_window();
    ui::Snapshots* snapshots();

    ProgramState& state_;
    BrowserFactory make_browser_;
    ui::ProgramUi* program_ = nullptr;
    QPointer<ui::FrmSplash> splash_;

    std::unique_ptr<ui::FrmHelp> help_;
    std::unique_ptr<ui::FrmShopping> shopping_;
    std::unique_ptr<ui::FrmEmoticon> emoticon_;
    std::unique_ptr<ui::FrmMapUpdate> guilds_;
    std::unique_ptr<ui::Snapshots> snapshots_;
    // Owned by the main window, which they belong to.
    QPointer<ui::FrmSetDest> planner_;
    QPointer<ui::FrmSkills> skills_;
};

}  // namespace zeko
