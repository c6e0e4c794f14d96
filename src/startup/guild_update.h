#pragma once

#include <cstdint>
#include <string>

#include "common/services.h"
#include "startup/guild_page.h"

namespace zeko {

// One guild update as the guild window runs it: the progress log with its spinner, the steps
// paced by the spinner's ticks once the page is verified, and the page text they cut.
class GuildUpdate {
  public:
    explicit GuildUpdate(VbArray<GUILD>& guilds) : rows_(guilds) {}

    // A window load: nothing running, nothing verified, nothing found.
    void load();
    // "Update Guilds": clears the run and starts it with "- Logging In".
    void start_run();
    // The page body has arrived: the move time is read from it and the text behind it kept.
    // Raises RuntimeError for a figure beyond 16 bits.
    void read_page(std::string_view body, const LocalDateTime& now);
    // The page is being verified: the log says so.
    void VERIFY_PAGE();
    // The verification delay has passed: the steps may run.
    void set_verified() { VERIFIED = true; }

    struct Tick {
        std::string shown;      // what the status box shows now
        bool finished = false;  // the last step ran: the spinner stops
    };
    // One spinner tick; `random` paces the steps.
    Tick STATUS_STEP(RandomSource& random);

    bool BUSY = false;
    bool VERIFIED = false;
    std::string STATUS_LOG;
    int16_t SPIN_PHASE = 0;
    int16_t STEP_TICKS = 0;
    int16_t NEXT_TICK = 0;
    int16_t STEP = 0;
    std::string PAGE_HTML;
    std::string TABLE_HTML;
    MoveAt MOVE{};
    bool move_known = false;

    const std::array<bool, kGuildCount>& GUILD_FOUND() const { return rows_.GUILD_FOUND; }

  private:
    void run_step(int16_t step);

    GuildRows rows_;
};

// Line breaks of the log.
inline constexpr std::string_view kLogBreak = "\r\n";

}  // namespace zeko
