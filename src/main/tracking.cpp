#include "main/tracking.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "common/errors.h"
#include "common/files.h"
#include "main/program_state.h"

namespace zeko {

namespace {

constexpr std::array<TransitStop, 9> kTransit = {{
    {"action=transit&target=Calliope+Station", 50, 50},
    {"action=transit&target=Clio+Station", 100, 50},
    {"action=transit&target=Erato+Station", 150, 50},
    {"action=transit&target=euterpe+Station", 50, 100},
    {"action=transit&target=melpomne+Station", 100, 100},
    {"action=transit&target=polyhymnia+Station", 150, 100},
    {"action=transit&target=terpsichore+Station", 50, 150},
    {"action=transit&target=thalia+Station", 100, 150},
    {"action=transit&target=urania+Station", 150, 150},
}};

// Post bodies are 8-bit text; only ASCII letters matter to the comparisons.
std::string upper_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

// 1-based text operations of the page read. find gives 0 when the text is not there.
size_t find(std::string_view t, std::string_view l) {
    size_t p = t.find(l);
    return p == std::string_view::npos ? 0 : p + 1;
}

// Keeps the Len(T) - p characters that begin at position p (the last one drops out; nothing
// depends on it).
std::string cut(std::string_view t, size_t p) {
    if (p < 1 || p > t.size()) return {};
    return std::string(t.substr(p - 1, t.size() - p));
}

std::string first(std::string_view t, size_t n) {
    return std::string(t.substr(0, n));
}

// The countdown as the comparison with 0 takes it: a decimal number filling the whole text
// (blanks around it allowed). Anything else, the empty text included, cannot be compared.
std::optional<double> points_value(std::string_view text) {
    size_t i = 0;
    const auto digits = [&] {
        const size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - from;
    };
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i != text.size()) return std::nullopt;
    return Val(text);
}

}  // namespace

std::optional<TransitStop> transit_stop_for(std::string_view post) {
    for (const TransitStop& stop : kTransit) {
        if (post.size() < stop.literal.size()) continue;
        if (upper_ascii(post.substr(0, stop.literal.size())) == upper_ascii(stop.literal))
            return stop;
    }
    return std::nullopt;
}

PositionTracker::PositionTracker(ProgramState& state, std::function<void()> build_map)
    : state_(state), build_map_(std::move(build_map)) {}

std::filesystem::path PositionTracker::log_path() const {
    return resolve_in_folder(state_.folder(), "POSTDATA.txt");
}

bool PositionTracker::RIP_LOCATION(std::string T) {
    // Game pages with a long chat log run far past 32,767 characters; every length is read.
    T = UCase(T);
    if (size_t p = find(T, "<TR>")) T = cut(T, p);

    std::array<std::string, 3> rows;
    for (auto& row : rows) {
        if (size_t p = find(T, "</TR>")) {
            size_t q = p + 5;
            row = first(T, q);
            T = cut(T, q);
        }
    }

    std::array<std::string, 9> cells;
    size_t k = 0;
    for (std::string R : rows) {
        for (int i = 0; i < 3; ++i) {
            // A bare "<TD>" moves the start up to it; the cell runs to the next "</TD>" either
            // way, so cells with attributes (the game's TD.cityblock and the like) are read too.
            if (size_t p = find(R, "<TD>")) R = cut(R, p);
            if (size_t p = find(R, "</TD>")) {
                size_t q = p + 5;
                cells[k] = first(R, q);
                R = cut(R, q);
            }
            ++k;
        }
    }

    constexpr std::string_view kSpan = "<SPAN CLASS=INTERSECT>";
    for (size_t j = 0; j < cells.size(); ++j) {
        const std::string& cell = cells[j];
        if (cell.size() <= kSpan.size()) continue;
        for (size_t p = 1; p + kSpan.size() <= cell.size(); ++p) {
            if (std::string_view(cell).substr(p - 1, kSpan.size()) != kSpan) continue;
            std::string S = cut(cell, p);
            if (size_t p2 = find(S, "INTERSECT>")) S = cut(S, p2 + 10);
            if (size_t p3 = find(S, "</SPAN>")) S = first(S, p3 - 1);
            if (S.empty()) return false;
            SET_LOCATION(S, static_cast<int16_t>(j));
            return true;
        }
    }
    return false;
}

void PositionTracker::SET_LOCATION(std::string_view S, int16_t cell) {
    std::string A, B;
    if (size_t p = find(S, " AND ")) {
        A = first(S, p - 1);
        B = std::string(S.substr(p + 4));
    }
    int16_t xi = state_.map.STREET_INDEX_X(A);
    int16_t yi = state_.map.STREET_INDEX_Y(B);
    VAMP& v = state_.db.current();
    v.POS_X = sub16(xi, cell % 3);
    v.POS_Y = sub16(yi, cell / 3);
    build_map_();
}

int PositionTracker::document_complete_interval() const {
    return (state_.settings.SETTINGS.AUTONAV_STANDARD == kTrue && !POSITION_PREDICTED)
               ? kPollInterval
               : 0;
}

int PositionTracker::read_timer(const std::optional<std::string>& body) {
    if (!body) return kPollInterval;
    try {
        return RIP_LOCATION(*body) ? 0 : kPollInterval;
    } catch (...) {
        return kPollInterval;
    }
}

void PositionTracker::append_log(std::string_view post) {
    std::string entry = "\"";
    entry += post;
    entry += "\r\n\"\r\n";
    // Every form the player sends lands here, some of them private: owner only. An entry is
    // written whole or not at all; a failure is left to the caller, and the prediction goes
    // on without the log.
    append_whole(state_.files(), log_path(), entry, 0600);
}

void PositionTracker::predict_move(std::string_view post) {
    POSITION_PREDICTED = true;
    std::string Q(post.substr(12));
    // F ends before the last "&" of Q (none: F stays empty).
    const size_t last_amp = Q.rfind('&');
    std::string F = last_amp == std::string::npos ? std::string() : first(Q, last_amp);
    std::string G = F.size() + 1 <= Q.size() ? Q.substr(F.size() + 1) : std::string();
    // A piece too short to lose its key and "=" keeps its text.
    if (F.size() >= 2) F = F.substr(2);
    if (G.size() >= 2) G = G.substr(2);
    // Each step stands alone: a coordinate out of range leaves that coordinate as it was.
    attempt([&] { state_.db.current().POS_X = CInt(Val(F)); });
    attempt([&] { state_.db.current().POS_Y = CInt(Val(G)); });
    redraw();
}

void PositionTracker::redraw() {
    // A failing redraw must not stop the navigation.
    attempt(build_map_);
}

void PositionTracker::before_navigate(std::string_view P, const CountdownRead& countdown,
                                      bool precog_checked) {
    POSITION_PREDICTED = false;
    if (!precog_checked) return;
    if (P.empty()) return;

    if (countdown.status != CountdownRead::Status::MissingForm) {
        // Only a number of 0 or less stops here; a countdown that is no number fails the
        // comparison, which is skipped like any failing step of this handler.
        if (countdown.status == CountdownRead::Status::Value) {
            const auto points = points_value(countdown.value);
            if (points && *points <= 0) return;
        }
        attempt([&] { append_log(P); });
    }

    if (P.size() >= 12 && upper_ascii(P.substr(0, 12)) == "ACTION=MOVE&") {
        predict_move(P);
        return;
    }
    if (auto stop = transit_stop_for(P)) {
        POSITION_PREDICTED = true;
        attempt([&] {
            VAMP& v = state_.db.current();
            v.POS_X = stop->x;
            v.POS_Y = stop->y;
        });
        redraw();
    }
}

}  // namespace zeko
