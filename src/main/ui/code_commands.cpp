#include "main/ui/code_commands.h"

#include <QString>
#include <QUrl>
#include <utility>

#include "main/program_state.h"
#include "platform/browser.h"
#include "widgets/traps.h"

namespace zeko::ui {

CodeCommands::CodeCommands(ProgramState& state, WebBrowser& wb, WebBrowser& wb2,
                           std::function<void()> build_map, std::string game_url,
                           std::string maker_host)
    : state_(state),
      wb_(wb),
      wb2_(wb2),
      build_map_(std::move(build_map)),
      game_url_(std::move(game_url)),
      maker_host_(std::move(maker_host)) {}

void CodeCommands::LOGIN(const std::string& name, const std::string& password) {
    // Set for the game's own site rather than the shown document: the first login of a run
    // happens while the browser still shows its blank start page, which takes no cookie.
    const QString cookie = QString::fromStdString("ip=" + name + "#" + password);
    wb_.setCookieForUrl(cookie, QUrl(QString::fromStdString(game_url_)));
    wb_.Navigate2(QString::fromStdString(game_url_ + "?action=welcome"));
    USAGE_PING();
}

void CodeCommands::USAGE_PING() {
    trap("USAGE_PING", [&] {
        if (!PINGED_THIS_RUN) {
            const std::string site = "http://" + maker_host_ + "/ZEKO2/MISC/";
            VbBool& done = state_.settings.SETTINGS.USAGE_PING_DONE;
            // Any value other than 0 counts as done, so a user is never reported as new twice.
            if (done != kFalse) {
                wb2_.Navigate2(QString::fromStdString(site + "plus_hit.php"));
            } else {
                wb2_.Navigate2(QString::fromStdString(site + "plus_all.php"));
                done = kTrue;
            }
            PINGED_THIS_RUN = true;
        }
        state_.settings.SAVE_SETTINGS();
        state_.db.SAVE_DB();
    });
}

void CodeCommands::LOGIN_CURRENT() {
    if (build_map_) build_map_();
    const VAMP& me = state_.db.current();
    LOGIN(me.name(), me.password());
}

}  // namespace zeko::ui
