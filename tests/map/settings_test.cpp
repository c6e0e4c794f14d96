#include "map/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "support/failing_files.h"
#include "support/world.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::ShownBox;
using testing::TestWorld;
using testing::write_bytes;
using Bytes = std::array<uint8_t, kSettingsBytes>;

const ShownBox kSaveError75 = testing::error_box(75, "SAVE_SETTINGS");

std::string le16(int v) {
    const auto u = static_cast<uint16_t>(v);
    return std::string{static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
}

std::string pic_bytes(const std::string& prefix) {
    return prefix + std::string(50 - prefix.size(), ' ') + static_cast<char>(prefix.size()) +
           le16(7);
}

// The file a first start writes, built field by field from the documented layout.
std::string default_file(int win_top, int win_left) {
    std::string b = le16(3);
    for (int i = 0; i < 7; ++i)
        b += le16(-1);
    b += le16(0);
    b += pic_bytes("ZEKO2_SNAPSHOT") + pic_bytes("ZEKO2_HTML&CSS_DUMP") +
         pic_bytes("ZEKO2_HTML_DUMP");
    b += std::string(26, '\0');  // LAYOUT and LAYOUT_POS
    b += le16(win_top) + le16(win_left) + le16(9000) + le16(12000) + le16(0);
    b += le16(-1) + le16(-1) + le16(1) + le16(0);
    return b + std::string(250, '\0');
}

// Every byte different from its neighbours and from the defaults.
Bytes odd_bytes() {
    Bytes b{};
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<uint8_t>(i * 37 + 11);
    return b;
}

std::string odd_file() {
    const Bytes b = odd_bytes();
    return std::string(b.begin(), b.end());
}

struct Fixture {
    TestWorld w;
    Services services = w.services();
    int16_t live_zoom = 0;
    SettingsStore store{w.folder.path(), services, live_zoom};
    fs::path file() const { return w.folder / "SETTINGS.DAT"; }

    // The defaults for this screen, with the layout of `kept`, which DEFAULT_SETTINGS keeps.
    SETTINGS_REC defaults(const SETTINGS_REC& kept = {}) {
        int16_t zoom = 0;
        SettingsStore other(w.folder.path() / "unused", services, zoom);
        other.DEFAULT_SETTINGS();
        other.SETTINGS.LAYOUT = kept.LAYOUT;
        other.SETTINGS.LAYOUT_POS = kept.LAYOUT_POS;
        return other.SETTINGS;
    }
};

TEST(SettingsCodec, EveryByteAtEveryOffsetSurvivesAndFieldsKeepTheirPlaces) {
    const Bytes base = odd_bytes();
    for (size_t at = 0; at < base.size(); ++at) {
        for (uint8_t value : {0x00, 0x20, 0x7F, 0x80, 0x81, 0x9D, 0xFF}) {
            Bytes b = base;
            b[at] = value;
            ASSERT_EQ(encode_settings(decode_settings(b)), b) << at << " " << +value;
        }
    }

    const SETTINGS_REC s = decode_settings(base);
    auto at = [&](size_t i) { return static_cast<int16_t>(base[i] | base[i + 1] << 8); };
    const std::pair<int16_t, size_t> fields[] = {{s.ZOOM, 0},
                                                 {s.AUTOLOGIN_ENABLED, 2},
                                                 {s.NAVLINE_DEST, 14},
                                                 {s.RESERVED_1, 16},
                                                 {s.PIC[0].DATE_FORMAT, 69},
                                                 {s.PIC[2].DATE_FORMAT, 175},
                                                 {s.LAYOUT, 177},
                                                 {s.LAYOUT_POS[0], 179},
                                                 {s.LAYOUT_POS[11], 201},
                                                 {s.WIN_TOP, 203},
                                                 {s.WIN_STATE, 211},
                                                 {s.TOOLBAR, 215},
                                                 {s.USAGE_PING_DONE, 219}};
    for (const auto& [value, offset] : fields)
        EXPECT_EQ(value, at(offset)) << offset;
    EXPECT_EQ(s.PIC[1].HEADER_LEN, base[121]);
    EXPECT_EQ(static_cast<uint8_t>(s.PIC[1].HEADER[0]), base[71]);
    EXPECT_EQ(static_cast<uint8_t>(s.RESERVED_2[249]), base[470]);
}

TEST(Settings, FirstStartWritesTheDefaultsCentredHalvesToEven) {
    Fixture f;  // screen 28800 x 16200 twips
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(read_bytes(f.file()), default_file(3600, 8400));
    EXPECT_EQ(f.store.SETTINGS, f.defaults());
    EXPECT_TRUE(f.w.prompts.shown.empty());

    const std::array<int32_t, 4> screens[] = {
        {30003, 16201, 9002, 3600},          // 9001.5 -> 9002, 3600.5 -> 3600
        {11001, 8999, -500, 0},              // -499.5 -> -500, -0.5 -> 0
        {7680 * 15, -60000, 32767, -32768},  // beyond 16 bits: clamped, not aborted
    };
    const SETTINGS_REC odd = decode_settings(odd_bytes());
    for (const auto& [width, height, left, top] : screens) {
        f.store.SETTINGS = odd;
        f.w.screen.width = width;
        f.w.screen.height = height;
        f.store.DEFAULT_SETTINGS();
        SETTINGS_REC expected = f.defaults(odd);
        EXPECT_EQ(expected.WIN_LEFT, left);
        EXPECT_EQ(expected.WIN_TOP, top);
        EXPECT_EQ(f.store.SETTINGS, expected) << width;
    }
}

TEST(Settings, WrongLengthFileIsReplacedByTheDefaultsKeepingTheLayout) {
    for (size_t length : {0, 470, 472}) {
        SCOPED_TRACE(length);
        Fixture f;
        std::string bytes = odd_file();
        bytes.resize(length, 'z');
        write_bytes(f.w.folder / "Settings.Dat", bytes);
        f.store.SETTINGS.LAYOUT = 3;
        f.store.SETTINGS.LAYOUT_POS[11] = 1234;
        f.store.LOAD_SETTINGS();
        std::string expected = default_file(3600, 8400);
        expected.replace(177, 2, le16(3));
        expected.replace(201, 2, le16(1234));
        // The old spelling was deleted; exactly one file is left.
        EXPECT_EQ(read_bytes(f.file()), expected);
        EXPECT_EQ(std::distance(fs::directory_iterator(f.w.folder.path()), {}), 1);
        EXPECT_TRUE(f.w.prompts.shown.empty());
    }
}

TEST(Settings, ValidFileIsReadAndWrittenBackByteForByteTakingTheLiveZoomOnceThereIsOne) {
    Fixture f;
    const fs::path file = f.w.folder / "settings.dat";
    write_bytes(file, odd_file());
    f.live_zoom = 5;  // loading never writes
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS, decode_settings(odd_bytes()));
    EXPECT_EQ(read_bytes(file), odd_file());
    // The start-up window saves before the minimap exists: the stored zoom stays. A save keeps
    // a longer file's tail.
    f.live_zoom = 0;
    write_bytes(file, std::string(kSettingsBytes, 'q') + "tail");
    f.store.SAVE_SETTINGS();
    EXPECT_EQ(read_bytes(file), odd_file() + "tail");
    f.live_zoom = 7;
    f.store.SAVE_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS.ZOOM, 7);
    EXPECT_EQ(read_bytes(file), le16(7) + odd_file().substr(2) + "tail");
    EXPECT_FALSE(fs::exists(f.file()));
    EXPECT_TRUE(f.w.prompts.shown.empty());
}

TEST(Settings, UnwritableFileShowsOneBoxPerCallAndKeepsTheDefaultsInMemory) {
    // A folder in the file's place can be neither deleted nor rewritten, even by root.
    Fixture f;
    fs::create_directory(f.file());
    write_bytes(f.file() / "keep", "x");
    const SETTINGS_REC odd = decode_settings(odd_bytes());
    f.live_zoom = 5;
    f.store.SETTINGS = odd;
    f.store.SAVE_SETTINGS();
    ASSERT_EQ(f.w.prompts.shown, std::vector<ShownBox>{kSaveError75});
    EXPECT_EQ(f.store.SETTINGS.ZOOM, odd.ZOOM);  // the save ended before the zoom was taken

    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS, f.defaults(odd));
    EXPECT_EQ(f.w.prompts.shown, std::vector<ShownBox>(2, kSaveError75));
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.w.prompts.shown, std::vector<ShownBox>(3, kSaveError75));
    EXPECT_TRUE(fs::is_directory(f.file()));
}

TEST(Settings, ReadOnlyFolder) {
    // A valid file is read as usual; a bad or missing one gets one box and the defaults in
    // memory. A file that cannot be created is refused, not "not found".
    const std::pair<std::string, int> cases[] = {
        {odd_file(), 0}, {std::string(470, 'r'), 75}, {"-", 70}};
    for (const auto& [bytes, error] : cases) {
        Fixture f;
        if (bytes != "-") write_bytes(f.file(), bytes);
        testing::FailingFiles files;
        f.store.use_files(files.read_only());
        f.store.LOAD_SETTINGS();
        EXPECT_EQ(f.store.SETTINGS, error == 0 ? decode_settings(odd_bytes()) : f.defaults());
        EXPECT_EQ(f.w.prompts.shown, error == 0
                                         ? std::vector<ShownBox>{}
                                         : std::vector{testing::error_box(error, "SAVE_SETTINGS")});
        EXPECT_EQ(fs::exists(f.file()) ? read_bytes(f.file()) : "-", bytes);
    }
}

}  // namespace
}  // namespace zeko
