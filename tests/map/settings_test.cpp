#include "map/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "support/failing_files.h"
#include "support/world.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using namespace testing;
using Bytes = std::array<uint8_t, kSettingsBytes>;
using Boxes = std::vector<ShownBox>;

const ShownBox kSaveError75 = error_box(75, "SAVE_SETTINGS");

std::string le16(int v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

// The file a first start writes, built field by field from the documented layout.
std::string default_file(int win_top, int win_left) {
    std::string b = le16(3);
    for (int i = 0; i < 7; ++i)
        b += le16(-1);
    b += le16(0);
    for (std::string prefix : {"ZEKO2_SNAPSHOT", "ZEKO2_HTML&CSS_DUMP", "ZEKO2_HTML_DUMP"})
        b += prefix + std::string(50 - prefix.size(), ' ') + static_cast<char>(prefix.size()) +
             le16(7);
    b += std::string(26, '\0');  // LAYOUT and LAYOUT_POS
    b += le16(win_top) + le16(win_left) + le16(9000) + le16(12000) + le16(0);
    b += le16(-1) + le16(-1) + le16(1) + le16(0);
    return b + std::string(250, '\0');
}

// Every byte different from its neighbours and from the defaults.
std::string odd_file() {
    std::string b(kSettingsBytes, '\0');
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<char>(i * 37 + 11);
    return b;
}

Bytes as_bytes(const std::string& s) {
    Bytes b{};
    std::copy(s.begin(), s.end(), b.begin());
    return b;
}

const SETTINGS_REC kOdd = decode_settings(as_bytes(odd_file()));

// The defaults for a window at this place, with the layout of `kept`, which they keep.
SETTINGS_REC defaults(int win_top, int win_left, const SETTINGS_REC& kept = {}) {
    SETTINGS_REC d = decode_settings(as_bytes(default_file(win_top, win_left)));
    d.LAYOUT = kept.LAYOUT;
    d.LAYOUT_POS = kept.LAYOUT_POS;
    return d;
}

struct Fixture {
    TestWorld w;
    Services services = w.services();
    int16_t live_zoom = 0;
    SettingsStore store{w.folder.path(), services, live_zoom};
    fs::path file() const { return w.folder / "SETTINGS.DAT"; }
};

TEST(SettingsCodec, EveryByteAtEveryOffsetSurvivesAndFieldsKeepTheirPlaces) {
    const Bytes base = as_bytes(odd_file());
    for (size_t at = 0; at < base.size(); ++at) {
        for (uint8_t value : {0x00, 0x20, 0x7F, 0x80, 0x81, 0x9D, 0xFF}) {
            Bytes b = base;
            b[at] = value;
            ASSERT_EQ(encode_settings(decode_settings(b)), b) << at << " " << +value;
        }
    }
    EXPECT_EQ(kOdd.LAYOUT_POS[11], base[201] | base[202] << 8);
    EXPECT_EQ(kOdd.PIC[1].HEADER_LEN, base[121]);
    EXPECT_EQ(static_cast<uint8_t>(kOdd.RESERVED_2[249]), base[470]);
}

TEST(Settings, FirstStartWritesTheDefaultsCentredHalvesToEven) {
    Fixture f;  // screen 28800 x 16200 twips
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(read_bytes(f.file()), default_file(3600, 8400));
    EXPECT_EQ(f.store.SETTINGS, defaults(3600, 8400));
    const std::array<int32_t, 4> screens[] = {
        {30003, 16201, 9002, 3600},          // 9001.5 -> 9002, 3600.5 -> 3600
        {11001, 8999, -500, 0},              // -499.5 -> -500, -0.5 -> 0
        {7680 * 15, -60000, 32767, -32768},  // beyond 16 bits: clamped, not aborted
    };
    for (const auto& [width, height, left, top] : screens) {
        f.store.SETTINGS = kOdd;
        f.w.screen.width = width;
        f.w.screen.height = height;
        f.store.DEFAULT_SETTINGS();
        EXPECT_EQ(f.store.SETTINGS, defaults(top, left, kOdd)) << width;
    }
    EXPECT_TRUE(f.w.prompts.shown.empty());
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
    EXPECT_EQ(f.store.SETTINGS, kOdd);
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

TEST(Settings, FullLengthFileThatCannotBeReadIsTriedAgainAndNeverOverwrittenByTheDefaults) {
    // The step that fails and how often: once is read at the second try; twice leaves the file
    // alone until a later load (the start procedure's) reads it.
    const std::tuple<FileOp, int, int> cases[] = {{FileOp::Open, EMFILE, 1},
                                                  {FileOp::Read, EIO, 1},
                                                  {FileOp::Open, EMFILE, 2},
                                                  {FileOp::Read, EIO, 2}};
    for (const auto& [op, error, times] : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(op) << " x" << times);
        Fixture f;
        write_bytes(f.file(), odd_file());
        FailingFiles files;
        f.store.use_files(files.fail(op, 1, error, "settings.dat", times));
        f.live_zoom = 5;
        f.store.LOAD_SETTINGS();
        if (times > 1) {
            EXPECT_EQ(f.store.SETTINGS, defaults(3600, 8400));
            f.store.SAVE_SETTINGS();  // the map update's or the screen-shot settings' save
            EXPECT_EQ(read_bytes(f.file()), odd_file());
            f.store.LOAD_SETTINGS();
        }
        EXPECT_EQ(f.store.SETTINGS, kOdd);
        f.store.SAVE_SETTINGS();
        EXPECT_EQ(read_bytes(f.file()), le16(5) + odd_file().substr(2));
        EXPECT_TRUE(f.w.prompts.shown.empty());
    }
}

TEST(Settings, UnwritableFileShowsOneBoxPerCallAndKeepsTheDefaultsInMemory) {
    // A folder in the file's place can be neither deleted nor rewritten, even by root.
    Fixture f;
    fs::create_directories(f.file() / "keep");
    f.live_zoom = 5;
    f.store.SETTINGS = kOdd;
    f.store.SAVE_SETTINGS();
    ASSERT_EQ(f.w.prompts.shown, Boxes{kSaveError75});
    EXPECT_EQ(f.store.SETTINGS.ZOOM, kOdd.ZOOM);  // the save ended before the zoom was taken
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.store.SETTINGS, defaults(3600, 8400, kOdd));
    f.store.LOAD_SETTINGS();
    EXPECT_EQ(f.w.prompts.shown, Boxes(3, kSaveError75));
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
        FailingFiles files;
        f.store.use_files(files.read_only());
        f.store.LOAD_SETTINGS();
        EXPECT_EQ(f.store.SETTINGS, error == 0 ? kOdd : defaults(3600, 8400));
        EXPECT_EQ(f.w.prompts.shown,
                  error == 0 ? Boxes{} : Boxes{error_box(error, "SAVE_SETTINGS")});
        EXPECT_EQ(fs::exists(f.file()) ? read_bytes(f.file()) : "-", bytes);
    }
}

}  // namespace
}  // namespace zeko
