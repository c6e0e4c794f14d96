#include "main/program.h"

#include <cmath>

#include "common/errors.h"
#include "common/hosts.h"
#include "main/program_state.h"

namespace zeko {

std::string GAME_URL() {
    return std::string("http://") + hosts::kGame + "/blood.pl";
}

std::string GAME_URL(const ProgramState& state) {
    return state.game_url_override.empty() ? GAME_URL() : state.game_url_override;
}

void TOGGLE_BOOL(VbBool& flag) {
    flag = flag == kTrue ? kFalse : kTrue;
}

int16_t TOGGLE_CHECK(VbBool& flag) {
    if (flag == kTrue) {
        flag = kFalse;
        return 0;
    }
    flag = kTrue;
    return 1;
}

VAMP default_vamp() {
    VAMP v;
    v.set_handle("VirtuaVAMP");
    v.POS_X = 100;
    v.POS_Y = 100;
    v.DEST_X = 0;
    v.DEST_Y = 0;
    v.AUTOLOGIN = kFalse;
    v.DELETED = kFalse;
    v.RESERVED = 0;
    return v;
}

namespace {

// A whole number from lo to hi, uniformly.
int draw(RandomSource& random, int lo, int hi) {
    int n = lo + static_cast<int>(std::floor(random.next() * static_cast<float>(hi - lo + 1)));
    return n > hi ? hi : n;
}

void seed_from_clock(ProgramState& state) {
    state.services.random->seed(state.services.clock->now().seconds_since_midnight());
}

}  // namespace

std::string quit_title(ProgramState& state, int r, int k) {
    switch (r) {
        case 1:
            return "Just thought I'd ask...";
        case 2:
            return "Just thought I'd check...";
        case 3:
            return "Just checking...";
        case 4:
            return "Leaving..?";
        case 5:
            return "Leaving so soon?";
        case 6:
            return "Just inquiring...";
        case 7:
            return "Are you sure..?";
        case 8:
            return "You... leave..?";
        case 9:
            return "No stays..?";
        case 10:
            return "... meany...";
        case 11:
            return "You can hold it until recess...";
        case 12:
            return "BACK IN YOUR SEAT!!!";
        case 13:
            return "FINISH YOUR VEGETABLES!!!";
        case 14:
            return "but... I made cookies..?";
        case 15:
            return "... is it something I said..?";
        case 16:
            return "Alright, I'm goin to " + state.map.PLACE_NAME(k) + "...";
        case 17:
            return "Oh, drop this at " + state.map.PLACE_NAME(k) + " Station..?";
        case 18:
            return "FINISH YOUR SUPPER!!!";
        default:
            return "You'd stay if I had breasts, wouldn't you!";
    }
}

MsgResult QUIT_PROMPT(ProgramState& state) {
    seed_from_clock(state);
    int r = draw(*state.services.random, 1, 19);
    int k = 0;
    if (r == 16 || r == 17) {
        seed_from_clock(state);
        k = r == 16 ? draw(*state.services.random, 1, 91) : draw(*state.services.random, 92, 100);
    }
    std::string title;
    try {
        title = quit_title(state, r, k);
    } catch (...) {
        // A map that cannot be loaded leaves the place unnamed; the question still comes.
        title = quit_title(state, 1, 0);
    }
    // Both files are saved whatever the answer, so a No leaves them written too.
    state.settings.SAVE_SETTINGS();
    state.db.SAVE_DB();
    MsgResult answer = state.services.prompts->message_box(kQuitQuestion, MsgButtons::YesNo,
                                                           MsgIcon::Question, title);
    return answer == MsgResult::Yes ? MsgResult::Yes : MsgResult::No;
}

void INIT_PROGRAM(ProgramState& state, StartHooks& hooks) {
    auto step = [](auto&& f) { attempt(f); };
    step([&] { state.db.CUR_VAMP = 1; });
    step([&] { state.map.LOAD_MAP(); });
    // The date patterns are a constant table; nothing to fill.
    // The list is the main window's, so the window comes first; a window that fails to load
    // still leaves the characters to read.
    step([&] { hooks.load_main_window(); });
    step([&] { state.db.LOAD_DB(); });
    step([&] { hooks.load_main_window(); });
    step([&] { state.settings.LOAD_SETTINGS(); });
    step([&] { hooks.APPLY_SETTINGS(); });
    step([&] { hooks.FORCE_LAYOUT(state.settings.SETTINGS.LAYOUT); });
    step([&] { hooks.select_first_entry(); });
    step([&] {
        if (hooks.list_count() == 0) state.db.CREATE_DB(default_vamp());
    });
    step([&] { hooks.show_main_window(); });
}

}  // namespace zeko
