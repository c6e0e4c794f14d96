#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/conversions.h"
#include "common/prompts.h"

namespace zeko {

class ProgramState;
struct VAMP;

// Date patterns of the screen-shot names, by the index a naming record stores.
inline constexpr std::array<std::string_view, 8> DATE_FORMATS = {
    "MM-DD-YYYY", "MM-DD-YY", "YYYY-MM-DD", "YY-MM-DD",
    "MM.DD.YYYY", "MM.DD.YY", "YYYY.MM.DD", "YY.MM.DD"};

// The game's script page on the game host this program was built for.
std::string GAME_URL();
// The game's script page for this run: the state's override when it has one.
std::string GAME_URL(const ProgramState& state);

// -1 becomes 0, anything else -1.
void TOGGLE_BOOL(VbBool& flag);
// The same flip for a check box: returns the box's new value, 1 ticked or 0.
int16_t TOGGLE_CHECK(VbBool& flag);

// The character made when the list is still empty after loading.
VAMP default_vamp();

inline constexpr std::string_view kQuitQuestion = "Are you sure you want to quit..?";

// Title r (1..19) of the quit question; k is the pub or station code the titles 16 and 17
// name.
std::string quit_title(ProgramState& state, int r, int k);

// Saves both files, then asks whether to quit under a random title. Yes or No.
MsgResult QUIT_PROMPT(ProgramState& state);

// The window-side steps of the start, in the order the start needs them.
class StartHooks {
  public:
    virtual ~StartHooks() = default;
    // Makes the main window if it does not exist yet (its load step runs then).
    virtual void load_main_window() = 0;
    virtual void APPLY_SETTINGS() = 0;
    virtual void FORCE_LAYOUT(int16_t layout) = 0;
    // Selects list entry 0, which runs the list's click; false when the list is empty.
    virtual bool select_first_entry() = 0;
    virtual int list_count() = 0;
    virtual void show_main_window() = 0;
};

// Loads map, characters and settings, then brings the main window up. Every failing step is
// skipped.
void INIT_PROGRAM(ProgramState& state, StartHooks& hooks);

}  // namespace zeko
