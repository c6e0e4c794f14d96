#include "map/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "support/fakes.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using testing::ShownBox;
using testing::TestWorld;

const ShownBox kSaveError75{
    "An error occused in 'SAVE_SETTINGS', please report the error number and where it occured.",
    MsgButtons::OK, MsgIcon::Information, "Error #75"};

std::string le16(int v) {
    const auto u = static_cast<uint16_t>(v);
    return std::string{static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
}

std::string pic_bytes(const std::string& prefix) {
    return prefix + std::string(50 - prefix.size(), ' ') + static_cast<char>(prefix.size()) +
           le16(7);
}

// The file a first start writes, built field by field from the documented layout.
std::string default_file(int win_top, int win_left, int zoom = 3) {
    std::string b = le16(zoom);
    for (int i = 0; i < 7; ++i)
        b += le16(-1);
    b += le16(0);
    b += pic_bytes("ZEKO2_SNAPSHOT") + pic_bytes("ZEKO2_HTML&CSS_DUMP") +
         pic_bytes("ZEKO2_HTML_DUMP");
    b += std::string(26, '\0');  // LAYOUT and LAYOUT_POS
    b += le16(win_top) + le16(win_left) + le16(9000) + le16(12000) + le16(0);
    b += le16(-1) + le16(-1) + le16(1) + le16(0);
    b += std::string(250, '\0');
    return b;
}

std::string as_string(const std::array<uint8_t, kSettingsBytes>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Every field different from its neighbours and from the defaults.
SETTINGS_REC distinct_record() {
    SETTINGS_REC s;
    s.ZOOM = 9;
    s.AUTOLOGIN_ENABLED = 0;
    s.AUTONAV_STANDARD = -1;
    s.AUTONAV_PRECOG = 0;
    s.NAVLINE_BANK = -1;
    s.NAVLINE_PUB = 0;
    s.NAVLINE_TRANSIT = -1;
    s.NAVLINE_DEST = 0;
    s.RESERVED_1 = -2;
    s.PIC[0].set_header("shot");
    s.PIC[0].DATE_FORMAT = 1;
    s.PIC[1].set_header("Café_dump");
    s.PIC[1].DATE_FORMAT = 2;
    s.PIC[2].set_header("plain");
    s.PIC[2].DATE_FORMAT = 3;
    s.LAYOUT = 2;
    for (int i = 0; i < 12; ++i)
        s.LAYOUT_POS[i] = static_cast<int16_t>(100 * i - 300);
    s.WIN_TOP = -120;
    s.WIN_LEFT = 4321;
    s.WIN_HEIGHT = 7000;
    s.WIN_WIDTH = 11000;
    s.WIN_STATE = 2;
    s.TILE_IMAGES = 0;
    s.TOOLBAR = 0;
    s.MAP_VERSION = 42;
    s.USAGE_PING_DONE = -1;
    for (size_t i = 0; i < s.RESERVED_2.size(); ++i)
        s.RESERVED_2[i] = static_cast<char>(i * 37);
    return s;
}

struct Fixture {
    TestWorld w;
    Services services = w.services();
    int16_t live_zoom = 0;
    SettingsStore store{w.folder.path(), services, live_zoom};
    fs::path file() const { return w.folder / "SETTINGS.DAT"; }
};

SETTINGS_REC defaults_for(TestWorld& w) {
    Services services = w.services();
    int16_t zoom = 0;
    SettingsStore other(w.folder.path() / "unused", services, zoom);
    other.DEFAULT_SETTINGS();
    return other.SETTINGS;
}

TEST(SettingsCodec, EveryByteSurvivesARoundTrip) {
    std::array<uint8_t, kSettingsBytes> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    EXPECT_EQ(encode_settings(decode_settings(bytes)), bytes);

    const SETTINGS_REC s = distinct_record();
    const auto encoded = encode_settings(s);
    EXPECT_EQ(decode_settings(encoded), s);
    const std::string b = as_string(encoded);
    EXPECT_EQ(b.substr(0, 2), le16(9));
    EXPECT_EQ(b.substr(16, 2), le16(-2));
    EXPECT_EQ(b.substr(18, 53), pic_bytes("shot").substr(0, 51) + le16(1));
    // "é" is one byte on disk.
    EXPECT_EQ(b.substr(71, 9), "Caf\xE9_dump");
    EXPECT_EQ(static_cast<uint8_t>(b[121]), 9);
    EXPECT_EQ(b.substr(122, 2), le16(2));
    EXPECT_EQ(b.substr(124, 5), "plain");
    EXPECT_EQ(b.substr(175, 2), le16(3));
    EXPECT_EQ(b.substr(177, 2), le16(2));
    EXPECT_EQ(b.substr(179, 2), le16(-300));
    EXPECT_EQ(b.substr(201, 2), le16(800));
    EXPECT_EQ(b.substr(203, 18), le16(-120) + le16(4321) + le16(7000) + le16(11000) + le16(2) +
                                     le16(0) + le16(0) + le16(42) + le16(-1));
    EXPECT_EQ(b.substr(221, 3), std::string("\0\x25\x4A", 3));
    EXPECT_EQ(s.PIC[1].header(), "Café_dump");
}

TEST(SettingsCodec, LongHeadersAreCutAndTheirLengthCapped) {
    PIC_CONFIG pic;
    pic.set_header(std::string(60, 'x'));
    EXPECT_EQ(pic.HEADER_LEN, 60);
    EXPECT_EQ(pic.header(), std::string(50, 'x'));
    pic.set_header(std::string(300, 'y'));
    EXPECT_EQ(pic.HEADER_LEN, 255);
    EXPECT_EQ(pic.header(), std::string(50, 'y'));

    SETTINGS_REC s;
    s.PIC[2] = pic;
    const std::string b = as_string(encode_settings(s));
    EXPECT_EQ(b.substr(124, 50), std::string(50, 'y'));
    EXPECT_EQ(static_cast<uint8_t>(b[174]), 255);
    EXPECT_EQ(decode_settings(encode_settings(s)), s);
}

TEST(Settings, FirstStartWritesAndReadsTheDefaults) {
    Fixture f;  // screen 28800 x 16200 twips
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(testing::read_bytes(f.file()), default_file(3600, 8400));
    EXPECT_EQ(f.store.SETTINGS, defaults_for(f.w));
    EXPECT_EQ(f.store.SETTINGS.PIC[1].header(), "ZEKO2_HTML&CSS_DUMP");
    EXPECT_EQ(f.store.SETTINGS.WIN_LEFT, 8400);
    EXPECT_TRUE(f.w.prompts.shown.empty());
    EXPECT_EQ(fs::directory_iterator(f.w.folder.path())->path().filename(), "SETTINGS.DAT");
}

TEST(Settings, WindowDefaultsAreCentredHalvesToEven) {
    Fixture f;
    f.w.screen.width = 30003;   // 9001.5 -> 9002
    f.w.screen.height = 16201;  // 3600.5 -> 3600
    f.store.DEFAULT_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS.WIN_LEFT, 9002);
    EXPECT_EQ(f.store.SETTINGS.WIN_TOP, 3600);

    f.w.screen.width = 11001;  // -499.5 -> -500
    f.w.screen.height = 8999;  // -0.5 -> 0
    f.store.DEFAULT_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS.WIN_LEFT, -500);
    EXPECT_EQ(f.store.SETTINGS.WIN_TOP, 0);
}

TEST(Settings, DefaultsFinishOnAHugeScreenAndKeepTheLayout) {
    Fixture f;
    f.store.SETTINGS = distinct_record();
    f.w.screen.width = 7680 * 15;  // (115200 - 12000) / 2 does not fit 16 bits
    f.w.screen.height = -60000;
    f.store.DEFAULT_SETTINGS();
    SETTINGS_REC expected = defaults_for(f.w);
    expected.LAYOUT = 2;
    expected.LAYOUT_POS = distinct_record().LAYOUT_POS;
    expected.WIN_LEFT = 32767;
    expected.WIN_TOP = -32768;
    EXPECT_EQ(f.store.SETTINGS, expected);
}

TEST(Settings, WrongLengthFileIsReplacedByTheDefaults) {
    for (size_t length : {0, 470, 472, 1000}) {
        SCOPED_TRACE(length);
        Fixture f;
        std::string bytes = as_string(encode_settings(distinct_record()));
        bytes.resize(length, 'z');
        testing::write_bytes(f.w.folder / "Settings.Dat", bytes);
        f.store.SETTINGS.LAYOUT = 3;
        f.store.SETTINGS.LAYOUT_POS[11] = 1234;

        f.store.LOAD_SETTINGS();
        EXPECT_EQ(f.store.SETTINGS.MAP_VERSION, 1);
        EXPECT_EQ(f.store.SETTINGS.USAGE_PING_DONE, kFalse);
        std::string expected = default_file(3600, 8400);
        expected.replace(177, 2, le16(3));
        expected.replace(201, 2, le16(1234));
        // The old spelling was deleted; exactly one file is left.
        EXPECT_EQ(testing::read_bytes(f.file()), expected);
        EXPECT_EQ(std::distance(fs::directory_iterator(f.w.folder.path()), {}), 1);
        EXPECT_TRUE(f.w.prompts.shown.empty());
    }
}

TEST(Settings, ValidFileIsReadAsItIs) {
    Fixture f;
    const std::string bytes = as_string(encode_settings(distinct_record()));
    testing::write_bytes(f.w.folder / "settings.dat", bytes);
    f.live_zoom = 5;  // loading never writes
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS, distinct_record());
    EXPECT_EQ(testing::read_bytes(f.w.folder / "settings.dat"), bytes);

    // Written back unchanged, odd reserved bytes included.
    f.live_zoom = 0;
    f.store.SAVE_SETTINGS();
    EXPECT_EQ(testing::read_bytes(f.w.folder / "settings.dat"), bytes);
    EXPECT_FALSE(fs::exists(f.file()));
    EXPECT_TRUE(f.w.prompts.shown.empty());
}

TEST(Settings, SaveTakesTheLiveZoomOnlyOnceThereIsOne) {
    Fixture f;
    SETTINGS_REC stored = distinct_record();  // zoom 9
    testing::write_bytes(f.file(), as_string(encode_settings(stored)));
    f.store.LOAD_SETTINGS();

    // The start-up window saves a new map version before the minimap exists.
    f.store.SETTINGS.MAP_VERSION = 43;
    f.store.SAVE_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS.ZOOM, 9);
    stored.MAP_VERSION = 43;
    EXPECT_EQ(testing::read_bytes(f.file()), as_string(encode_settings(stored)));

    f.live_zoom = 7;
    f.store.SAVE_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS.ZOOM, 7);
    EXPECT_EQ(testing::read_bytes(f.file()).substr(0, 2), le16(7));
    EXPECT_TRUE(f.w.prompts.shown.empty());
}

TEST(Settings, SaveDoesNotShortenALongerFile) {
    Fixture f;
    const std::string tail = "tail that stays";
    testing::write_bytes(f.file(), std::string(kSettingsBytes, 'q') + tail);
    f.store.SETTINGS = distinct_record();
    f.store.SAVE_SETTINGS();
    EXPECT_EQ(testing::read_bytes(f.file()), as_string(encode_settings(distinct_record())) + tail);
}

TEST(Settings, SaveErrorShowsItsBox) {
    Fixture f;
    fs::create_directory(f.file());
    f.live_zoom = 5;
    f.store.SETTINGS.ZOOM = 9;
    f.store.SAVE_SETTINGS();
    ASSERT_EQ(f.w.prompts.shown, std::vector<ShownBox>{kSaveError75});
    // The save ended at the failed open, before the zoom was taken.
    EXPECT_EQ(f.store.SETTINGS.ZOOM, 9);
}

TEST(Settings, UnmendableFileLeavesTheDefaultsInMemory) {
    // A folder in the file's place can be neither deleted nor rewritten, even by root.
    Fixture f;
    fs::create_directory(f.file());
    testing::write_bytes(f.file() / "keep", "x");
    f.store.SETTINGS = distinct_record();

    f.store.LOAD_SETTINGS();
    SETTINGS_REC expected = defaults_for(f.w);
    expected.LAYOUT = 2;
    expected.LAYOUT_POS = distinct_record().LAYOUT_POS;
    EXPECT_EQ(f.store.SETTINGS, expected);
    EXPECT_EQ(f.w.prompts.shown, std::vector<ShownBox>{kSaveError75});
    EXPECT_TRUE(fs::is_directory(f.file()));

    // A second load tries once more, again with one box only.
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.w.prompts.shown, std::vector<ShownBox>(2, kSaveError75));
}

TEST(Settings, ReadOnlyFiles) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    Fixture f;
    const std::string bytes(470, 'r');
    testing::write_bytes(f.file(), bytes);
    fs::permissions(f.file(), fs::perms::owner_read);
    fs::permissions(f.w.folder.path(), fs::perms::owner_read | fs::perms::owner_exec);

    // Neither deleted nor rewritten: one box, the defaults in memory, the file untouched.
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS, defaults_for(f.w));
    EXPECT_EQ(f.w.prompts.shown, std::vector<ShownBox>{kSaveError75});
    EXPECT_EQ(testing::read_bytes(f.file()), bytes);

    // A valid read-only file is read as usual.
    Fixture g;
    testing::write_bytes(g.file(), as_string(encode_settings(distinct_record())));
    fs::permissions(g.file(), fs::perms::owner_read);
    fs::permissions(g.w.folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    g.store.LOAD_SETTINGS();
    EXPECT_EQ(g.store.SETTINGS, distinct_record());
    EXPECT_TRUE(g.w.prompts.shown.empty());
}

}  // namespace
}  // namespace zeko
