// The source folders form layers that only point down: common <- map <- minimap <- the
// features (main, startup, screenshots, tools, help) <- the windows' kit (widgets, platform)
// <- the windows (every ui/ folder) <- app. A window folder never includes another one: what
// two windows share is in the kit. Core folders never see Qt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kWindows = 5;

// The layer of a source file, by its path below src/; -1 for a folder nobody placed yet.
int layer_of(const std::string& relative) {
    static const std::map<std::string, int> kFolders = {
        {"common", 0},  {"map", 1},         {"minimap", 2}, {"main", 3},
        {"startup", 3}, {"screenshots", 3}, {"tools", 3},   {"help", 3},
        {"widgets", 4}, {"platform", 4},    {"app", 6}};
    const auto slash = relative.find('/');
    if (slash == std::string::npos) return -1;
    const auto found = kFolders.find(relative.substr(0, slash));
    if (found == kFolders.end()) return -1;
    if (relative.find("/ui/") != std::string::npos) return kWindows;
    return found->second;
}

// The window folder a file is in ("main/ui/"), or "" outside the windows.
std::string window_folder(const std::string& relative) {
    const auto ui = relative.find("/ui/");
    return ui == std::string::npos ? std::string() : relative.substr(0, ui + 4);
}

// Whether a file's include of another source file goes against the layers. Generated
// headers (hosts.h) sit at the bottom.
bool points_wrong(const std::string& self, const std::string& included) {
    const int own = layer_of(self);
    const std::string other = window_folder(included);
    return layer_of(included) > own ||
           (own == kWindows && !other.empty() && other != window_folder(self));
}

TEST(Layers, WindowsLeanOnTheKitAndNeverOnEachOther) {
    struct Case {
        const char* self;
        const char* included;
        bool wrong;
    };
    const Case cases[] = {
        {"startup/ui/frm_splash.cpp", "widgets/vb_widgets.h", false},
        {"startup/ui/frm_splash.cpp", "startup/ui/frm_splash.h", false},
        {"startup/ui/frm_splash.cpp", "main/program_state.h", false},
        {"startup/ui/frm_splash.cpp", "main/ui/vb_widgets.h", true},
        {"minimap/ui/frm_set_dest.cpp", "main/ui/frm_main.h", true},
        {"help/ui/frm_about.cpp", "startup/ui/splash_art.h", true},
        {"main/ui/frm_main.cpp", "tools/ui/frm_skills.h", true},
        {"widgets/artwork.cpp", "main/ui/frm_main.h", true},
        {"widgets/artwork.cpp", "platform/browser.h", false},
        {"main/tracking.cpp", "widgets/traps.h", true},
        {"app/app_windows.cpp", "main/ui/frm_main.h", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(points_wrong(c.self, c.included), c.wrong) << c.self << " -> " << c.included;
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
                if (points_wrong(self, m[1].str()))
                    wrong.push_back(self + " includes " + m[1].str());
            } else if (own < 4 && std::regex_search(line, m, system)) {
                wrong.push_back(self + " (core) includes Qt: " + line);
            }
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

}  // namespace
