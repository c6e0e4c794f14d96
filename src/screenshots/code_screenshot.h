#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/file_layer.h"
#include "common/services.h"
#include "map/settings.h"

namespace zeko {

class ProgramState;

enum class ShotOutcome { Written, RefusedHeader, AllNamesTaken, Failed };

struct ShotResult {
    ShotOutcome outcome = ShotOutcome::Failed;
    // The file written, when one was.
    std::filesystem::path path;
    // Why nothing was written, as the player is told; empty when written.
    std::string reason;
};

// Writes `bytes` as a new file of the folder, named by the record with the first free number
// of the day. An existing file is never replaced, not even one that appears while the file is
// being written; a file that could not be written whole does not stay under a shot's name.
ShotResult write_new_shot(FileLayer& files, const std::filesystem::path& folder,
                          const PIC_CONFIG& pic, int kind, Clock& clock, std::string_view bytes);

inline constexpr std::string_view kShotNotWrittenTitle = "Screen shot not written...";

// `codeSCREENSHOT`: the three kinds of file, named by the settings and written into the
// program's folder. A shot that cannot be written is told about in a box (except when the
// day's names are all taken); nothing is said when it is.
class CodeScreenshot {
  public:
    explicit CodeScreenshot(ProgramState& state) : state_(state) {}

    // The dumps of the game page's body markup (UTF-8; the file holds Windows-1252).
    ShotResult SNAPSHOT_HTML(std::string_view body);
    ShotResult SNAPSHOT_HTML_CSS(std::string_view body);
    // The snap shot's picture, top row first, R G B bytes per pixel.
    ShotResult save_snapshot(int width, int height, std::span<const uint8_t> rgb, size_t stride);

  private:
    ShotResult write(int kind, std::string_view bytes);

    ProgramState& state_;
};

}  // namespace zeko
