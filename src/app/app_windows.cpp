#include "app/app_windows.h"

#include "main/program_state.h"
#include "main/ui/program_ui.h"

namespace zeko {

QWidget* AppWindows::main_window() {
    return program_ != nullptr && program_->main_loaded() ? &program_->frmMAIN() : nullptr;
}

void AppWindows::INIT_HELP(int16_t /*topic*/, QWidget* /*owner*/) {}

void AppWindows::show_frmABOUT() {}

void AppWindows::show_frmSET_DEST() {}

void AppWindows::show_frmPICConfig() {}

void AppWindows::show_frmSHOPPING() {}

void AppWindows::show_frmSKILLS() {}

void AppWindows::show_frmEMOTICON() {}

void AppWindows::INIT_GUILDS(QWidget* /*owner*/) {}

void AppWindows::SNAPSHOT_BMP() {}

void AppWindows::SNAPSHOT_HTML(const std::string& /*body*/) {}

void AppWindows::SNAPSHOT_HTML_CSS(const std::string& /*body*/) {}

void AppWindows::UNLOAD_SPLASH() {}

}  // namespace zeko
