#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The help window's topics: list titles and pages, built from the program's own text, and the
// reading of the topic links inside those pages.
namespace zeko::help {

inline constexpr int16_t kTopicCount = 42;

// The opening of every page; never closed.
inline constexpr std::string_view kFontTag = R"(<font size = 2.9 face="Comic Sans MS">)";

// Where the pages' external pictures and links point.
struct HelpHosts {
    std::string game;
    std::string maker;
    std::string images;
};
// The hosts the program was built with.
HelpHosts built_hosts();

struct HelpTables {
    std::array<std::string, kTopicCount> HELP_TITLES;
    std::array<std::string, kTopicCount> HELP_PAGES;
};

// The list titles, topic by topic.
const std::array<std::string_view, kTopicCount>& help_titles();

// Every title and page.
HelpTables BUILD_HELP_PAGES(const HelpHosts& hosts = built_hosts());
// Page 4: the version history, newest first.
std::string BUILD_WHATS_NEW();
// Page 5: what is planned.
std::string BUILD_WHATS_NEXT();

// One version's entry in the history.
struct VersionBlock {
    std::string_view version;
    // A sentence before the list, or empty.
    std::string_view intro;
    std::vector<std::string_view> changes;
};
const std::vector<VersionBlock>& version_history();

// The address of a messenger emoticon picture.
std::string emoticon_url(const HelpHosts& hosts, int image);

// The window that owns help at this topic ("frmMAIN", "frmSET_DEST", ...); empty for a topic
// that opens no help.
std::string_view help_owner(int16_t topic);

// A link between pages: the document's address followed by a topic number. Gives the number
// (rounded half to even) for an address that starts with "about:blank", nothing otherwise. A
// number too large for a topic gives -1.
std::optional<int> topic_link(std::string_view url);

}  // namespace zeko::help
