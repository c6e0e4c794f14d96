#include "map/settings.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "common/codepage.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/prompts.h"
#include "common/record_io.h"

namespace zeko {

namespace {

constexpr std::string_view kFileName = "SETTINGS.DAT";
constexpr int16_t kDefaultWinHeight = 9000;
constexpr int16_t kDefaultWinWidth = 12000;

template <class IO, class Settings>
void visit_fields(IO& io, Settings& s) {
    io.field(s.ZOOM);
    io.field(s.AUTOLOGIN_ENABLED);
    io.field(s.AUTONAV_STANDARD);
    io.field(s.AUTONAV_PRECOG);
    io.field(s.NAVLINE_BANK);
    io.field(s.NAVLINE_PUB);
    io.field(s.NAVLINE_TRANSIT);
    io.field(s.NAVLINE_DEST);
    io.field(s.RESERVED_1);
    for (auto& pic : s.PIC) {
        io.field(pic.HEADER);
        io.field(pic.HEADER_LEN);
        io.field(pic.DATE_FORMAT);
    }
    io.field(s.LAYOUT);
    for (auto& v : s.LAYOUT_POS)
        io.field(v);
    io.field(s.WIN_TOP);
    io.field(s.WIN_LEFT);
    io.field(s.WIN_HEIGHT);
    io.field(s.WIN_WIDTH);
    io.field(s.WIN_STATE);
    io.field(s.TILE_IMAGES);
    io.field(s.TOOLBAR);
    io.field(s.MAP_VERSION);
    io.field(s.USAGE_PING_DONE);
    io.field(s.RESERVED_2);
}

// Half of what is left of the screen beside the window, rounded halves to even. A screen so
// large that the value does not fit 16 bits gets the nearest value that does, rather than
// leaving the defaults half-filled.
int16_t centred_edge(int32_t screen_twips, int16_t window_twips) {
    const double half = (static_cast<double>(screen_twips) - window_twips) / 2.0;
    return CInt(std::clamp(half, -32768.0, 32767.0));
}

}  // namespace

std::string PIC_CONFIG::header() const {
    return read_fixed(HEADER, HEADER_LEN);
}

void PIC_CONFIG::set_header(std::string_view utf8) {
    assign_fixed(HEADER, HEADER_LEN, utf8);
}

std::array<uint8_t, kSettingsBytes> encode_settings(const SETTINGS_REC& s) {
    std::array<uint8_t, kSettingsBytes> out{};
    RecordWriter w(out);
    visit_fields(w, s);
    return out;
}

SETTINGS_REC decode_settings(std::span<const uint8_t, kSettingsBytes> bytes) {
    SETTINGS_REC s;
    RecordReader r(bytes);
    visit_fields(r, s);
    return s;
}

SettingsStore::SettingsStore(std::filesystem::path folder, Services& services,
                             const int16_t& live_zoom, FileLayer& files)
    : folder_(std::move(folder)), services_(services), live_zoom_(live_zoom), files_(&files) {}

std::filesystem::path SettingsStore::file_path() const {
    return resolve_in_folder(folder_, kFileName);
}

void SettingsStore::DEFAULT_SETTINGS() {
    SETTINGS_REC& s = SETTINGS;
    s.ZOOM = 3;
    s.AUTOLOGIN_ENABLED = kTrue;
    s.AUTONAV_STANDARD = kTrue;
    s.AUTONAV_PRECOG = kTrue;
    s.NAVLINE_BANK = kTrue;
    s.NAVLINE_PUB = kTrue;
    s.NAVLINE_TRANSIT = kTrue;
    s.NAVLINE_DEST = kTrue;
    s.RESERVED_1 = 0;
    s.PIC[0].set_header("ZEKO2_SNAPSHOT");
    s.PIC[0].DATE_FORMAT = 7;
    s.PIC[1].set_header("ZEKO2_HTML&CSS_DUMP");
    s.PIC[1].DATE_FORMAT = 7;
    s.PIC[2].set_header("ZEKO2_HTML_DUMP");
    s.PIC[2].DATE_FORMAT = 7;
    s.WIN_STATE = 0;
    s.TILE_IMAGES = kTrue;
    s.TOOLBAR = kTrue;
    s.MAP_VERSION = 1;
    s.WIN_HEIGHT = kDefaultWinHeight;
    s.WIN_WIDTH = kDefaultWinWidth;
    // Without a screen to measure, the window goes to the top-left corner.
    const int32_t screen_width =
        services_.screen ? services_.screen->width_twips() : kDefaultWinWidth;
    const int32_t screen_height =
        services_.screen ? services_.screen->height_twips() : kDefaultWinHeight;
    s.WIN_LEFT = centred_edge(screen_width, kDefaultWinWidth);
    s.WIN_TOP = centred_edge(screen_height, kDefaultWinHeight);
    s.USAGE_PING_DONE = kFalse;
    s.RESERVED_2.fill('\0');
}

int64_t SettingsStore::read_file() {
    std::optional<RecordFile> file;
    if (!attempt([&] { file.emplace(*files_, file_path(), kSettingsBytes); })) return -1;
    int64_t length = -1;
    attempt([&] { length = file->length(); });
    if (length == kSettingsBytes) {
        std::array<uint8_t, kSettingsBytes> bytes{};
        if (attempt([&] { file->read_record(1, bytes); })) {
            SETTINGS = decode_settings(bytes);
        } else {
            length = -1;
        }
    }
    attempt([&] { file->close(); });
    return length;
}

void SettingsStore::LOAD_SETTINGS() {
    // The defaults are written at most once per call: a file that cannot be mended (read-only,
    // or a folder in its place) must neither loop nor bring up one error box after another.
    bool defaults_written = false;
    // Each load looks at the file afresh; one that reads it ends what an earlier one could not.
    file_unread_ = false;
    for (;;) {
        const std::filesystem::path path = file_path();
        int64_t length = -1;
        attempt([&] { length = file_exists(path) ? file_length(path) : -1; });
        if (length != kSettingsBytes) {
            if (defaults_written) return;
            attempt([&] { delete_file(*files_, path); });
            DEFAULT_SETTINGS();
            SAVE_SETTINGS();
            defaults_written = true;
        }

        // A failure to read may pass (too many open files): a second try before anything is
        // written.
        int64_t open_length = read_file();
        if (open_length < 0) open_length = read_file();
        if (open_length < 0) {
            // Nothing could be read: a record of zeros would give an invisible window. A file of
            // the full length that was there before holds the player's settings, which are not
            // to be lost to the defaults.
            if (!defaults_written) {
                DEFAULT_SETTINGS();
                file_unread_ = true;
            }
            return;
        }
        if (open_length != kSettingsBytes) {
            if (defaults_written) return;
            DEFAULT_SETTINGS();
            SAVE_SETTINGS();
            defaults_written = true;
            continue;
        }
        return;
    }
}

void SettingsStore::SAVE_SETTINGS() {
    if (file_unread_) return;
    try {
        RecordFile file(*files_, file_path(), kSettingsBytes);
        // Before the minimap is laid out there is no live zoom yet; the stored one stays.
        if (live_zoom_ != 0) SETTINGS.ZOOM = live_zoom_;
        const auto bytes = encode_settings(SETTINGS);
        file.write_record(1, bytes);
        file.close();
    } catch (...) {
        if (services_.prompts) {
            show_procedure_error(*services_.prompts, as_runtime_error(std::current_exception()),
                                 "SAVE_SETTINGS");
        }
    }
}

}  // namespace zeko
