#include "screenshots/code_screenshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

ShotResult not_written(ShotOutcome outcome, std::string reason) {
    ShotResult r;
    r.outcome = outcome;
    r.reason = std::move(reason);
    return r;
}

std::string could_not_write(int kind, int errno_value) {
    return "The " + std::string(shot_kind_label(kind)) +
           " could not be written into the program's folder (" + std::strerror(errno_value) +
           "). Nothing was saved.";
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Writes and closes; false (errno set) when any step failed.
bool write_and_close(int fd, std::string_view bytes) {
    bool ok = write_all(fd, bytes) && ::fsync(fd) == 0;
    const int saved = errno;
    if (::close(fd) != 0 && ok) return false;
    errno = saved;
    return ok;
}

// Hard links are the way to give a finished file its name without replacing one; a file
// system without them gets the file created under its name, exclusively, and removed again
// when the write fails.
bool links_unsupported(int errno_value) {
    return errno_value == EPERM || errno_value == ENOTSUP || errno_value == EOPNOTSUPP ||
           errno_value == EXDEV || errno_value == EMLINK;
}

}  // namespace

ShotResult write_new_shot(const fs::path& folder, const PIC_CONFIG& pic, int kind, Clock& clock,
                          std::string_view bytes) {
    const std::string refused = refused_header_character(pic.header());
    if (!refused.empty())
        return not_written(ShotOutcome::RefusedHeader,
                           refused_header_text(kind, refused, /*typed=*/false));

    // The whole file is written under a scratch name first, so that a shot's name only ever
    // stands for a complete file.
    std::string scratch = (folder / ".zeko-shot-XXXXXX").string();
    const int fd = ::mkostemp(scratch.data(), O_CLOEXEC);
    if (fd < 0) return not_written(ShotOutcome::Failed, could_not_write(kind, errno));
    ::fchmod(fd, kShotMode);
    if (!write_and_close(fd, bytes)) {
        const int saved = errno;
        ::unlink(scratch.c_str());
        return not_written(ShotOutcome::Failed, could_not_write(kind, saved));
    }

    for (int number = 0; number <= kLastShotNumber; ++number) {
        // The date is read for every number, so a shot taken over midnight starts the new day.
        const std::string name = SHOT_NAME(pic, kind, clock.now(), number);
        const fs::path path = folder / name;
        if (path.filename() != name || path.parent_path() != folder) continue;
        // Giving the finished file its name is the look whether the name is free: the link
        // fails on any entry of that name, also one made a moment ago.
        if (::link(scratch.c_str(), path.c_str()) == 0) {
            ::unlink(scratch.c_str());
            ShotResult r;
            r.outcome = ShotOutcome::Written;
            r.path = path;
            return r;
        }
        if (errno == EEXIST) continue;
        const int link_errno = errno;
        if (!links_unsupported(link_errno)) {
            ::unlink(scratch.c_str());
            return not_written(ShotOutcome::Failed, could_not_write(kind, link_errno));
        }
        const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kShotMode);
        if (out < 0 && errno == EEXIST) continue;
        const int open_errno = errno;
        if (out < 0 || !write_and_close(out, bytes)) {
            const int saved = out < 0 ? open_errno : errno;
            if (out >= 0) ::unlink(path.c_str());
            ::unlink(scratch.c_str());
            return not_written(ShotOutcome::Failed, could_not_write(kind, saved));
        }
        ::unlink(scratch.c_str());
        ShotResult r;
        r.outcome = ShotOutcome::Written;
        r.path = path;
        return r;
    }
    ::unlink(scratch.c_str());
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
    ShotResult r = write_new_shot(state_.folder(), pic, kind, clock, bytes);
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
