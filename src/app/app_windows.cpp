#include "app/app_windows.h"

#include <QListWidget>

#include <utility>

#include "help/ui/frm_about.h"
#include "help/ui/frm_help.h"
#include "main/program_state.h"
#include "main/ui/frm_main.h"
#include "main/ui/main_workers.h"
#include "main/ui/program_ui.h"
#include "minimap/ui/frm_set_dest.h"
#include "screenshots/ui/frm_pic_config.h"
#include "screenshots/ui/snapshots.h"
#include "startup/ui/frm_map_update.h"
#include "startup/ui/frm_splash.h"
#include "tools/ui/frm_emoticon.h"
#include "tools/ui/frm_shopping.h"
#include "tools/ui/frm_skills.h"

namespace zeko {

AppWindows::AppWindows(ProgramState& state, BrowserFactory make_browser)
    : state_(state), make_browser_(std::move(make_browser)) {}

AppWindows::~AppWindows() = default;

void AppWindows::set_splash(ui::FrmSplash* splash) {
    splash_ = splash;
}

ui::FrmMain* AppWindows::main_window() {
    return program_ != nullptr ? &program_->frmMAIN() : nullptr;
}

void AppWindows::INIT_HELP(int16_t topic, QWidget* owner) {
    if (!help_) {
        help_ = std::make_unique<ui::FrmHelp>(make_browser_, [this](QWidget* about_owner) {
            ui::FrmAbout::show_over(make_browser_, about_owner);
        });
    }
    help_->INIT_HELP(topic, owner);
}

void AppWindows::show_frmABOUT() {
    ui::FrmAbout::show_over(make_browser_, main_window());
}

void AppWindows::show_frmSET_DEST() {
    ui::FrmMain* main = main_window();
    if (main == nullptr) return;
    if (!planner_) {
        ui::FrmSetDest::Hooks hooks{
            main->lstVAMP(), [this](int16_t index) { program_->workers().MENU_TOOLS(index); },
            [main] {
                // The destination line shows as soon as the planner is gone.
                main->activateWindow();
                main->BUILD_MAP();
            }};
        planner_ = new ui::FrmSetDest(state_, main->minimap(), *this, std::move(hooks), main);
    }
    planner_->show_modal();
}

void AppWindows::show_frmPICConfig() {
    // Made anew at each opening: it loads the stored names into its working copy.
    ui::FrmPICConfig config(state_, *this, main_window());
    config.show_modal();
}

void AppWindows::show_frmSHOPPING() {
    if (!shopping_) shopping_ = std::make_unique<ui::FrmShopping>(*state_.services.prompts, *this);
    shopping_->show_window();
}

void AppWindows::show_frmSKILLS() {
    if (!skills_) skills_ = new ui::FrmSkills(main_window());
    skills_->show_modal();
}

void AppWindows::show_frmEMOTICON() {
    if (!emoticon_) emoticon_ = std::make_unique<ui::FrmEmoticon>(*this, make_browser_);
    emoticon_->show_modal();
}

void AppWindows::INIT_GUILDS(QWidget* /*owner: the guild update has none*/) {
    if (!guilds_) {
        guilds_ = std::make_unique<ui::FrmMapUpdate>(state_, make_browser_, [this] {
            if (ui::FrmMain* main = main_window()) main->BUILD_MAP();
        });
    }
    guilds_->INIT_GUILDS();
}

ui::Snapshots* AppWindows::snapshots() {
    ui::FrmMain* main = main_window();
    if (main == nullptr) return nullptr;
    if (!snapshots_) {
        snapshots_ = std::make_unique<ui::Snapshots>(state_, main, [main](bool hidden) {
            ui::set_list_text_hidden(main->lstVAMP(), hidden);
        });
    }
    return snapshots_.get();
}

void AppWindows::SNAPSHOT_BMP() {
    if (ui::Snapshots* shots = snapshots()) shots->SNAPSHOT_BMP();
}

void AppWindows::SNAPSHOT_HTML(const std::string& body) {
    if (ui::Snapshots* shots = snapshots()) shots->SNAPSHOT_HTML(body);
}

void AppWindows::SNAPSHOT_HTML_CSS(const std::string& body) {
    if (ui::Snapshots* shots = snapshots()) shots->SNAPSHOT_HTML_CSS(body);
}

void AppWindows::UNLOAD_SPLASH() {
    if (splash_) splash_->unload();
}

}  // namespace zeko
