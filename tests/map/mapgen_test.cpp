#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "map/city_map.h"
#include "support/fakes.h"

namespace zeko {
namespace {

using namespace testing;

struct ToolRun {
    int exit_code;
    std::string errors;
};

std::string quoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

ToolRun run_mapgen(const TempFolder& folder, const std::string& args) {
    const auto err = folder / "mapgen.err";
    const std::string command = quoted(ZEKO_MAPGEN) + " " + args + " 2>" + quoted(err);
    const int status = std::system(command.c_str());
    ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_bytes(err)};
    std::filesystem::remove(err);
    return run;
}

ToolRun make_map(const TempFolder& folder, const std::string& input_text) {
    write_bytes(folder / "city.txt", input_text);
    return run_mapgen(folder, quoted(folder / "city.txt") + " " + quoted(folder / "MAP.DAT"));
}

std::string plain_map(const std::filesystem::path& file) {
    std::string bytes = read_bytes(file);
    unscramble_map(bytes);
    return bytes;
}

TEST(Mapgen, WritesPaddedRecordsInTheCodePage) {
    TempFolder folder;
    const ToolRun run = make_map(folder,
                                 "# a comment\n\n0 200 7 Caf\u00E9 \u20AC\r\n50 50 92 Calliope\n"
                                 "2 4 300\n6 8 0 \n10 12 45  Two Blanks\n");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(plain_map(folder / "MAP.DAT"),
              "0002000007Caf\xE9 \x80/\\/0500500092Calliope/\\/0020040300/\\/0060080000/\\/"
              "0100120045 Two Blanks/\\/");
    // Only the map is left behind, no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST(Mapgen, RefusesWhatTheLoaderCouldNotReadBack) {
    std::string too_large;  // 1,000 records of 33 bytes each
    for (int i = 0; i < 1000; ++i)
        too_large += "0 0 1 " + std::string(20, 'n') + "\n";
    const std::string bad_second_line = "4 4 1 Fine\n\xFFxx";
    // Each without its last line end.
    const std::string bad_inputs[] = {
        "201 0 1 East",  "0 -2 1 North",   "0 0 301 Code",   "x 0 1 Letters",     "0 0",
        "0 0 1x Suffix", "0 0 1 A /\\/ B", "0 0 1 Ends /\\", "0 0 1 Snow \u2603", bad_second_line,
        too_large};
    for (const std::string& input : bad_inputs) {
        SCOPED_TRACE(input.substr(0, 40));
        TempFolder folder;
        const ToolRun run = make_map(folder, input + "\n");
        EXPECT_NE(run.exit_code, 0);
        EXPECT_FALSE(run.errors.empty());
        EXPECT_FALSE(std::filesystem::exists(folder / "MAP.DAT"));
    }
    TempFolder folder;
    EXPECT_NE(run_mapgen(folder, quoted(folder / "missing.txt") + " " + quoted(folder / "M.DAT"))
                  .exit_code,
              0);

    // The largest map that still loads: 32,767 bytes.
    const std::string last = "0 0 2 " + std::string(32767 - 33 * 992 - 13, 'n') + "\n";
    const ToolRun fits = make_map(folder, too_large.substr(0, 992 * 27) + last);
    ASSERT_EQ(fits.exit_code, 0) << fits.errors;
    EXPECT_EQ(read_bytes(folder / "MAP.DAT").size(), 32767u);
}

TEST(Mapgen, IfAbsentNeverOverwritesAnInstalledMap) {
    TempFolder folder;
    write_bytes(folder / "map.dat", "installed by an update");
    write_bytes(folder / "city.txt", "2 2 1 Pub\n");
    const std::string args = quoted(folder / "city.txt") + " " + quoted(folder / "MAP.DAT");
    ToolRun run = run_mapgen(folder, "--if-absent " + args);
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(read_bytes(folder / "map.dat"), "installed by an update");

    // Without the option the one map file is replaced, under its own spelling.
    run = run_mapgen(folder, args);
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(plain_map(folder / "map.dat"), "0020020001Pub/\\/");
    EXPECT_FALSE(std::filesystem::exists(folder / "MAP.DAT"));
}

TEST(SampleCity, LoadsWithTheStationsOnTheirFixedBlocks) {
    TempFolder folder;
    const ToolRun run =
        run_mapgen(folder, quoted(ZEKO_SAMPLE_CITY) + " " + quoted(folder / "MAP.DAT"));
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    CityMap map(folder.path());
    map.LOAD_MAP();
    ASSERT_TRUE(map.MAP_LOADED);
    // Stations are named bare: the program adds " Station" where it says so.
    EXPECT_EQ(map.PLACE_NAME(92), "Calliope");
    int16_t station = 92;
    for (int y : {50, 100, 150})
        for (int x : {50, 100, 150})
            EXPECT_EQ(map.cell(x, y), station++) << x << "," << y;
}

}  // namespace
}  // namespace zeko
