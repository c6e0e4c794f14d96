// mainBUTTONS: the button workers, and the addresses the commands open.
#include "main/ui/main_buttons.h"

#include <QDesktopServices>
#include <QUrl>

#include <algorithm>

#include "common/hosts.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/frm_main.h"
#include "main/ui/frm_vamp.h"
#include "main/ui/main_menus.h"
#include "platform/browser.h"
#include "widgets/maker_contacts.h"
#include "widgets/program_windows.h"
#include "widgets/version_text.h"

namespace zeko::ui {

namespace {

// "Z.E.K.O.²" in UTF-8.
constexpr std::string_view kShortName = "Z.E.K.O.\xC2\xB2";

constexpr std::string_view kDeleteTitle = "Just making sure...";

}  // namespace

std::string game_page(std::string_view game_url, std::string_view page) {
    const size_t slash = game_url.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? game_url : game_url.substr(0, slash + 1);
    return std::string(folder) + std::string(page);
}

std::string maker_page(std::string_view path) {
    return std::string("http://") + hosts::kMaker + std::string(path);
}

std::string messenger_link(std::string_view version) {
    return "ymsgr:sendIM?" + std::string(kMakerMessengerId) + "&m=" + std::string(kShortName) +
           " v" + std::string(version);
}

std::string mail_link(std::string_view version) {
    return "mailto:" + std::string(kMakerMail) + "?subject=" + std::string(kShortName) + " v" +
           std::string(version);
}

void open_with_system(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void MainCommands::BUTTON_COMMAND(int16_t index, StreetChoice streets) {
    FrmMain& m = main();
    switch (index) {
        case 0:
            // Zoom In: saved at once; the tiles are laid out here, so no re-apply.
            state_.ZOOM = static_cast<int16_t>(std::max(state_.ZOOM - 2, 3));
            state_.settings.SAVE_SETTINGS();
            m.ZOOM_MAP();
            m.BUILD_MAP();
            break;
        case 1:
            // Zoom Out: in memory only, until the next save of any kind.
            state_.ZOOM = static_cast<int16_t>(std::min(state_.ZOOM + 2, 11));
            state_.settings.SETTINGS.ZOOM = state_.ZOOM;
            m.ZOOM_MAP();
            m.BUILD_MAP();
            break;
        case 2:
            windows_.show_frmSET_DEST();
            break;
        case 3:
            // The base page alone: the last form post is not sent again.
            m.wb().Navigate2(QString::fromStdString(GAME_URL(state_)));
            break;
        case 4:
            help(2);
            break;
        case 5:
            open_in_new_window(maker_page("/ZEKO2/donate.php"));
            break;
        case 6:
            if (open_url_) open_url_(QString::fromStdString(messenger_link(version_text())));
            break;
        case 7:
            if (open_url_) open_url_(QString::fromStdString(mail_link(version_text())));
            break;
        case 8:
            open_in_new_window(maker_page(kPoetryPath));
            break;
        case 9: {
            // GO: the block south-east of the crossing of the two chosen streets.
            if (!has_current() || streets.x < 0 || streets.y < 0) return;
            VAMP& me = state_.db.current();
            me.POS_X = static_cast<int16_t>(2 * streets.x);
            me.POS_Y = static_cast<int16_t>(2 * streets.y);
            m.BUILD_MAP();
            break;
        }
        default:
            break;
    }
}

void MainCommands::BUTTON_VAMP(int16_t index) {
    const HelpHook help = [this](int topic, QWidget* owner) {
        windows_.INIT_HELP(static_cast<int16_t>(topic), owner);
    };
    switch (index) {
        case 0: {
            FrmVampNew dialog(state_, &main(), help);
            dialog.exec();
            break;
        }
        case 1: {
            if (!has_current()) return;
            FrmVampEdit dialog(state_, &main(), help);
            dialog.exec();
            break;
        }
        case 2: {
            if (!has_current()) return;
            const std::string text = "Are you sure you want to delete the vampire '" +
                                     state_.db.current().handle() + "' from your list?";
            const MsgResult answer = state_.services.prompts->message_box(
                text, MsgButtons::YesNo, MsgIcon::Question, kDeleteTitle);
            if (answer != MsgResult::Yes) return;
            state_.db.current().DELETED = kTrue;
            state_.db.SAVE_DB();
            state_.db.CLEAN_DB();
            break;
        }
        default:
            break;
    }
}

}  // namespace zeko::ui
