#include "screenshots/code_screenshot.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "common/codepage.h"
#include "common/prompts.h"
#include "main/program.h"
#include "main/program_state.h"
#include "screenshots/bitmap_file.h"
#include "screenshots/page_dump.h"
#include "screenshots/shot_names.h"

namespace zeko {

namespace fs = std::filesystem;

namespace {

constexpr mode_t kShotMode = 0644;
constexpr std::string_view kScratchPrefix = ".zeko-shot-";

ShotResult not_written(ShotOutcome outcome, std::string reason) {
    ShotResult r;
    r.outcome = outcome;
    r.reason = std::move(reason);
    return r;
}

ShotResult written(const fs::path& path) {
    ShotResult r;
    r.outcome = ShotOutcome::Written;
    r.path = path;
    return r;
}

std::string could_not_write(int kind, int errno_value) {
    return "The " + std::string(shot_kind_label(kind)) +
           " could not be written into the program's folder (" + std::strerror(errno_value) +
           "). Nothing was saved.";
}

// Writes the whole file and makes it durable; 0 or the errno of the step that failed.
int write_whole(FileLayer& files, int fd, std::string_view bytes) {
    size_t done = 0;
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    const int error = files.write(fd, data, 0, done);
    return error != 0 ? error : files.sync(fd);
}

// Creates a scratch file of a name no other file has; 0 or the errno.
int make_scratch(FileLayer& files, const fs::path& folder, fs::path& scratch, int& fd) {
    constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        std::string name(kScratchPrefix);
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick() % kLetters.size()];
        scratch = folder / name;
        error = files.open(scratch, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600, fd);
    }
    return error;
}

// Hard links are the way to give a finished file its name without replacing one; a file
// system without them gets the file created under its name, exclusively, and removed again
// when the write fails.
bool links_unsupported(int errno_value) {
    return errno_value == EPERM || errno_value == ENOTSUP || errno_value == EOPNOTSUPP ||
           errno_value == EXDEV || errno_value == EMLINK;
}

}  // namespace

ShotResult write_new_shot(FileLayer& files, const fs::path& folder, const PIC_CONFIG& pic, int kind,
                          Clock& clock, std::string_view bytes) {
    const std::string refused = refused_header_character(pic.header());
    if (!refused.empty())
        return not_written(ShotOutcome::RefusedHeader,
                           refused_header_text(kind, refused, /*typed=*/false));

    // The whole file is written under a scratch name first, so that a shot's name only ever
    // stands for a complete file.
    fs::path scratch;
    int fd = -1;
    if (const int error = make_scratch(files, folder, scratch, fd))
        return not_written(ShotOutcome::Failed, could_not_write(kind, error));
    files.chmod(fd, kShotMode);
    int error = write_whole(files, fd, bytes);
    const int close_error = files.close(fd);
    if (error == 0) error = close_error;
    if (error != 0) {
        files.remove(scratch);
        return not_written(ShotOutcome::Failed, could_not_write(kind, error));
    }

    for (int number = 0; number <= kLastShotNumber; ++number) {
        // The date is read for every number, so a shot taken over midnight starts the new day.
        const std::string name = SHOT_NAME(pic, kind, clock.now(), number);
        const fs::path path = folder / name;
        if (path.filename() != name || path.parent_path() != folder) continue;
        // Giving the finished file its name is the look whether the name is free: the link
        // fails on any entry of that name, also one made a moment ago.
        const int link_error = files.link(scratch, path);
        if (link_error == 0) {
            files.remove(scratch);
            return written(path);
        }
        if (link_error == EEXIST) continue;
        if (!links_unsupported(link_error)) {
            files.remove(scratch);
            return not_written(ShotOutcome::Failed, could_not_write(kind, link_error));
        }
        int out = -1;
        const int open_error =
            files.open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, kShotMode, out);
        if (open_error == EEXIST) continue;
        int write_error = open_error;
        if (write_error == 0) {
            write_error = write_whole(files, out, bytes);
            const int out_close = files.close(out);
            if (write_error == 0) write_error = out_close;
            if (write_error != 0) files.remove(path);
        }
        files.remove(scratch);
        if (write_error != 0)
            return not_written(ShotOutcome::Failed, could_not_write(kind, write_error));
        return written(path);
    }
    files.remove(scratch);
    return not_written(ShotOutcome::AllNamesTaken,
                       "All 10,000 names of today for the " + std::string(shot_kind_label(kind)) +
                           " are taken, up to \"" +
                           SHOT_NAME(pic, kind, clock.now(), kLastShotNumber) +
                           "\". Nothing was written; please move older files out of the "
                           "program's folder or change the header.");
}

ShotResult CodeScreenshot::SNAPSHOT_HTML(std::string_view body) {
    const std::string url = style_sheet_url(GAME_URL(state_));
    return write(kHtmlDump, to_cp1252(html_dump_text(body, url)));
}

ShotResult CodeScreenshot::SNAPSHOT_HTML_CSS(std::string_view body) {
    return write(kHtmlCssDump, to_cp1252(html_css_dump_text(body)));
}

ShotResult CodeScreenshot::save_snapshot(int width, int height, std::span<const uint8_t> rgb,
                                         size_t stride) {
    const std::string file = encode_bmp(width, height, rgb, stride);
    if (file.empty()) {
        ShotResult r = not_written(ShotOutcome::Failed,
                                   "The picture of the window could not be taken. Nothing was "
                                   "saved.");
        if (Prompts* prompts = state_.services.prompts)
            prompts->message_box(r.reason, MsgButtons::OK, MsgIcon::Exclamation,
                                 kShotNotWrittenTitle);
        return r;
    }
    return write(kSnapShot, file);
}

ShotResult CodeScreenshot::write(int kind, std::string_view bytes) {
    SystemClock system_clock;
    Clock& clock = state_.services.clock ? *state_.services.clock : system_clock;
    const PIC_CONFIG& pic = state_.settings.SETTINGS.PIC[static_cast<size_t>(kind)];
    ShotResult r = write_new_shot(state_.files(), state_.folder(), pic, kind, clock, bytes);
    // A day whose 10,000 names are all taken passes without a word, as the old program did;
    // everything else that stops a shot is told.
    if (r.outcome != ShotOutcome::Written && r.outcome != ShotOutcome::AllNamesTaken &&
        state_.services.prompts != nullptr) {
        const std::string_view title =
            r.outcome == ShotOutcome::RefusedHeader ? kRefusedHeaderTitle : kShotNotWrittenTitle;
        state_.services.prompts->message_box(r.reason, MsgButtons::OK, MsgIcon::Exclamation, title);
    }
    return r;
}

}  // namespace zeko
