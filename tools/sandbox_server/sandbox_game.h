#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "map/city_map.h"
#include "web_text.h"

namespace zeko::sandbox {

inline constexpr int kStartX = 100;
inline constexpr int kStartY = 100;
inline constexpr int kStartAp = 30;
inline constexpr int kMaxCoord = 199;  // positions run 0..kMaxCoord on each axis
inline constexpr int kMaxAp = 9999;
// Beyond these, a login plays the guest: garbage cookies must not grow memory without end.
inline constexpr size_t kMaxCookieBytes = 255;
inline constexpr size_t kMaxCharacters = 10000;

struct Station {
    std::string_view name;
    int x;
    int y;
};

inline constexpr std::array<Station, 9> kStations{{
    {"Calliope", 50, 50},
    {"Clio", 100, 50},
    {"Erato", 150, 50},
    {"Euterpe", 50, 100},
    {"Melpomne", 100, 100},
    {"Polyhymnia", 150, 100},
    {"Terpsichore", 50, 150},
    {"Thalia", 100, 150},
    {"Urania", 150, 150},
}};

const Station* station_at(int x, int y);

// The game's style sheet, served as /blood.css.
std::string_view blood_css();

// How a character's game page is drawn, so that the shapes the real game's pages take can be
// tried. Set with the form fields cells=classed|mixed|bare, chat=none|before|after,
// points=shown|empty, table=shown|none and walk=MS.
struct Look {
    // classed: every neighbourhood cell carries its class, as the real game's do
    // (TD.cityblock, TD.intersect, TD.street, TD.city); mixed: the blocks' cells are bare;
    // bare: no cell carries anything.
    enum class Cells { Classed, Mixed, Bare } cells = Cells::Classed;
    // A chat log of more than 32,767 characters before or after the neighbourhood; players'
    // lines stand in the text, in attributes, in comments and in a script.
    enum class Chat { None, Before, After } chat = Chat::None;
    // The countdown field "ap" shown empty rather than with the points left.
    bool empty_points = false;
    // No neighbourhood table at all, as on the game's pages away from the street.
    bool no_table = false;
    // When above 0: the page sends one of its own forms itself after this many milliseconds,
    // the next step of a walk (see walk_step), so that a browser showing it plays on its own.
    int walk_ms = 0;
};

inline constexpr int kMaxWalkMs = 600000;

// Sets the look's fields that the form gives; on a value it does not know nothing changes and
// the reason is returned.
std::optional<std::string> apply_look(std::string_view fields, Look& look);

struct Character {
    std::string name;
    int x = kStartX;
    int y = kStartY;
    int ap = kStartAp;
    Look look;
    // The last step was a transit ride.
    bool rode = false;
};

// The form body a walking page sends next: from a station one step off to the crossing
// south-east of it and back, then a ride to the following station; from elsewhere a step
// towards the nearest station; a rest when the points run out.
std::string walk_step(const Character& who);

// Who a request plays: the value of the login cookie, or the guest.
struct Login {
    std::string key;  // empty for the guest
    std::string name;
    bool guest() const { return key.empty(); }
};

// From the raw value of the "ip" cookie ("name#password", possibly %-encoded).
Login login_from_cookie(const std::optional<std::string>& raw);

// Reads a scrambled map file; with no path, an empty city. Records the loader refuses are
// skipped and counted in `refused`.
CityMap read_city(const std::optional<std::filesystem::path>& map_file, int& refused);

// The game's rules and pages. Every public call is safe from several threads at once.
class SandboxGame {
  public:
    // New characters, the guest included, start with `look`.
    SandboxGame(CityMap map, std::optional<std::filesystem::path> state_file, Look look = {});

    // The game page as a GET shows it.
    std::string page(const Login& login);
    // Applies a form post ("action=move&x=..&y=..", "action=transit&target=..", ...) and
    // answers with the game page.
    std::string post(const Login& login, std::string_view body);
    // Sets any of x, y and ap, and the look's fields, given in the body; on a value out of
    // range nothing changes and the reason is returned.
    std::optional<std::string> place(const Login& login, std::string_view body);
    // One line per character: name (blanks and controls %-encoded), x, y, ap.
    std::string state_text();

  private:
    Character& character(const Login& login);
    std::string act(Character& who, const Form& form, bool& changed);
    std::string render(const Character& who, bool guest, std::string_view message);
    std::string render_cell(const Character& who, int dx, int dy, bool& span_written);
    std::string place_name(int x, int y);
    std::string state_text_locked() const;
    void save_state();

    std::mutex mutex_;
    CityMap map_;
    Look look_;
    std::map<std::string, Character> characters_;
    std::optional<std::filesystem::path> state_file_;
    bool state_write_failed_ = false;
};

}  // namespace zeko::sandbox
