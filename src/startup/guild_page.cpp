#include "startup/guild_page.h"

#include <algorithm>

#include "common/conversions.h"

namespace zeko {

namespace {

char upper_ascii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view after(std::string_view text, size_t at, size_t skip) {
    return at + skip >= text.size() ? std::string_view{} : text.substr(at + skip);
}

int16_t figure(std::string_view text) {
    return CInt(Val(text));
}

}  // namespace

// Positions are full-width: a guild page longer than 32,767 characters (a long header is
// enough) is read like any other instead of failing on a 16-bit position.
size_t find_nocase(std::string_view text, std::string_view marker) {
    const auto it = std::search(text.begin(), text.end(), marker.begin(), marker.end(),
                                [](char a, char b) { return upper_ascii(a) == upper_ascii(b); });
    return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

std::string crlf_line_breaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

MoveTime read_move_time(std::string_view text) {
    MoveTime t;
    for (std::string_view marker : {"<!-- header end -->", "Guilds are moving again in"}) {
        if (const size_t p = find_nocase(text, marker); p != std::string_view::npos)
            text = after(text, p, marker.size());
    }
    if (const size_t p = find_nocase(text, "days"); p != std::string_view::npos) {
        t.days = figure(text.substr(0, p));
        // The word and the ", " behind it.
        text = after(text, p, 6);
    }
    if (const size_t p = find_nocase(text, "H"); p != std::string_view::npos) {
        t.hours = figure(text.substr(0, p + 1));
        text = after(text, p, 1);
    }
    if (const size_t p = find_nocase(text, "MIN"); p != std::string_view::npos)
        t.minutes = figure(text.substr(0, p));
    t.rest = std::string(text);
    return t;
}

MoveAt move_at(const MoveTime& time, const LocalDateTime& now) {
    return {add16(add16(time.hours, now.hour), mul16(24, time.days)),
            add16(time.minutes, now.minute)};
}

std::string countdown_title(const MoveAt& at, const LocalDateTime& now) {
    return std::string(kMapUpdateTitle) + std::to_string(at.MOVE_H - now.hour) + ":" +
           std::to_string(at.MOVE_M - now.minute) + ":" + std::to_string(59 - now.second);
}

std::string CUT_TABLE(std::string_view text) {
    if (const size_t p = find_nocase(text, "<TABLE"); p != std::string_view::npos)
        text = text.substr(p);
    constexpr std::string_view kEnd = "</TABLE>";
    if (const size_t p = find_nocase(text, kEnd); p != std::string_view::npos)
        text = text.substr(0, p + kEnd.size());
    return std::string(text);
}

int16_t GUILD_CODE(std::string_view name) {
    const std::string wanted = UCase(name);
    for (int i = 0; i < kGuildCount; ++i) {
        if (UCase(DISPLAY_NAMES[static_cast<size_t>(i)]) == wanted)
            return static_cast<int16_t>(kFirstGuildCode + i);
    }
    return 0;
}

std::string GuildRows::FIND_GUILD(std::string_view name) {
    const std::string wanted = UCase(name);
    for (size_t i = 0; i < PAGE_NAMES.size(); ++i) {
        if (UCase(PAGE_NAMES[i]) == wanted) {
            GUILD_FOUND[i] = true;
            return std::string(DISPLAY_NAMES[i]);
        }
    }
    return "Not Found";
}

void GuildRows::PARSE_ROWS(std::string& text) {
    std::string row;
    while (true) {
        const size_t start = find_nocase(text, "<TR");
        if (start == std::string::npos) {
            text.clear();
            return;
        }
        // "<TR>" and the line break behind it.
        text = std::string(after(text, start, 6));
        if (const size_t end = find_nocase(text, "</TR"); end != std::string::npos) {
            row = text.substr(0, end);
            text.erase(0, end);
        }
        PARSE_ROW(row);
    }
}

void GuildRows::PARSE_ROW(std::string_view row) {
    if (find_nocase(row, "<TH>") != std::string_view::npos) return;
    GUILD record;
    if (const size_t p = find_nocase(row, "<TD>"); p != std::string_view::npos)
        row = after(row, p, 4);
    if (const size_t p = find_nocase(row, "</TD>"); p != std::string_view::npos) {
        record.NAME = FIND_GUILD(row.substr(0, p));
        row = after(row, p, 5);
    }
    if (const size_t p = find_nocase(row, "</TD>"); p != std::string_view::npos) {
        std::string_view cell = row.substr(0, p);
        row = after(row, p, 5);
        if (const size_t se = find_nocase(cell, "SE OF "); se != std::string_view::npos)
            cell = after(cell, se, 6);
        if (const size_t a = find_nocase(cell, " AND "); a != std::string_view::npos) {
            record.STREET_A = std::string(cell.substr(0, a));
            record.STREET_B = std::string(after(cell, a, 5));
        }
    }
    if (const size_t p = find_nocase(row, "</TD>"); p != std::string_view::npos)
        row = after(row, p, 5);
    if (const size_t p = find_nocase(row, "<TD>"); p != std::string_view::npos)
        row = after(row, p, 4);
    if (const size_t p = find_nocase(row, "</TD>"); p != std::string_view::npos)
        record.INFO = std::string(row.substr(0, p));
    const int16_t code = GUILD_CODE(record.NAME);
    if (code != 0) guilds_(code) = std::move(record);
}

}  // namespace zeko
