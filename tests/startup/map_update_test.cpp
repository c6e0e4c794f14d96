#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/files.h"
#include "map/city_map.h"
#include "startup/map_update.h"
#include "support/fakes.h"

namespace zeko {
namespace {

TEST(RemoteMapVersion, ReadsTheLeadingNumberOrGivesZero) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"7<BR>", 7},        {"  12 maps", 12}, {"6.5", 6},       {"7.5", 8},   {"-3", -3},
        {"<H1>404</H1>", 0}, {"", 0},           {"32767", 32767}, {"32768", 0}, {"1e9", 0},
        {"Not Found\n", 0},
    };
    for (const auto& [body, version] : cases)
        EXPECT_EQ(remote_map_version(body), version) << body;
}

std::string scrambled(std::string plain) {
    scramble_map(plain);
    return plain;
}

TEST(InstallNewMap, ReplacesTheMapWhateverItsSpellingAndNeverLeavesNone) {
    const std::string map = scrambled("1001900018The Fresh Paint/\\/0020020101Bank/\\/");
    struct Case {
        const char* old_name;                 // nullptr: no map installed
        std::optional<std::string> download;  // none: nothing downloaded
        bool installed;
        std::optional<std::string> map_after;  // the one map file afterwards, none for none
    };
    const std::vector<Case> cases = {
        {"MAP.DAT", map, true, map},
        {"map.dat", map, true, map},
        {nullptr, map, true, map},
        {"MAP.DAT", "", false, "old"},
        {"MAP.DAT", std::nullopt, false, "old"},
        {nullptr, std::nullopt, false, std::nullopt},
    };
    for (const auto& c : cases) {
        testing::TempFolder folder;
        if (c.old_name) testing::write_bytes(folder / c.old_name, "old");
        if (c.download) testing::write_bytes(folder / "map.new", *c.download);
        EXPECT_EQ(install_new_map(folder.path()), c.installed)
            << c.old_name << c.download.has_value();
        EXPECT_FALSE(file_exists(folder / "map.new"));
        const auto map_file = resolve_in_folder(folder.path(), "MAP.DAT");
        ASSERT_EQ(file_exists(map_file), c.map_after.has_value());
        if (c.map_after) {
            EXPECT_EQ(read_or_create(map_file), *c.map_after);
        }
        int files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.path()))
            ++files;
        EXPECT_EQ(files, c.map_after ? 1 : 0);
    }
}

// Only a map the loader reads whole replaces the installed one.
TEST(InstallNewMap, TakesOnlyAWholeMap) {
    const std::string records = "1001900018The Fresh Paint/\\/0020020101Bank/\\/";
    std::string oversize;
    while (oversize.size() <= 32767)
        oversize += records;
    const std::pair<std::string, bool> downloads[] = {
        {scrambled(records), true},
        {scrambled(records + " \r\n \n"), true},  // line breaks after the last record
        {"<HTML><BODY>Moved</BODY></HTML>\n", false},
        {scrambled(records.substr(0, 20)), false},                  // cut in the first record
        {scrambled(records.substr(0, records.size() - 1)), false},  // cut in the last mark
        {scrambled(records + "0030"), false},  // cut in a record after a whole one
        {scrambled(oversize), false},
        {scrambled("1001900018Fine/\\/2010000000Off the grid/\\/"), false},
        {scrambled(" \r\n"), false},  // no record at all
    };
    for (const auto& [download, installed] : downloads) {
        testing::TempFolder folder;
        testing::write_bytes(folder / "MAP.DAT", "old");
        testing::write_bytes(folder / "map.new", download);
        EXPECT_EQ(install_new_map(folder.path()), installed) << download.size();
        EXPECT_EQ(read_or_create(folder / "MAP.DAT"), installed ? download : "old");
        EXPECT_FALSE(file_exists(folder / "map.new"));
    }
}

}  // namespace
}  // namespace zeko
