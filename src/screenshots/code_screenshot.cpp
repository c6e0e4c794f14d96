#include "screenshots/code_screenshot.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <vector>

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
// Scratch files are named this and six letters or digits; shot names are longer.
constexpr std::string_view kScratchPrefix = ".zeko-shot-";
constexpr size_t kScratchLetters = 6;

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

// A scratch file stays locked by the shot that writes it until the file has its name. One that
// can be locked was left by a shot cut short (the lock ends with its program) and goes; a
// program that dies half-way would otherwise leave up to a whole picture behind each time.
void remove_leftover_scratch(FileLayer& files, const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> leftovers;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(kScratchPrefix) &&
            name.size() == kScratchPrefix.size() + kScratchLetters &&
            it->symlink_status(ec).type() == fs::file_type::regular)
            leftovers.push_back(it->path());
    }
    for (const fs::path& path : leftovers) {
        int fd = -1;
        if (files.open(path, O_RDONLY | O_NOFOLLOW, 0, fd) != 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) files.remove(path);
        files.close(fd);
    }
}

// Creates and locks a scratch file of a name no other file has; 0 or the errno.
int make_scratch(FileLayer& files, const fs::path& folder, fs::path& scratch, int& fd) {
    constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        std::string name(kScratchPrefix);
        for (size_t i = 0; i < kScratchLetters; ++i)
            name += kLetters[pick() % kLetters.size()];
        scratch = folder / name;
        error = files.open(scratch, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600, fd);
        if (error != 0) continue;
        // Another program clearing leftovers may have removed the file before it was locked;
        // a file system without locks leaves the file unguarded rather than unwritable.
        struct stat st {};
        if (::flock(fd, LOCK_EX) != 0 || files.stat(fd, st) != 0 || st.st_nlink > 0) return 0;
        files.close(fd);
        error = EEXIST;
    }
    return error;
}

bool links_unsupported(int errno_value) {
    return errno_value == EPERM || errno_value == ENOTSUP || errno_value == EOPNOTSUPP ||
           errno_value == EXDEV || errno_value == EMLINK;
}

bool safe_rename_unsupported(int errno_value) {
    return errno_value == EINVAL || errno_value == ENOSYS || errno_value == ENOTSUP ||
           errno_value == EOPNOTSUPP;
}

// Gives the finished scratch file the shot's name while no entry has that name (EEXIST
// otherwise, also for one made a moment ago), so the name never stands for a part of a file.
// A hard link does that where the file system has them; FAT and exFAT rename without replacing
// instead. Where even that is missing, an empty file claims the name and the rename replaces
// only that.
int give_name(FileLayer& files, const fs::path& scratch, const fs::path& path) {
    int error = files.link(scratch, path);
    if (error == 0) {
        files.remove(scratch);
        return 0;
    }
    if (!links_unsupported(error)) return error;
    error = files.rename_new(scratch, path);
    if (!safe_rename_unsupported(error)) return error;
    int claim = -1;
    error = files.open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, kShotMode, claim);
    if (error != 0) return error;
    files.close(claim);
    error = files.rename(scratch, path);
    if (error != 0) files.remove(path);
    return error;
}

}  // namespace

ShotResult write_new_shot(FileLayer& files, const fs::path& folder, const PIC_CONFIG& pic, int kind,
                          Clock& clock, std::string_view bytes) {
    const std::string refused = refused_header_character(pic.header());
    if (!refused.empty())
        return not_written(ShotOutcome::RefusedHeader,
                           refused_header_text(kind, refused, /*typed=*/false));
    remove_leftover_scratch(files, folder);

    // The whole file is written under a scratch name first, so that a shot's name only ever
    // stands for a complete file. It stays open, and so locked, until it has its name.
    fs::path scratch;
    int fd = -1;
    if (const int error = make_scratch(files, folder, scratch, fd))
        return not_written(ShotOutcome::Failed, could_not_write(kind, error));
    const auto fail = [&](int error) {
        files.remove(scratch);
        files.close(fd);
        return not_written(ShotOutcome::Failed, could_not_write(kind, error));
    };
    files.chmod(fd, kShotMode);
    if (const int error = write_whole(files, fd, bytes)) return fail(error);

    for (int number = 0; number <= kLastShotNumber; ++number) {
        // The date is read for every number, so a shot taken over midnight starts the new day.
        const std::string name = SHOT_NAME(pic, kind, clock.now(), number);
        const fs::path path = folder / name;
        if (path.filename() != name || path.parent_path() != folder) continue;
        const int error = give_name(files, scratch, path);
        if (error == EEXIST) continue;
        if (error != 0) return fail(error);
        // The bytes are on the disk since the sync.
        files.close(fd);
        return written(path);
    }
    files.remove(scratch);
    files.close(fd);
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
