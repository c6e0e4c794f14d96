#include "update_site.h"

#include <fstream>
#include <iostream>
#include <iterator>
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

std::optional<std::string> read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void no_store(httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
}

}  // namespace

bool is_update_option(std::string_view option) {
    return option == "--map-version" || option == "--served-map" ||
           option == "--cut-map-download" || option == "--guild-page";
}

std::optional<std::string> set_update_option(UpdateSiteOptions& options, std::string_view option,
                                             const std::string& value) {
    if (option == "--map-version") {
        const auto number = parse_int(value);
        if (!number) return "the map version must be a whole number";
        options.map_version = *number;
    } else if (option == "--served-map") {
        options.served_map = value;
    } else if (option == "--cut-map-download") {
        if (value != "yes" && value != "no") return "--cut-map-download takes yes or no";
        options.cut_map_download = value == "yes";
    } else {
        options.guild_page = value;
    }
    return std::nullopt;
}

void update_usage(std::ostream& out) {
    out << "  --map-version N   number the update page /mapver.html gives (default 1)\n"
           "  --served-map FILE map file served as /curmap.dat (default: the game's map; a "
           "missing file answers 404)\n"
           "  --cut-map-download yes  drop the connection half-way through /curmap.dat\n"
           "  --guild-page FILE page served as /cgi-bin/index.cgi (default: all fifteen guilds "
           "on new blocks)\n";
}

std::string default_guild_page() {
    CityMap names{std::filesystem::path()};
    std::string page =
        "<!DOCTYPE html>\n<HTML><HEAD><TITLE>Vampires! Guild Information</TITLE></HEAD>\n"
        "<BODY bgcolor=black text=white>\n<H1>Guild Information</H1>\n<P class=intro>";
    for (int i = 0; i < 30; ++i)
        page += "Guild halls move around the city from time to time; this page follows them. ";
    page +=
        "</P>\n<!-- header end -->\n<P>Guilds are moving again in 1 days, 3H 20MIN</P>\n"
        "<TABLE border=1 cellpadding=2>\n<TR>\n<TH>Guild</TH><TH>Location</TH><TH>Seen</TH>"
        "<TH>Notes</TH></TR>\n";
    for (int i = 0; i < 15; ++i) {
        page += "<TR>\n<TD>" + std::string(kPageNames[i]) + "</TD><TD>SE of " +
                html_escape(names.STREET_NAME_X(60 + 2 * i)) + " and " +
                html_escape(names.STREET_NAME_Y(95)) + "</TD><TD>today</TD><TD>Hall " +
                std::to_string(i + 1) + "</TD></TR>\n";
    }
    page += "</TABLE>\n<P>Reported by players.</P>\n</BODY></HTML>\n";
    return page;
}

void add_update_routes(httplib::Server& server, const UpdateSiteOptions& options,
                       const std::optional<std::filesystem::path>& game_map) {
    const std::string version =
        "<HTML><BODY>" + std::to_string(options.map_version) + "<BR>\n</BODY></HTML>\n";
    server.Get(R"(/mapver\.html)", [version](const httplib::Request&, httplib::Response& res) {
        no_store(res);
        res.set_content(version, "text/html");
    });

    const auto served = options.served_map ? options.served_map : game_map;
    const bool cut = options.cut_map_download;
    server.Get(R"(/curmap\.dat)", [served, cut](const httplib::Request&, httplib::Response& res) {
        no_store(res);
        auto map = served ? read_file(*served) : std::nullopt;
        if (!map) {
            res.status = 404;
            return;
        }
        if (!cut) {
            res.set_content(std::move(*map), "application/octet-stream");
            return;
        }
        auto bytes = std::make_shared<std::string>(std::move(*map));
        res.set_content_provider(bytes->size(), "application/octet-stream",
                                 [bytes](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset > 0) return false;  // the rest never comes
                                     sink.write(bytes->data(), bytes->size() / 2);
                                     return true;
                                 });
    });

    std::string guilds = default_guild_page();
    if (options.guild_page) {
        if (auto page = read_file(*options.guild_page)) {
            guilds = std::move(*page);
        } else {
            std::cerr << "sandbox_server: cannot read " << options.guild_page->string()
                      << "; serving the default guild page\n";
        }
    }
    server.Get(R"(/cgi-bin/index\.cgi)", [guilds](const httplib::Request&, httplib::Response& res) {
        no_store(res);
        res.set_content(guilds, "text/html");
    });

    server.Get("/tesk/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<!DOCTYPE html>\n<html><head><title>Tesk</title></head><body><p>Logo "
            "by Tesk</p></body></html>\n",
            "text/html");
    });
}

}  // namespace zeko::sandbox
