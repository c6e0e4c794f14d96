#include "startup/guild_update.h"

#include <array>

#include "common/conversions.h"

namespace zeko {

namespace {

constexpr std::array<std::string_view, 4> kSpinner = {" |", " /", " -", " \\"};
constexpr int16_t kLastStep = 32;

}  // namespace

void GuildUpdate::load() {
    BUSY = false;
    VERIFIED = false;
    rows_.GUILD_FOUND.fill(false);
}

void GuildUpdate::start_run() {
    STEP = 0;
    STEP_TICKS = 0;
    NEXT_TICK = 0;
    SPIN_PHASE = 0;
    VERIFIED = false;
    rows_.GUILD_FOUND.fill(false);
    BUSY = true;
    STATUS_LOG = "- Logging In";
}

void GuildUpdate::read_page(std::string_view body, const LocalDateTime& now) {
    MoveTime time = read_move_time(body);
    MOVE = move_at(time, now);
    move_known = true;
    PAGE_HTML = std::move(time.rest);
}

void GuildUpdate::VERIFY_PAGE() {
    STATUS_LOG += std::string(kLogBreak) + "- Verifying Page";
}

GuildUpdate::Tick GuildUpdate::STATUS_STEP(RandomSource& random) {
    Tick tick{STATUS_LOG + std::string(kSpinner[static_cast<size_t>(SPIN_PHASE)]), false};
    SPIN_PHASE = static_cast<int16_t>((SPIN_PHASE + 1) % 4);
    if (!VERIFIED) return tick;
    if (STEP_TICKS == NEXT_TICK) {
        NEXT_TICK = add16(NEXT_TICK, static_cast<int32_t>(Int(5.0 * random.next())) + 1);
        STEP = add16(STEP, 1);
        run_step(STEP);
        if (STEP == kLastStep) {
            STEP_TICKS = 0;
            NEXT_TICK = 0;
            SPIN_PHASE = 0;
            BUSY = false;
            return {STATUS_LOG, true};
        }
    }
    STEP_TICKS = add16(STEP_TICKS, 1);
    return tick;
}

void GuildUpdate::run_step(int16_t step) {
    const std::string br(kLogBreak);
    if (step == 1) {
        STATUS_LOG += " [DONE]" + br + "- Obtaining Guild Information...";
        TABLE_HTML = CUT_TABLE(PAGE_HTML);
    } else if (step == 2) {
        rows_.PARSE_ROWS(TABLE_HTML);
        STATUS_LOG += br + std::string(LOG_LABELS[0]);
    } else if (step < kLastStep && step % 2 == 1) {
        STATUS_LOG +=
            rows_.GUILD_FOUND[static_cast<size_t>((step - 3) / 2)] ? " Found" : " Not Found";
    } else if (step < kLastStep) {
        STATUS_LOG += br + std::string(LOG_LABELS[static_cast<size_t>((step - 2) / 2)]);
    } else if (step == kLastStep) {
        STATUS_LOG += br + "DONE...";
    }
}

}  // namespace zeko
