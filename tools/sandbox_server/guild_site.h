#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace httplib {
class Server;
}

namespace zeko::sandbox {

// How the guild site's page looks: every guild in the site's usual table, or one of the ways
// the real site has been seen to differ from it.
struct GuildLook {
    enum class Kind {
        all,          // the fifteen guilds, each row opened by "<TR>" and a line break
        maintenance,  // a notice instead of the move time and the table
        no_table,     // the guilds listed, but not in a table
        one_line,     // the table with each row written "<TR><TD>..."
        late_days,    // the move time without days; a sentence after the table has the word
        lacking,      // the usual table without the guild `lacking`
    };
    Kind kind = Kind::all;
    int lacking = 0;  // 0 to 14
};

struct GuildSiteOptions {
    // A file served instead of the built-in page.
    std::optional<std::filesystem::path> guild_page;
    // The looks the page takes request by request; the last one stays.
    std::vector<GuildLook> looks{GuildLook{}};
};

// Whether `option` ("--guild-page", ...) is one of these.
bool is_guild_option(std::string_view option);
// Sets an option from its value; the reason when the value does not do.
std::optional<std::string> set_guild_option(GuildSiteOptions& options, std::string_view option,
                                            const std::string& value);
void guild_usage(std::ostream& out);

// The built-in page in that look. Guild i stands on the block south-east of X street 60 + 2i
// and Y street 95; the guilds move in 1 days, 3H 20MIN.
std::string guild_page(const GuildLook& look);

// "/cgi-bin/index.cgi".
void add_guild_routes(httplib::Server& server, const GuildSiteOptions& options);

}  // namespace zeko::sandbox
