#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "map/city_map.h"
#include "support/fakes.h"

namespace zeko {
namespace {

using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

struct ToolRun {
    int exit_code;
    std::string errors;
};

std::string quoted(const std::filesystem::path& p) {
    std::string q = "'";
    q += p.string();
    q += "'";
    return q;
}

ToolRun run_mapgen(const TempFolder& folder, const std::string& args) {
    const auto err = folder / "mapgen.err";
    const std::string command = quoted(ZEKO_MAPGEN) + " " + args + " 2>" + quoted(err);
    const int status = std::system(command.c_str());
    ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_bytes(err)};
    std::filesystem::remove(err);
    return run;
}

ToolRun make_map(const TempFolder& folder, const std::string& input_text,
                 const std::string& output = "MAP.DAT") {
    write_bytes(folder / "city.txt", input_text);
    return run_mapgen(folder, quoted(folder / "city.txt") + " " + quoted(folder / output));
}

std::string plain_map(const std::filesystem::path& file) {
    std::string bytes = read_bytes(file);
    unscramble_map(bytes);
    return bytes;
}

TEST(Mapgen, WritesPaddedRecordsInTheCodePage) {
    TempFolder folder;
    const ToolRun run = make_map(folder,
                                 "# a comment\n"
                                 "\n"
                                 "0 200 7 Caf\u00E9 \u20AC\r\n"
                                 "50 50 92 Calliope Station\n"
                                 "2 4 300\n"
                                 "6 8 0 \n"
                                 "10 12 45  Two Blanks\n");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(plain_map(folder / "MAP.DAT"),
              "0002000007Caf\xE9 \x80/\\/"
              "0500500092Calliope Station/\\/"
              "0020040300/\\/"
              "0060080000/\\/"
              "0100120045 Two Blanks/\\/");
    // Only the map is left behind, no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(Mapgen, RefusesRecordsBeyondTheLimits) {
    const char* bad_inputs[] = {
        "201 0 1 East\n",      "0 -2 1 North\n",  "0 0 301 Code\n",       "0 0 -1 Negative\n",
        "x 0 1 Letters\n",     "0 0\n",           "0 0 1 A /\\/ B\n",     "0 0 1 Ends /\\\n",
        "0 0 1 Snow \u2603\n", "0 0 1x Suffix\n", "4 4 1 Fine\n\xFFxx\n",
    };
    for (const char* input : bad_inputs) {
        SCOPED_TRACE(input);
        TempFolder folder;
        const ToolRun run = make_map(folder, input);
        EXPECT_NE(run.exit_code, 0);
        EXPECT_FALSE(run.errors.empty());
        EXPECT_FALSE(std::filesystem::exists(folder / "MAP.DAT"));
    }
}

TEST(Mapgen, RefusesAMapTooLargeToLoad) {
    // 1,000 records of 33 bytes each.
    std::string input;
    for (int i = 0; i < 1000; ++i)
        input += "0 0 1 " + std::string(20, 'n') + "\n";
    TempFolder folder;
    const ToolRun run = make_map(folder, input);
    EXPECT_NE(run.exit_code, 0);
    EXPECT_NE(run.errors.find("32767"), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(folder / "MAP.DAT"));

    // The largest map that still loads: 32,767 bytes.
    const std::string last = "0 0 2 " + std::string(32767 - 33 * 992 - 13, 'n') + "\n";
    input.resize(992 * 27);
    const ToolRun fits = make_map(folder, input + last);
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
    EXPECT_FALSE(std::filesystem::exists(folder / "MAP.DAT"));

    // Without the option the one map file is replaced, under its own spelling.
    run = run_mapgen(folder, args);
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(plain_map(folder / "map.dat"), "0020020001Pub/\\/");
    EXPECT_FALSE(std::filesystem::exists(folder / "MAP.DAT"));

    // With no map there, --if-absent writes one.
    TempFolder empty;
    write_bytes(empty / "city.txt", "2 2 1 Pub\n");
    run = run_mapgen(empty,
                     "--if-absent " + quoted(empty / "city.txt") + " " + quoted(empty / "MAP.DAT"));
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(plain_map(empty / "MAP.DAT"), "0020020001Pub/\\/");
}

TEST(Mapgen, UsageErrors) {
    TempFolder folder;
    EXPECT_NE(run_mapgen(folder, "").exit_code, 0);
    EXPECT_NE(run_mapgen(folder, "--if-absent only-one").exit_code, 0);
    EXPECT_NE(run_mapgen(folder, quoted(folder / "missing.txt") + " " + quoted(folder / "M.DAT"))
                  .exit_code,
              0);
    EXPECT_FALSE(std::filesystem::exists(folder / "M.DAT"));
}

TEST(SampleCity, LoadsWithEveryPlaceWhereItShouldBe) {
    TempFolder folder;
    const ToolRun run =
        run_mapgen(folder, quoted(ZEKO_SAMPLE_CITY) + " " + quoted(folder / "MAP.DAT"));
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_LT(std::filesystem::file_size(folder / "MAP.DAT"), 32767u);

    CityMap map(folder.path());
    map.LOAD_MAP();
    ASSERT_TRUE(map.MAP_LOADED);

    const std::pair<int, int> stations[] = {{50, 50},  {100, 50},  {150, 50},
                                            {50, 100}, {100, 100}, {150, 100},
                                            {50, 150}, {100, 150}, {150, 150}};
    const char* station_names[] = {"Calliope Station",    "Clio Station",     "Erato Station",
                                   "Euterpe Station",     "Melpomne Station", "Polyhymnia Station",
                                   "Terpsichore Station", "Thalia Station",   "Urania Station"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(map.cell(stations[i].first, stations[i].second), 92 + i);
        EXPECT_EQ(map.PLACE_NAME(92 + i), station_names[i]);
    }

    std::multiset<int> codes;
    for (int x = 0; x <= 200; ++x) {
        for (int y = 0; y <= 200; ++y) {
            const int code = map.cell(x, y);
            if (code == 0) continue;
            EXPECT_TRUE(x % 2 == 0 && y % 2 == 0) << x << "," << y;
            codes.insert(code);
        }
    }
    auto once_each = [&](int first, int last) {
        for (int code = first; code <= last; ++code)
            EXPECT_EQ(codes.count(code), 1u) << code;
    };
    once_each(1, 100);    // pubs and stations
    once_each(102, 119);  // Peace Keepers and the moving guilds
    once_each(150, 174);  // shops
    once_each(198, 199);  // halls
    EXPECT_GE(codes.count(101), 150u);
    EXPECT_EQ(codes.count(231), 1u);
    EXPECT_GE(std::distance(codes.lower_bound(200), codes.end()), 10);
    for (int code = 1; code <= 91; ++code)
        EXPECT_FALSE(map.PLACE_NAME(code).empty()) << code;
    EXPECT_EQ(map.PLACE_NAME(150), "Discount Magic");
    EXPECT_EQ(map.PLACE_NAME(117), "Travellers: 1");
}

}  // namespace
}  // namespace zeko
