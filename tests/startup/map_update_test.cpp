#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/files.h"
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

TEST(InstallNewMap, ReplacesTheMapWhateverItsSpellingAndNeverLeavesNone) {
    struct Case {
        const char* old_name;  // nullptr: no map installed
        const char* download;  // nullptr: nothing downloaded
        bool installed;
        const char* map_after;  // content of the one map file afterwards, nullptr for none
    };
    const std::vector<Case> cases = {
        {"MAP.DAT", "new", true, "new"},    {"map.dat", "new", true, "new"},
        {nullptr, "new", true, "new"},      {"MAP.DAT", "", false, "old"},
        {"MAP.DAT", nullptr, false, "old"}, {nullptr, nullptr, false, nullptr},
    };
    for (const auto& c : cases) {
        testing::TempFolder folder;
        if (c.old_name) testing::write_bytes(folder / c.old_name, "old");
        if (c.download) testing::write_bytes(folder / "map.new", c.download);
        EXPECT_EQ(install_new_map(folder.path()), c.installed) << c.old_name << c.download;
        EXPECT_FALSE(file_exists(folder / "map.new"));
        const auto map = resolve_in_folder(folder.path(), "MAP.DAT");
        ASSERT_EQ(file_exists(map), c.map_after != nullptr);
        if (c.map_after) {
            EXPECT_EQ(read_or_create(map), c.map_after);
        }
        int files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.path()))
            ++files;
        EXPECT_EQ(files, c.map_after ? 1 : 0);
    }
}

}  // namespace
}  // namespace zeko
