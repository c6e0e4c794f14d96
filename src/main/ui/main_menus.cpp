// mainMENUS: the menu workers.
#include "main/ui/main_menus.h"

#include <optional>

#include "main/program.h"
#include "main/program_state.h"
#include "main/tracking.h"
#include "main/ui/code_commands.h"
#include "main/ui/frm_layout.h"
#include "main/ui/frm_main.h"
#include "main/ui/main_buttons.h"
#include "main/ui/page_tracking.h"
#include "main/ui/program_ui.h"
#include "platform/browser.h"
#include "widgets/program_windows.h"

namespace zeko::ui {

MainCommands::MainCommands(ProgramState& state, ProgramUi& ui, ProgramWindows& windows)
    : state_(state), ui_(ui), windows_(windows), open_url_(open_with_system) {}

MainCommands::~MainCommands() {
    *alive_ = false;
}

FrmMain& MainCommands::main() {
    return ui_.frmMAIN();
}

void MainCommands::open_in_new_window(const std::string& url) {
    main().wb2().Navigate2(QString::fromStdString(url), QStringLiteral("_blank"), {}, {});
}

void MainCommands::save_and_apply() {
    state_.settings.SAVE_SETTINGS();
    main().APPLY_SETTINGS();
}

bool MainCommands::has_current() const {
    const VampDb& db = state_.db;
    return db.CUR_VAMP >= 1 && db.CUR_VAMP <= db.VAMP_COUNT && db.CUR_VAMP >= db.VAMPS.lbound() &&
           db.CUR_VAMP <= db.VAMPS.ubound();
}

void MainCommands::dump_body(bool with_css) {
    std::weak_ptr<bool> alive = alive_;
    main().wb().readBodyOuterHtml([this, alive, with_css](std::optional<QString> body) {
        // No document, or no body yet: there is nothing to dump.
        if (alive.expired() || !body) return;
        if (with_css)
            windows_.SNAPSHOT_HTML_CSS(body->toStdString());
        else
            windows_.SNAPSHOT_HTML(body->toStdString());
    });
}

void MainCommands::help(int16_t topic) {
    windows_.INIT_HELP(topic, &main());
}

void MainCommands::LOGIN_CURRENT() {
    ui_.codeCOMMANDS().LOGIN_CURRENT();
}

void MainCommands::MENU_FILE(int16_t index) {
    switch (index) {
        case 0:
            windows_.show_frmPICConfig();
            break;
        case 1:
            // The capture waits for the menu to close and the page to be drawn again.
            main().set_pic_interval(500);
            break;
        case 3:
            dump_body(true);
            break;
        case 4:
            dump_body(false);
            break;
        case 6:
            if (QUIT_PROMPT(state_) == MsgResult::Yes) ui_.EXIT_PROGRAM();
            break;
        default:
            break;
    }
}

void MainCommands::MENU_AUTONAV(int16_t index) {
    SETTINGS_REC& s = state_.settings.SETTINGS;
    switch (index) {
        case 0:
            TOGGLE_BOOL(s.AUTONAV_STANDARD);
            main().tracking().set_rip_interval(PositionTracker::kPollInterval);
            break;
        case 1:
            TOGGLE_BOOL(s.AUTONAV_PRECOG);
            main().tracking().set_rip_interval(PositionTracker::kPollInterval);
            break;
        default:
            break;
    }
    save_and_apply();
}

void MainCommands::MENU_OPTIONS(int16_t index) {
    switch (index) {
        case 0:
            // The Auto-Nav submenu opening.
            save_and_apply();
            break;
        case 1:
            ui_.frmLAYOUT().show_modal();
            save_and_apply();
            break;
        case 2:
            TOGGLE_BOOL(state_.settings.SETTINGS.TILE_IMAGES);
            save_and_apply();
            save_and_apply();
            break;
        default:
            break;
    }
}

void MainCommands::MENU_NAVLINES(int16_t index) {
    SETTINGS_REC& s = state_.settings.SETTINGS;
    switch (index) {
        case 0:
            TOGGLE_BOOL(s.NAVLINE_BANK);
            break;
        case 1:
            TOGGLE_BOOL(s.NAVLINE_PUB);
            break;
        case 2:
            TOGGLE_BOOL(s.NAVLINE_TRANSIT);
            break;
        case 3:
            TOGGLE_BOOL(s.NAVLINE_DEST);
            break;
        default:
            break;
    }
    save_and_apply();
    main().DRAW_LINES();
}

void MainCommands::MENU_ZOOM(int16_t index) {
    if (index < 0 || index > 4) return;
    const auto zoom = static_cast<int16_t>(3 + 2 * index);
    state_.settings.SETTINGS.ZOOM = zoom;
    state_.ZOOM = zoom;
    main().ZOOM_MAP();
    main().BUILD_MAP();
    save_and_apply();
}

void MainCommands::MENU_HELP(int16_t index) {
    switch (index) {
        case 0:
            windows_.show_frmABOUT();
            break;
        case 2:
            help(2);
            break;
        case 3:
            help(4);
            break;
        case 5:
            open_in_new_window(game_page(GAME_URL(state_), "bloodhowto.html"));
            break;
        case 6:
            open_in_new_window(game_page(GAME_URL(state_), "faq.pl"));
            break;
        default:
            break;
    }
}

void MainCommands::MENU_SKILLS(int16_t index) {
    switch (index) {
        case 0:
            open_in_new_window(game_page(GAME_URL(state_), "faq.pl?id=13"));
            break;
        case 1:
            open_in_new_window(game_page(GAME_URL(state_), "blooddonate.pl"));
            break;
        default:
            break;
    }
}

void MainCommands::MENU_VAMP(int16_t index) {
    BUTTON_VAMP(index);
}

void MainCommands::MENU_TOOLS(int16_t index) {
    switch (index) {
        case 0:
            windows_.show_frmSHOPPING();
            break;
        case 1:
            windows_.show_frmSKILLS();
            break;
        case 3:
            windows_.show_frmEMOTICON();
            break;
        default:
            break;
    }
}

void MainCommands::MENU_LINKS(int16_t index) {
    if (index == 0) open_in_new_window(maker_page("/ZEKO2/"));
}

}  // namespace zeko::ui
