#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/conversions.h"
#include "common/file_layer.h"
#include "common/services.h"

namespace zeko {

inline constexpr int kSettingsBytes = 471;

inline constexpr int kPicConfigBytes = 53;
inline constexpr int kPicHeaderWidth = 50;

// File naming of one kind of screen shot.
struct PIC_CONFIG {
    std::array<char, kPicHeaderWidth> HEADER;  // 8-bit text, blank-padded, as on disk
    uint8_t HEADER_LEN = 0;
    int16_t DATE_FORMAT = 0;  // index into DATE_FORMATS

    PIC_CONFIG() { HEADER.fill(' '); }
    // The prefix as a reader takes it (the first HEADER_LEN characters), in UTF-8.
    std::string header() const;
    // The prefix cut or padded to the field; the length byte gets its length (at most 255).
    void set_header(std::string_view utf8);
    bool operator==(const PIC_CONFIG&) const = default;
};

struct SETTINGS_REC {
    int16_t ZOOM = 0;
    VbBool AUTOLOGIN_ENABLED = 0;
    VbBool AUTONAV_STANDARD = 0;
    VbBool AUTONAV_PRECOG = 0;
    VbBool NAVLINE_BANK = 0;
    VbBool NAVLINE_PUB = 0;
    VbBool NAVLINE_TRANSIT = 0;
    VbBool NAVLINE_DEST = 0;
    int16_t RESERVED_1 = 0;
    std::array<PIC_CONFIG, 3> PIC;
    int16_t LAYOUT = 0;
    std::array<int16_t, 12> LAYOUT_POS{};
    int16_t WIN_TOP = 0;
    int16_t WIN_LEFT = 0;
    int16_t WIN_HEIGHT = 0;
    int16_t WIN_WIDTH = 0;
    int16_t WIN_STATE = 0;
    VbBool TILE_IMAGES = 0;
    VbBool TOOLBAR = 0;
    int16_t MAP_VERSION = 0;
    VbBool USAGE_PING_DONE = 0;
    std::array<char, 250> RESERVED_2{};

    bool operator==(const SETTINGS_REC&) const = default;
};

// The record as it lies in the file and back; every byte survives the round trip.
std::array<uint8_t, kSettingsBytes> encode_settings(const SETTINGS_REC& s);
SETTINGS_REC decode_settings(std::span<const uint8_t, kSettingsBytes> bytes);

// `SETTINGS.DAT` and the one settings record the program works on.
class SettingsStore {
  public:
    // live_zoom is the minimap's current zoom, which a save writes into the record once the
    // minimap has been laid out (it is 0 before).
    SettingsStore(std::filesystem::path folder, Services& services, const int16_t& live_zoom,
                  FileLayer& files = posix_files());
    void use_files(FileLayer& files) { files_ = &files; }

    // The factory values; LAYOUT and LAYOUT_POS are left as they are.
    void DEFAULT_SETTINGS();
    // Reads the file, replacing a missing or wrong-length one by the defaults. Shows nothing
    // itself; when the file cannot be mended the defaults stay in memory. A file of the full
    // length that cannot be read even at a second try is the player's all the same: the
    // defaults are used in memory, and the file is left alone until a load reads it.
    void LOAD_SETTINGS();
    // Writes the record over the start of the file; errors are shown in a box. Does nothing
    // while the file holds settings the run could not read. Every save of the run comes here
    // (the store is the run state's one), so none of them writes the defaults over it.
    void SAVE_SETTINGS();

    // The folder's settings file, whatever the letter case of its name.
    std::filesystem::path file_path() const;

    SETTINGS_REC SETTINGS;
    // Set while the settings are pushed into the main window, so its handlers do not save.
    bool APPLYING_SETTINGS = false;

  private:
    // Opens the file and reads the record when the open file has the full length. Answers the
    // open file's length, or -1 when it could not be opened, measured or read.
    int64_t read_file();

    std::filesystem::path folder_;
    Services& services_;
    const int16_t& live_zoom_;
    FileLayer* files_;
    // The file has the full length but could not be read: it keeps the player's settings.
    bool file_unread_ = false;
};

}  // namespace zeko
