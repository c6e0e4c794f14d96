#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/conversions.h"

namespace zeko {

class ProgramState;

// How reading the countdown field of the page being left went.
struct CountdownRead {
    enum class Status { Value, MissingForm, Failed };
    Status status = Status::MissingForm;
    std::string value;
};

// Follows the current character: "Standard" reads the neighbourhood table of each game page,
// "Precognition" works the position out of a move or transit post before the page arrives.
// Both end in the minimap redraw given at construction.
class PositionTracker {
  public:
    static constexpr int kPollInterval = 150;  // ms between page reads

    PositionTracker(ProgramState& state, std::function<void()> build_map);

    // The page body's markup; true when a crossing was found and the position set.
    bool RIP_LOCATION(std::string T);
    // A crossing name ("AARDVARK AND 1ST") seen in neighbourhood cell 0..8.
    void SET_LOCATION(std::string_view S, int16_t cell);

    // After every finished document: the interval the page-read timer gets (150 or 0).
    int document_complete_interval() const;
    // One run of the page-read timer with the body it could read (none when there is no
    // document or body yet); returns the timer's next interval: 0 once the read succeeded,
    // 150 to try again.
    int read_timer(const std::optional<std::string>& body);

    // Before each navigation: post_bytes is the post body exactly as sent (8-bit),
    // precog_checked the check mark of "Precognition".
    void before_navigate(std::string_view post_bytes, const CountdownRead& countdown,
                         bool precog_checked);

    std::filesystem::path log_path() const;

    bool POSITION_PREDICTED = false;

  private:
    void append_log(std::string_view post);
    void predict_move(std::string_view post);
    void redraw();

    ProgramState& state_;
    std::function<void()> build_map_;
};

// The station a transit post goes to, by the post's beginning; none for other posts.
struct TransitStop {
    std::string_view literal;
    int16_t x;
    int16_t y;
};
std::optional<TransitStop> transit_stop_for(std::string_view post);

}  // namespace zeko
