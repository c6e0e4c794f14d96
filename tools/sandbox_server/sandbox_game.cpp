#include "sandbox_game.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace zeko::sandbox {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGuestName = "(guest)";
constexpr size_t kMaxMapBytes = 1 << 20;

constexpr std::array<std::string_view, 9> kDirections{"NW", "N",  "NE", "W", "",
                                                      "E",  "SW", "S",  "SE"};

constexpr std::string_view kPageHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\">\n"
    "<html>\n<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    "<title>Vampires! - Sandbox</title>\n"
    "<link rel=\"stylesheet\" href=\"blood.css\">\n"
    "</head>\n";

bool on_grid(int x, int y) {
    return x >= 0 && x <= kMaxCoord && y >= 0 && y <= kMaxCoord;
}
bool odd(int v) {
    return v % 2 != 0;
}

std::string hidden(std::string_view name, std::string_view value) {
    return "<input type=\"hidden\" name=\"" + std::string(name) + "\" value=\"" +
           html_escape(value) + "\">";
}

// The submit buttons carry no name, so the posted body holds the hidden fields only.
std::string submit(std::string_view caption) {
    return "<input type=\"submit\" value=\"" + html_escape(caption) + "\">";
}

std::string post_form(std::string_view fields, std::string_view caption) {
    return "<form method=\"post\" action=\"blood.pl\">" + std::string(fields) + submit(caption) +
           "</form>";
}

// Over 32,767 characters of talk; one player writes a neighbourhood row of his own wherever
// his text goes, escaped as each place asks.
std::string chat_log() {
    static const std::string_view kLines[] = {
        "Anyone seen the Peace Keepers near Ragweed?",
        "Selling a silver crucifix & garlic, cheap > 100 coins",
        "brb, feeding at the Lounge",
        "Who bit me while I slept?! <_<",
    };
    static const std::string_view kNames[] = {"Orlok", "Carmilla", "Lestat", "Varney"};
    constexpr std::string_view kPrank =
        "<tr><td><span class=intersect>Zestless and 100th</span></td></tr>";
    std::string h = "<div class=\"chat\">\n";
    for (size_t n = 0; h.size() < 40000; ++n) {
        const std::string name(kNames[n % 4]);
        const std::string line(kLines[n % 4]);
        h += "<p class=\"said\"><span class=\"who\" title=\"" +
             html_escape(name + " says: " + line) + "\">" + name + "</span>: " + html_escape(line) +
             "</p>\n";
    }
    const std::string prank(kPrank);
    h += "<p class=\"said\"><span class=\"who\" title=\"" + html_escape(prank) +
         "\">Prankster</span>: <img alt=\"" + html_escape(prank) + "\" src=\"smile.gif\"> " +
         html_escape(prank) + "<!-- said by Prankster: " + comment_escape(prank) +
         " --><script>var lastSaid = \"" + script_string_escape(prank) + "\";</script></p>\n";
    return h + "</div>\n";
}

}  // namespace

std::optional<std::string> apply_look(std::string_view fields, Look& look) {
    const Form form = parse_form(fields);
    Look changed = look;
    if (const auto v = form_value(form, "cells")) {
        if (*v == "classed")
            changed.cells = Look::Cells::Classed;
        else if (*v == "mixed")
            changed.cells = Look::Cells::Mixed;
        else if (*v == "bare")
            changed.cells = Look::Cells::Bare;
        else
            return std::string("cells must be classed, mixed or bare");
    }
    if (const auto v = form_value(form, "chat")) {
        if (*v == "none")
            changed.chat = Look::Chat::None;
        else if (*v == "before")
            changed.chat = Look::Chat::Before;
        else if (*v == "after")
            changed.chat = Look::Chat::After;
        else
            return std::string("chat must be none, before or after");
    }
    if (const auto v = form_value(form, "points")) {
        if (*v != "shown" && *v != "empty") return std::string("points must be shown or empty");
        changed.empty_points = *v == "empty";
    }
    if (const auto v = form_value(form, "table")) {
        if (*v != "shown" && *v != "none") return std::string("table must be shown or none");
        changed.no_table = *v == "none";
    }
    if (const auto v = form_value(form, "walk")) {
        const auto ms = parse_int(*v);
        if (!ms || *ms < 0 || *ms > kMaxWalkMs) {
            return "walk must be a number of milliseconds from 0 to " + std::to_string(kMaxWalkMs);
        }
        changed.walk_ms = *ms;
    }
    look = changed;
    return std::nullopt;
}

const Station* station_at(int x, int y) {
    for (const Station& s : kStations) {
        if (s.x == x && s.y == y) return &s;
    }
    return nullptr;
}

std::string walk_step(const Character& who) {
    if (who.ap <= 1) return "action=rest";
    const auto move = [](int x, int y) {
        return "action=move&x=" + std::to_string(x) + "&y=" + std::to_string(y);
    };
    for (size_t i = 0; i < kStations.size(); ++i) {
        const Station& s = kStations[i];
        if (who.x == s.x && who.y == s.y) {
            if (who.rode) return move(s.x + 1, s.y + 1);
            const Station& next = kStations[(i + 1) % kStations.size()];
            return "action=transit&target=" + std::string(next.name) + "+Station";
        }
        if (who.x == s.x + 1 && who.y == s.y + 1) return move(s.x, s.y);
    }
    const Station* nearest = &kStations[0];
    const auto distance = [&](const Station& s) {
        return std::max(std::abs(s.x - who.x), std::abs(s.y - who.y));
    };
    for (const Station& s : kStations) {
        if (distance(s) < distance(*nearest)) nearest = &s;
    }
    const auto toward = [](int from, int to) { return from + (to > from) - (to < from); };
    return move(toward(who.x, nearest->x), toward(who.y, nearest->y));
}

Login login_from_cookie(const std::optional<std::string>& raw) {
    if (!raw) return {};
    const std::string decoded = percent_decode(*raw, false);
    if (decoded.empty() || decoded.size() > kMaxCookieBytes) return {};
    Login login;
    login.key = printable_utf8(decoded);
    login.name = login.key.substr(0, login.key.find('#'));
    if (login.name.empty()) return {};
    return login;
}

CityMap read_city(const std::optional<fs::path>& map_file, int& refused) {
    refused = 0;
    CityMap city(map_file ? map_file->parent_path() : fs::path{});
    // Lookups must never run the program's own loader, which would create a file.
    city.MAP_LOADED = true;
    if (map_file) {
        std::error_code ec;
        const auto size = fs::file_size(*map_file, ec);
        if (ec) throw std::runtime_error("cannot read the map file " + map_file->string());
        if (size > kMaxMapBytes) throw std::runtime_error("the map file is too large");
        std::ifstream in(*map_file, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in && !in.eof()) throw std::runtime_error("cannot read the map file");
        unscramble_map(text);
        const std::string_view view(text);
        constexpr std::string_view kMark = "/\\/";
        size_t pos = 0;
        for (size_t mark = view.find(kMark); mark != std::string_view::npos;
             mark = view.find(kMark, pos)) {
            try {
                city.PARSE_MAP_RECORD(view.substr(pos, mark - pos));
            } catch (const std::exception&) {
                ++refused;
            }
            pos = mark + kMark.size();
        }
    }
    // As in the program, the built-in names win over the file's.
    city.INIT_NAMES();
    return city;
}

SandboxGame::SandboxGame(CityMap map, std::optional<fs::path> state_file, Look look)
    : map_(std::move(map)), look_(look), state_file_(std::move(state_file)) {
    characters_[""].name = kGuestName;
    characters_[""].look = look_;
    save_state();
}

Character& SandboxGame::character(const Login& login) {
    if (!login.guest()) {
        auto it = characters_.find(login.key);
        if (it != characters_.end()) return it->second;
        if (characters_.size() < kMaxCharacters) {
            Character& fresh = characters_[login.key];
            fresh.name = login.name;
            fresh.look = look_;
            save_state();
            return fresh;
        }
    }
    return characters_[""];
}

std::string SandboxGame::page(const Login& login) {
    std::lock_guard lock(mutex_);
    Character& who = character(login);
    return render(who, &who == &characters_[""], {});
}

std::string SandboxGame::post(const Login& login, std::string_view body) {
    std::lock_guard lock(mutex_);
    Character& who = character(login);
    bool changed = false;
    const std::string message = act(who, parse_form(body), changed);
    if (changed) save_state();
    return render(who, &who == &characters_[""], message);
}

std::string SandboxGame::act(Character& who, const Form& form, bool& changed) {
    const std::string action = form_value(form, "action").value_or("");
    if (same_ignoring_case(action, "move")) {
        if (who.ap <= 0) return "You have no action points left.";
        const auto x = parse_int(form_value(form, "x").value_or(""));
        const auto y = parse_int(form_value(form, "y").value_or(""));
        // On the grid first, so the differences below cannot overflow.
        if (!x || !y || !on_grid(*x, *y)) return "You cannot move there.";
        const int dx = *x - who.x;
        const int dy = *y - who.y;
        if ((dx == 0 && dy == 0) || dx < -1 || dx > 1 || dy < -1 || dy > 1) {
            return "You cannot move there.";
        }
        who.x = *x;
        who.y = *y;
        --who.ap;
        who.rode = false;
        changed = true;
        return {};
    }
    if (same_ignoring_case(action, "transit")) {
        if (who.ap <= 0) return "You have no action points left.";
        if (!station_at(who.x, who.y)) return "There is no transit station here.";
        const std::string target = form_value(form, "target").value_or("");
        for (const Station& s : kStations) {
            const std::string full = std::string(s.name) + " Station";
            if (!same_ignoring_case(target, full)) continue;
            who.x = s.x;
            who.y = s.y;
            --who.ap;
            who.rode = true;
            changed = true;
            return "You ride the transit to " + full + ".";
        }
        return "There is no such station.";
    }
    if (same_ignoring_case(action, "rest")) {
        who.ap = kStartAp;
        changed = true;
        return "You rest a while and feel refreshed.";
    }
    return "Nothing happens.";
}

std::optional<std::string> SandboxGame::place(const Login& login, std::string_view body) {
    const Form form = parse_form(body);
    auto field = [&](std::string_view key, int low, int high,
                     std::optional<int>& out) -> std::optional<std::string> {
        const auto text = form_value(form, key);
        if (!text) return std::nullopt;
        out = parse_int(*text);
        if (!out || *out < low || *out > high) {
            return std::string(key) + " must be a number from " + std::to_string(low) + " to " +
                   std::to_string(high);
        }
        return std::nullopt;
    };
    std::optional<int> x, y, ap;
    if (auto bad = field("x", 0, kMaxCoord, x)) return bad;
    if (auto bad = field("y", 0, kMaxCoord, y)) return bad;
    if (auto bad = field("ap", 0, kMaxAp, ap)) return bad;

    std::lock_guard lock(mutex_);
    Character& who = character(login);
    if (auto bad = apply_look(body, who.look)) return bad;
    if (x) who.x = *x;
    if (y) who.y = *y;
    if (ap) who.ap = *ap;
    save_state();
    return std::nullopt;
}

std::string SandboxGame::state_text() {
    std::lock_guard lock(mutex_);
    return state_text_locked();
}

std::string SandboxGame::state_text_locked() const {
    std::string text;
    for (const auto& [key, c] : characters_) {
        text += percent_encode_unsafe(c.name) + " " + std::to_string(c.x) + " " +
                std::to_string(c.y) + " " + std::to_string(c.ap) + "\n";
    }
    return text;
}

// Written whole and renamed into place, so a reader never sees half a file.
void SandboxGame::save_state() {
    if (!state_file_) return;
    fs::path temp = *state_file_;
    temp += ".tmp";
    bool ok = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << state_text_locked();
        out.close();
        ok = static_cast<bool>(out);
    }
    std::error_code ec;
    if (ok) fs::rename(temp, *state_file_, ec);
    if ((!ok || ec) && !state_write_failed_) {
        state_write_failed_ = true;
        std::cerr << "sandbox_server: cannot write the state file " << state_file_->string()
                  << "\n";
    }
}

std::string SandboxGame::render(const Character& who, bool guest, std::string_view message) {
    std::string h(kPageHead);
    h += "<body>\n<h1>Vampires! <span class=\"sandbox\">sandbox</span></h1>\n";
    if (guest) {
        h += "<p class=\"greeting\">Welcome to the city! You are playing as a guest.</p>\n";
    } else {
        h += "<p class=\"greeting\">Welcome, " + html_escape(who.name) + "!</p>\n";
    }
    if (!message.empty()) h += "<p class=\"message\">" + html_escape(message) + "</p>\n";

    // The companion program reads the first three rows of the page as the neighbourhood, so
    // this table is the first and its rows carry no attributes; the chat has no rows of its own.
    if (who.look.chat == Look::Chat::Before) h += chat_log();
    if (!who.look.no_table) {
        h += "<table class=\"map\">\n";
        bool span_written = false;
        for (int dy = -1; dy <= 1; ++dy) {
            h += "<tr>\n";
            for (int dx = -1; dx <= 1; ++dx) {
                h += render_cell(who, dx, dy, span_written) + "\n";
            }
            h += "</tr>\n";
        }
        h += "</table>\n";
    }
    if (who.look.chat == Look::Chat::After) h += chat_log();

    const Station* station = station_at(who.x, who.y);
    const std::string here = place_name(who.x, who.y);
    h += "<p class=\"where\">You are at " + std::to_string(who.x) + ", " + std::to_string(who.y);
    if (!here.empty()) h += ", at " + html_escape(here);
    h += ".</p>\n";

    h += "<form name=\"countdn\" action=\"blood.pl\" method=\"get\" onsubmit=\"return false;\">\n"
         "<p class=\"ap\">Action points: <input type=\"text\" name=\"ap\" value=\"" +
         (who.look.empty_points ? std::string() : std::to_string(who.ap)) +
         "\" size=\"4\" readonly></p>\n</form>\n";

    if (station) {
        h += "<div class=\"transit\">\n<p>Ride the transit to:</p>\n";
        for (const Station& s : kStations) {
            const std::string full = std::string(s.name) + " Station";
            h += post_form(hidden("action", "transit") + hidden("target", full), s.name);
            h += "\n";
        }
        h += "</div>\n";
    }

    h += "<div class=\"rest\">" + post_form(hidden("action", "rest"), "Rest") + "</div>\n";
    h += "<p class=\"links\"><a href=\"blood.pl?action=welcome\">Refresh</a></p>\n";
    if (who.look.walk_ms > 0) {
        // Sent like a click on the form's button, so the browser sees an ordinary form post.
        // The wait runs in a worker: a page that is not on screen has its own timers held
        // back to one a second. The window holds the worker, or it could be collected before
        // its message comes.
        h += "<script>(function () {\n"
             "  var want = \"" +
             walk_step(who) +
             "\";\n"
             "  var wait = window.walkWait = new Worker(URL.createObjectURL(new "
             "Blob([\"setTimeout(function () "
             "{ postMessage(0); }, " +
             std::to_string(who.look.walk_ms) +
             ");\"])));\n"
             "  wait.onmessage = function () {\n"
             "    for (var i = 0; i < document.forms.length; ++i) {\n"
             "      var f = document.forms[i];\n"
             "      if (new URLSearchParams(new FormData(f)).toString() === want) {\n"
             "        f.requestSubmit();\n"
             "        return;\n"
             "      }\n"
             "    }\n"
             "  };\n"
             "})();</script>\n";
    }
    h += "</body>\n</html>\n";
    return h;
}

// What stands on a block: the map's name, or the station's own when the map has none.
std::string SandboxGame::place_name(int x, int y) {
    if (odd(x) || odd(y) || x < 0 || y < 0 || x > 200 || y > 200) return {};
    const int16_t code = map_.cell(x, y);
    std::string name = code != 0 ? map_.PLACE_NAME(code) : std::string();
    // The game shows a station block as "<name> Station"; the map keeps the bare name.
    if (const Station* s = station_at(x, y)) {
        if (name.empty()) name = s->name;
        name += " Station";
    }
    return name;
}

std::string SandboxGame::render_cell(const Character& who, int dx, int dy, bool& span_written) {
    const int x = who.x + dx;
    const int y = who.y + dy;
    const bool centre = dx == 0 && dy == 0;
    std::string kind;
    std::string label;
    std::string td_class;  // the game's class of the cell

    if (x > kMaxCoord || y > kMaxCoord) {
        kind = "limits";
        td_class = "city";
        label = "City limits";
    } else if (odd(x) && odd(y)) {
        // Crossing (2i - 1, 2j - 1) of X street i and Y street j; -1 is the city limit street.
        kind = "crossing";
        td_class = "intersect";
        const std::string names =
            map_.STREET_NAME_X((x + 1) / 2) + " and " + map_.STREET_NAME_Y((y + 1) / 2);
        // Only the first crossing is marked: the program takes its position from that one.
        if (!span_written) {
            label = "<span class=\"intersect\">" + html_escape(names) + "</span>";
            span_written = true;
        } else {
            label = "<span class=\"street\">" + html_escape(names) + "</span>";
        }
    } else if (odd(x)) {
        kind = td_class = "street";
        label =
            "<span class=\"street\">" + html_escape(map_.STREET_NAME_X((x + 1) / 2)) + "</span>";
    } else if (odd(y)) {
        kind = td_class = "street";
        label =
            "<span class=\"street\">" + html_escape(map_.STREET_NAME_Y((y + 1) / 2)) + "</span>";
    } else {
        kind = "block";
        td_class = "cityblock";
        const std::string name = place_name(x, y);
        if (!name.empty()) label = "<span class=\"place\">" + html_escape(name) + "</span>";
    }

    const bool bare = who.look.cells == Look::Cells::Bare ||
                      (who.look.cells == Look::Cells::Mixed && kind == "block");
    std::string cell = bare ? "<td>" : "<td class=\"" + td_class + "\">";
    cell += "<div class=\"cell " + kind + (centre ? " here" : "") + "\">";
    cell += "<div class=\"coords\">" + std::to_string(x) + ", " + std::to_string(y) + "</div>";
    cell += "<div class=\"label\">" + label + "</div>";
    if (centre) {
        cell += "<div class=\"you\">You are here</div>";
    } else if (on_grid(x, y)) {
        const std::string_view dir = kDirections[static_cast<size_t>((dy + 1) * 3 + (dx + 1))];
        cell += post_form(hidden("action", "move") + hidden("x", std::to_string(x)) +
                              hidden("y", std::to_string(y)),
                          "Move " + std::string(dir));
    }
    cell += "</div></td>";
    return cell;
}

}  // namespace zeko::sandbox
