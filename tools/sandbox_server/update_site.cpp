#include "update_site.h"

#include <memory>

#include <httplib.h>

#include "web_text.h"

namespace zeko::sandbox {

namespace {

void no_store(httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
}

}  // namespace

bool is_update_option(std::string_view option) {
    return option == "--map-version" || option == "--served-map" || option == "--cut-map-download";
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
    }
    return std::nullopt;
}

void update_usage(std::ostream& out) {
    out << "  --map-version N   number the update page /mapver.html gives (default 1)\n"
           "  --served-map FILE map file served as /curmap.dat (default: the game's map; a "
           "missing file answers 404)\n"
           "  --cut-map-download yes  drop the connection half-way through /curmap.dat\n";
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

    server.Get("/tesk/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<!DOCTYPE html>\n<html><head><title>Tesk</title></head><body><p>Logo "
            "by Tesk</p></body></html>\n",
            "text/html");
    });
}

}  // namespace zeko::sandbox
