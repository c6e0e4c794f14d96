#include "help/help_pages.h"

namespace zeko::help {

const std::vector<VersionBlock>& version_history() {
    static const std::vector<VersionBlock> kHistory = {
        {"1.2.3",
         {},
         {"An early release, to get the fixes below out quickly.",
          "Fixed a script error on some game pages.", "Fixed a crash in the guild update.",
          "The guild update is found in the planner, under \"Update Guilds\"."}},
        {"1.2.2",
         {},
         {"Fixed a crash at start-up when there was no character file.",
          "The about box no longer logs you in.",
          "A default character record is made when the list is empty.",
          "Corrections to the emoticon tutorial.", "New Links menu.",
          "The version shows in the main window's caption."}},
        {"1.2.1",
         {},
         {"A link on the What's New page opens in a new window.",
          "The splash screen shows for at least 3 seconds.",
          "The about box was rebuilt, and a crash in it fixed.",
          "Fixed the size of the planner's map.", "Map updates."}},
        {"1.2.0",
         "This version is mostly about the things you do not see.",
         {"The window no longer jumps to a corner of the screen.",
          "New scrambling of the map file.", "Fixed the zoom on the very first run.",
          "Faster transfer of the map.", "Fixed the layout of this What's New page."}},
        {"1.1.9",
         "The biggest update so far: the program got a new look.",
         {"Display themes.", "Picture minimap, up to 9x9.",
          "The main window and the planner share one minimap code.", "Redrawn buttons.",
          "The map is an outside file now, updated at start when a newer one is out.",
          "Splash screen, with credit to the logo's designer.", "Map updates."}},
        {"1.1.8",
         {},
         {"Map updates.", "Tooltips on the toolbar.", "Fixed the 2nd and 3rd nearest places.",
          "Fixed a typo in a skill name."}},
        {"1.1.7",
         {},
         {"Fixed the update at start.", "Fixed a crash at the city limits.",
          "Tiles at the city's edge.", "Map updates.",
          "Toolbar option, and a toolbar for the browser."}},
        {"1.1.6",
         {},
         {"Notice of a new version at start.", "Picture minimap (3x3).", "Map updates.",
          "Notes on the game's donations.", "A guild update applies at once.",
          "Fixed the coordinates shown under the mouse."}},
        {"1.1.5",
         {},
         {"The automatic guild update was removed.", "The planner shows the guilds' names.",
          "Fixed crashes in the planner.", "The planner opens only once.", "Map updates."}},
        {"1.1.4",
         {},
         {"Fixed a crash when the settings file had been deleted.",
          "Error messages name the procedure they come from."}},
        {"1.1.3",
         {},
         {"Settings rebuilt; the outdated settings file is deleted.", "Guilds added.",
          "The planner's features are linked together."}},
        {"1.1.2",
         {},
         {"Typo fixes.", "The screen-shot settings start with sensible values.",
          "Shopping list fixes.", "Map checks and corrections.",
          "Fixes to the planner's GO button.", "The standard refresh works again."}},
        {"1.1.1",
         {},
         {"Map update.", "The window's size and state are remembered.",
          "Placeholders in the planner's lists.", "Standard refresh (Ctrl+R).",
          "The database is saved when the planner closes."}},
        {"1.1.0", {}, {"A security fix.", "Fixed new vampires that do not log in automatically."}},
        {"1.0.9",
         {},
         {"The game's address changed.", "Fixes to the position prediction.",
          "One login method for everything.", "Prediction of transit rides.",
          "A greeting at login.", "Scroll bar in the emoticon test."}},
        {"1.0.8",
         {},
         {"The help window can be resized, and its links work again.", "New Form Layout topic.",
          "Position prediction.", "Auto-Nav submenu.", "The browser's back and forward keys."}},
        {"1.0.7", {}, {"Map additions.", "A new planner feature.", "Placeholders for guilds."}},
        {"1.0.6",
         {},
         {"Fixed the handle.", "Distances to the 2nd and 3rd nearest places.",
          "Fixed freezes of the help and about windows.", "Descriptions of the skills."}},
        {"1.0.5", {}, {"An error fixed.", "The zoom buttons stay enabled at the limits."}},
        {"1.0.4",
         {},
         {"The automatic-login box is ticked for new vampires.", "Buttons are enabled again."}},
        {"1.0.3", {}, {"Login rebuilt.", "What's New rebuilt."}},
        {"1.0.2", {}, {"Form layout option.", "Fixed an error when minimising."}},
        {"1.0.1",
         {},
         {"The version is in the mail subject and the messenger text.",
          "No more flashing in the task bar.", "The vampire list is hidden in snap shots."}},
        {"1.0.0",
         {},
         {"Database access.", "A new character database.", "New help.", "The destination is kept.",
          "Menus with shortcut keys.",
          "Skill Information, Emoticon Tutorial and Screen Shot Config."}},
    };
    return kHistory;
}

std::string BUILD_WHATS_NEW() {
    std::string s(kFontTag);
    for (const VersionBlock& block : version_history()) {
        s += "<b>";
        s += block.version;
        s += "</b>:<hr>";
        if (!block.intro.empty()) {
            s += block.intro;
            s += "<br>";
        }
        s += "<ul>";
        for (std::string_view change : block.changes) {
            s += "<li>";
            s += change;
        }
        s += "</ul>";
    }
    return s;
}

std::string BUILD_WHATS_NEXT() {
    std::string s(kFontTag);
    s += "<b>Zekorama\xC2\xB2: What's Next</b>...<HR>";
    s += "<b>Event Logger</b><br>Would record what your vampire does and what happens to it, "
         "one line per event, in a file named after the vampire and the date, for example:"
         "<br><i>03:12 Moved to Gloom and 12th</i><br><i>03:14 Bitten by Someone for 4 "
         "blood</i><br><br>";
    s += "<b>Bug fixes</b><br>Would add a test of which form of the game's page address "
         "works, so the program keeps finding the game when the address changes.";
    return s;
}

}  // namespace zeko::help
