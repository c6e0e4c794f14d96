#include "guild_site.h"

#include <algorithm>
#include <atomic>
#include <iostream>
#include <memory>

#include <httplib.h>

#include "map/city_map.h"
#include "web_text.h"

namespace zeko::sandbox {

namespace {

constexpr std::string_view kPageNames[] = {
    "Allurist guild 1",   "Allurist guild 2",   "Allurist guild 3",   "Empaths guild 1",
    "Empaths guild 2",    "Empaths guild 3",    "Immolators guild 1", "Immolators guild 2",
    "Immolators guild 3", "Thieves guild 1",    "Thieves guild 2",    "Thieves guild 3",
    "Travellers guild 1", "Travellers guild 2", "Travellers guild 3"};
constexpr int kGuilds = static_cast<int>(std::size(kPageNames));

using Kind = GuildLook::Kind;
constexpr std::pair<std::string_view, Kind> kLookNames[] = {{"all", Kind::all},
                                                            {"maintenance", Kind::maintenance},
                                                            {"no-table", Kind::no_table},
                                                            {"one-line", Kind::one_line},
                                                            {"late-days", Kind::late_days}};
constexpr std::string_view kLacking = "lacking=";

std::optional<GuildLook> look_named(std::string_view name) {
    for (const auto& [text, kind] : kLookNames) {
        if (name == text) return GuildLook{kind, 0};
    }
    if (name.substr(0, kLacking.size()) != kLacking) return std::nullopt;
    const auto guild = parse_int(name.substr(kLacking.size()));
    if (!guild || *guild < 0 || *guild >= kGuilds) return std::nullopt;
    return GuildLook{Kind::lacking, *guild};
}

}  // namespace

bool is_guild_option(std::string_view option) {
    return option == "--guild-page" || option == "--guild-look";
}

std::optional<std::string> set_guild_option(GuildSiteOptions& options, std::string_view option,
                                            const std::string& value) {
    if (option == "--guild-page") {
        options.guild_page = value;
        return std::nullopt;
    }
    std::vector<GuildLook> looks;
    for (size_t start = 0; start <= value.size();) {
        const size_t comma = std::min(value.find(',', start), value.size());
        const auto look = look_named(std::string_view(value).substr(start, comma - start));
        if (!look) {
            return "--guild-look takes all, maintenance, no-table, one-line, late-days or "
                   "lacking=0..14, separated by commas";
        }
        looks.push_back(*look);
        start = comma + 1;
    }
    options.looks = std::move(looks);
    return std::nullopt;
}

void guild_usage(std::ostream& out) {
    out << "  --guild-page FILE page served as /cgi-bin/index.cgi (default: all fifteen guilds "
           "on new blocks)\n"
           "  --guild-look LOOKS how the built-in guild page looks, one look per request, the "
           "last one staying:\n"
           "                    all, maintenance, no-table, one-line (rows written <TR><TD>),\n"
           "                    late-days (no days in the move time, a later word has them),\n"
           "                    lacking=N (guild N, 0..14, not listed); e.g. all,lacking=3\n";
}

std::string guild_page(const GuildLook& look) {
    std::string page =
        "<!DOCTYPE html>\n<HTML><HEAD><TITLE>Vampires! Guild Information</TITLE></HEAD>\n"
        "<BODY bgcolor=black text=white>\n<H1>Guild Information</H1>\n<P class=intro>";
    for (int i = 0; i < 30; ++i)
        page += "Guild halls move around the city from time to time; this page follows them. ";
    page += "</P>\n<!-- header end -->\n";
    if (look.kind == Kind::maintenance) {
        return page +
               "<P>The guild information is down for maintenance. Please come back later.</P>\n"
               "</BODY></HTML>\n";
    }
    page += look.kind == Kind::late_days ? "<P>Guilds are moving again in 3H 20MIN</P>\n"
                                         : "<P>Guilds are moving again in 1 days, 3H 20MIN</P>\n";

    CityMap names{std::filesystem::path()};
    const bool table = look.kind != Kind::no_table;
    const std::string row_start = look.kind == Kind::one_line ? "<TR>" : "<TR>\n";
    const auto place = [&](int i) {
        return "SE of " + html_escape(names.STREET_NAME_X(60 + 2 * i)) + " and " +
               html_escape(names.STREET_NAME_Y(95));
    };
    page += table ? "<TABLE border=1 cellpadding=2>\n" + row_start +
                        "<TH>Guild</TH><TH>Location</TH><TH>Seen</TH><TH>Notes</TH></TR>\n"
                  : "<UL>\n";
    for (int i = 0; i < kGuilds; ++i) {
        if (look.kind == Kind::lacking && look.lacking == i) continue;
        const std::string name(kPageNames[i]), hall = "Hall " + std::to_string(i + 1);
        page += table ? row_start + "<TD>" + name + "</TD><TD>" + place(i) +
                            "</TD><TD>today</TD><TD>" + hall + "</TD></TR>\n"
                      : "<LI>" + name + ": " + place(i) + " (" + hall + ")</LI>\n";
    }
    page += table ? "</TABLE>\n" : "</UL>\n";
    if (look.kind == Kind::late_days) page += "<P>Halls stay put for a few days.</P>\n";
    return page + "<P>Reported by players.</P>\n</BODY></HTML>\n";
}

void add_guild_routes(httplib::Server& server, const GuildSiteOptions& options) {
    std::vector<std::string> pages;
    if (options.guild_page) {
        if (auto page = read_file(*options.guild_page)) {
            pages.push_back(std::move(*page));
        } else {
            std::cerr << "sandbox_server: cannot read " << options.guild_page->string()
                      << "; serving the built-in guild page\n";
        }
    }
    if (pages.empty()) {
        for (const GuildLook& look : options.looks)
            pages.push_back(guild_page(look));
    }
    auto served = std::make_shared<std::atomic<size_t>>(0);
    server.Get(R"(/cgi-bin/index\.cgi)",
               [pages, served](const httplib::Request&, httplib::Response& res) {
                   const size_t turn = std::min(served->fetch_add(1), pages.size() - 1);
                   res.set_header("Cache-Control", "no-store");
                   res.set_content(pages[turn], "text/html");
               });
}

}  // namespace zeko::sandbox
