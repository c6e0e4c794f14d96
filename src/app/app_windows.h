#pragma once

#include <cstdint>
#include <string>

#include "main/ui/program_windows.h"

class QWidget;

namespace zeko {

class ProgramState;

namespace ui {
class ProgramUi;
}

// The program's windows beyond the main window, all opened from here. A window that does not
// exist yet leaves its method empty.
class AppWindows final : public ui::ProgramWindows {
  public:
    explicit AppWindows(ProgramState& state) : state_(state) {}

    // The main window's side of the program, once it exists (it needs these windows first).
    void set_program(ui::ProgramUi& program) { program_ = &program; }

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
    // The owner of the windows shown modally over the main window.
    QWidget* main_window();

    ProgramState& state_;
    ui::ProgramUi* program_ = nullptr;
};

}  // namespace zeko
