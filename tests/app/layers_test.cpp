// The source folders form layers that only point down: common <- map <- minimap <- the
// features (main, startup, screenshots, tools, help) <- the windows (platform and every ui/
// folder) <- app. Core folders never see Qt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The layer of a source file, by its path below src/; -1 for a folder nobody placed yet.
int layer_of(const std::string& relative) {
    static const std::map<std::string, int> kFolders = {
        {"common", 0},      {"map", 1},   {"minimap", 2}, {"main", 3},     {"startup", 3},
        {"screenshots", 3}, {"tools", 3}, {"help", 3},    {"platform", 4}, {"app", 5}};
    const auto slash = relative.find('/');
    if (slash == std::string::npos) return -1;
    const auto found = kFolders.find(relative.substr(0, slash));
    if (found == kFolders.end()) return -1;
    if (relative.find("/ui/") != std::string::npos) return 4;
    return found->second;
}

TEST(Layers, IncludesPointDownAndTheCoreNeverSeesQt) {
    const fs::path src = fs::path(ZEKO_SOURCE_DIR) / "src";
    const std::regex local(R"(^\s*#\s*include\s*"([^"]+)\")");
    const std::regex system(R"(^\s*#\s*include\s*<(Q\w*|Qt\w*/)[^>]*>)");
    std::vector<std::string> wrong;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        ++files;
        const std::string self = fs::relative(entry.path(), src).generic_string();
        const int own = layer_of(self);
        if (own < 0) {
            wrong.push_back(self + ": in a folder with no layer");
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            std::smatch m;
            if (std::regex_search(line, m, local)) {
                const int target = layer_of(m[1].str());
                // Generated headers (hosts.h) sit at the bottom.
                if (target > own) wrong.push_back(self + " includes " + m[1].str());
            } else if (own < 4 && std::regex_search(line, m, system)) {
                wrong.push_back(self + " (core) includes Qt: " + line);
            }
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

}  // namespace
