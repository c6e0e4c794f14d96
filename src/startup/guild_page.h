#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/services.h"
#include "common/vb_array.h"
#include "map/guilds.h"

namespace zeko {

inline constexpr int kGuildCount = 15;
inline constexpr int16_t kFirstGuildCode = 105;

// Guild i (code 105 + i): its place name on the map, its name on the guild page, and its
// label in the progress log.
inline constexpr std::array<std::string_view, kGuildCount> DISPLAY_NAMES = {
    "Allurists: 1", "Allurists: 2",  "Allurists: 3",  "Empaths: 1",    "Empaths: 2",
    "Empaths: 3",   "Immolators: 1", "Immolators: 2", "Immolators: 3", "Thieves: 1",
    "Thieves: 2",   "Thieves: 3",    "Travellers: 1", "Travellers: 2", "Travellers: 3"};
inline constexpr std::array<std::string_view, kGuildCount> PAGE_NAMES = {
    "Allurist guild 1",   "Allurist guild 2",   "Allurist guild 3",   "Empaths guild 1",
    "Empaths guild 2",    "Empaths guild 3",    "Immolators guild 1", "Immolators guild 2",
    "Immolators guild 3", "Thieves guild 1",    "Thieves guild 2",    "Thieves guild 3",
    "Travellers guild 1", "Travellers guild 2", "Travellers guild 3"};
inline constexpr std::array<std::string_view, kGuildCount> LOG_LABELS = {
    "- Allurists 1:", "- Allurists 2:",  "- Allurists 3:",  "- Empaths 1:",    "- Empaths 2:",
    "- Empaths 3:",   "- Immolators 1:", "- Immolators 2:", "- Immolators 3:", "- Thieves 1:",
    "- Thieves 2:",   "- Thieves 3:",    "- Travellers 1:", "- Travellers 2:", "- Travellers 3:"};

inline constexpr std::string_view kGuildPagePath = "/cgi-bin/index.cgi";
// The window's title; the countdown is written directly behind it.
inline constexpr std::string_view kMapUpdateTitle = "Z.E.K.O.\xC2\xB2: Map Update...";

// Where a marker first occurs, in any letter case (the markers are plain ASCII); npos when
// it does not.
size_t find_nocase(std::string_view text, std::string_view marker);

// The page text with every line break as carriage return and line feed, as the rows' cut
// expects them; the engine's markup gives bare line feeds.
std::string crlf_line_breaks(std::string_view text);

// The time to the guilds' next move as the page states it, and the page text cut behind the
// hours figure. A figure beyond 16 bits raises Err::Overflow.
struct MoveTime {
    int16_t days = 0;
    int16_t hours = 0;
    int16_t minutes = 0;
    std::string rest;
};
MoveTime read_move_time(std::string_view text);

// Hour and minute of the day at which the guilds move, counted on from `now`; they may run
// past 23 and 59. Raises Err::Overflow beyond 16 bits.
struct MoveAt {
    int16_t MOVE_H = 0;
    int16_t MOVE_M = 0;
};
MoveAt move_at(const MoveTime& time, const LocalDateTime& now);

// The title while counting down: each part on its own, never carried into the next.
std::string countdown_title(const MoveAt& at, const LocalDateTime& now);

// The first table of the text, from "<TABLE" to the end of the "</TABLE>" after it.
std::string CUT_TABLE(std::string_view text);

// 105 + i for the display name of guild i (any letter case), else 0.
int16_t GUILD_CODE(std::string_view name);

// Reads the guild rows of a page into the guild table, remembering which guilds it found.
class GuildRows {
  public:
    explicit GuildRows(VbArray<GUILD>& guilds) : guilds_(guilds) {}

    // The display name of the guild the page calls `name` (whole text, any letter case),
    // marking it found; "Not Found" for any other name.
    std::string FIND_GUILD(std::string_view name);
    // Every row of the table text, which is used up.
    void PARSE_ROWS(std::string& text);
    void PARSE_ROW(std::string_view row);

    std::array<bool, kGuildCount> GUILD_FOUND{};

  private:
    VbArray<GUILD>& guilds_;
};

}  // namespace zeko
