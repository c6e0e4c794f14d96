#include "map/settings.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "common/codepage.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/prompts.h"

namespace zeko {

namespace {

constexpr std::string_view kFileName = "SETTINGS.DAT";
constexpr int16_t kDefaultWinHeight = 9000;
constexpr int16_t kDefaultWinWidth = 12000;

// Sequential little-endian writer over the record's bytes.
class Writer {
  public:
    explicit Writer(std::array<uint8_t, kSettingsBytes>& out) : out_(out) {}
    void i16(int16_t v) {
        const auto u = static_cast<uint16_t>(v);
        out_[pos_++] = static_cast<uint8_t>(u & 0xFF);
        out_[pos_++] = static_cast<uint8_t>(u >> 8);
    }
    void u8(uint8_t v) { out_[pos_++] = v; }
    template <size_t N>
    void text(const std::array<char, N>& field) {
        for (char c : field)
            out_[pos_++] = static_cast<uint8_t>(c);
    }

  private:
    std::array<uint8_t, kSettingsBytes>& out_;
    size_t pos_ = 0;
};

class Reader {
  public:
    explicit Reader(std::span<const uint8_t, kSettingsBytes> in) : in_(in) {}
    int16_t i16() {
        const auto u = static_cast<uint16_t>(in_[pos_] | (in_[pos_ + 1] << 8));
        pos_ += 2;
        return static_cast<int16_t>(u);
    }
    uint8_t u8() { return in_[pos_++]; }
    template <size_t N>
    void text(std::array<char, N>& field) {
        for (char& c : field)
            c = static_cast<char>(in_[pos_++]);
    }

  private:
    std::span<const uint8_t, kSettingsBytes> in_;
    size_t pos_ = 0;
};

// Half of what is left of the screen beside the window, rounded halves to even. A screen so
// large that the value does not fit 16 bits gets the nearest value that does, rather than
// leaving the defaults half-filled.
int16_t centred_edge(int32_t screen_twips, int16_t window_twips) {
    const double half = (static_cast<double>(screen_twips) - window_twips) / 2.0;
    return CInt(std::clamp(half, -32768.0, 32767.0));
}

template <class F>
bool attempt(F&& step) {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

std::string PIC_CONFIG::header() const {
    return read_fixed_field(std::string_view(HEADER.data(), HEADER.size()), HEADER_LEN);
}

void PIC_CONFIG::set_header(std::string_view utf8) {
    const std::string field = to_fixed_field(utf8, HEADER.size());
    std::copy_n(field.begin(), HEADER.size(), HEADER.begin());
    HEADER_LEN = length_byte(utf8);
}

std::array<uint8_t, kSettingsBytes> encode_settings(const SETTINGS_REC& s) {
    std::array<uint8_t, kSettingsBytes> out{};
    Writer w(out);
    w.i16(s.ZOOM);
    w.i16(s.AUTOLOGIN_ENABLED);
    w.i16(s.AUTONAV_STANDARD);
    w.i16(s.AUTONAV_PRECOG);
    w.i16(s.NAVLINE_BANK);
    w.i16(s.NAVLINE_PUB);
    w.i16(s.NAVLINE_TRANSIT);
    w.i16(s.NAVLINE_DEST);
    w.i16(s.RESERVED_1);
    for (const PIC_CONFIG& pic : s.PIC) {
        w.text(pic.HEADER);
        w.u8(pic.HEADER_LEN);
        w.i16(pic.DATE_FORMAT);
    }
    w.i16(s.LAYOUT);
    for (int16_t v : s.LAYOUT_POS)
        w.i16(v);
    w.i16(s.WIN_TOP);
    w.i16(s.WIN_LEFT);
    w.i16(s.WIN_HEIGHT);
    w.i16(s.WIN_WIDTH);
    w.i16(s.WIN_STATE);
    w.i16(s.TILE_IMAGES);
    w.i16(s.TOOLBAR);
    w.i16(s.MAP_VERSION);
    w.i16(s.USAGE_PING_DONE);
    w.text(s.RESERVED_2);
    return out;
}

SETTINGS_REC decode_settings(std::span<const uint8_t, kSettingsBytes> bytes) {
    SETTINGS_REC s;
    Reader r(bytes);
    s.ZOOM = r.i16();
    s.AUTOLOGIN_ENABLED = r.i16();
    s.AUTONAV_STANDARD = r.i16();
    s.AUTONAV_PRECOG = r.i16();
    s.NAVLINE_BANK = r.i16();
    s.NAVLINE_PUB = r.i16();
    s.NAVLINE_TRANSIT = r.i16();
    s.NAVLINE_DEST = r.i16();
    s.RESERVED_1 = r.i16();
    for (PIC_CONFIG& pic : s.PIC) {
        r.text(pic.HEADER);
        pic.HEADER_LEN = r.u8();
        pic.DATE_FORMAT = r.i16();
    }
    s.LAYOUT = r.i16();
    for (int16_t& v : s.LAYOUT_POS)
        v = r.i16();
    s.WIN_TOP = r.i16();
    s.WIN_LEFT = r.i16();
    s.WIN_HEIGHT = r.i16();
    s.WIN_WIDTH = r.i16();
    s.WIN_STATE = r.i16();
    s.TILE_IMAGES = r.i16();
    s.TOOLBAR = r.i16();
    s.MAP_VERSION = r.i16();
    s.USAGE_PING_DONE = r.i16();
    r.text(s.RESERVED_2);
    return s;
}

SettingsStore::SettingsStore(std::filesystem::path folder, Services& services,
                             const int16_t& live_zoom)
    : folder_(std::move(folder)), services_(services), live_zoom_(live_zoom) {}

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

void SettingsStore::LOAD_SETTINGS() {
    // The defaults are written at most once per call: a file that cannot be mended (read-only,
    // or a folder in its place) must neither loop nor bring up one error box after another.
    bool defaults_written = false;
    const auto fall_back = [&] {
        if (!defaults_written) DEFAULT_SETTINGS();
    };
    for (;;) {
        const std::filesystem::path path = file_path();
        int64_t length = -1;
        attempt([&] { length = file_exists(path) ? file_length(path) : -1; });
        if (length != kSettingsBytes) {
            if (defaults_written) return;
            attempt([&] { delete_file(path); });
            DEFAULT_SETTINGS();
            SAVE_SETTINGS();
            defaults_written = true;
        }

        std::optional<RecordFile> file;
        if (!attempt([&] { file.emplace(file_path(), kSettingsBytes); })) {
            // Nothing can be read: a record of zeros would give an invisible window.
            fall_back();
            return;
        }
        int64_t open_length = -1;
        attempt([&] { open_length = file->length(); });
        if (open_length != kSettingsBytes) {
            attempt([&] { file->close(); });
            if (defaults_written) return;
            DEFAULT_SETTINGS();
            SAVE_SETTINGS();
            defaults_written = true;
            continue;
        }

        std::array<uint8_t, kSettingsBytes> bytes{};
        if (attempt([&] { file->read_record(1, bytes); })) {
            SETTINGS = decode_settings(bytes);
        } else {
            fall_back();
        }
        attempt([&] { file->close(); });
        return;
    }
}

void SettingsStore::SAVE_SETTINGS() {
    try {
        RecordFile file(file_path(), kSettingsBytes);
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
