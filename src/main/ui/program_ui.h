#pragma once

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>

#include "main/program.h"
#include "main/ui/frm_main.h"

namespace zeko {

class ProgramState;

namespace ui {

class CodeCommands;
class FrmLayout;
class MainWorkers;
class NewVampDialog;
class ProgramWindows;

// The program's windows for one run: makes the main window and the layout chooser when the
// start needs them, carries out the window-side steps of the start, and ends the program.
class ProgramUi final : public StartHooks {
  public:
    // `windows` are the program's other windows; it outlives this. `quit` ends the event
    // loop (QCoreApplication::quit unless a test says otherwise).
    ProgramUi(ProgramState& state, ProgramWindows& windows, FrmMain::BrowserFactory make_browser,
              std::function<void()> quit = {});
    // Without the other windows: each of their calls does nothing (tests and benchmarks).
    ProgramUi(ProgramState& state, FrmMain::BrowserFactory make_browser,
              std::function<void()> quit = {});
    ~ProgramUi() override;
    ProgramUi(const ProgramUi&) = delete;
    ProgramUi& operator=(const ProgramUi&) = delete;

    // Replaces the program's own workers behind the menus and buttons; `workers` outlives this.
    void set_workers(MainWorkers& workers);
    MainWorkers& workers() { return *workers_; }
    ProgramWindows& windows() { return *windows_; }

    // StartHooks.
    void load_main_window() override;
    void APPLY_SETTINGS() override;
    void FORCE_LAYOUT(int16_t layout) override;
    bool select_first_entry() override;
    int list_count() override;
    void show_main_window() override;

    // Closes every window without asking again and ends the event loop.
    void EXIT_PROGRAM();

    // The windows, made on first use.
    FrmMain& frmMAIN();
    FrmLayout& frmLAYOUT();
    // The login commands, over the main window's browsers.
    CodeCommands& codeCOMMANDS();
    bool main_loaded() const { return main_ != nullptr; }

  private:
    ProgramState& state_;
    std::unique_ptr<ProgramWindows> own_windows_;
    ProgramWindows* windows_;
    FrmMain::BrowserFactory make_browser_;
    std::function<void()> quit_;
    std::unique_ptr<MainWorkers> own_workers_;
    MainWorkers* workers_;
    std::unique_ptr<NewVampDialog> new_vamp_;
    std::unique_ptr<FrmMain> main_;
    std::unique_ptr<CodeCommands> commands_;
    QPointer<FrmLayout> layout_;
};

}  // namespace ui
}  // namespace zeko
