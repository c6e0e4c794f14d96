#include "update_faults.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <thread>
#include <utility>

#include <httplib.h>

#include "map/city_map.h"
#include "web_text.h"

namespace zeko::sandbox {

namespace {

using MapDownload = UpdateFaults::MapDownload;

constexpr std::pair<std::string_view, MapDownload> kMapDownloads[] = {
    {"none", MapDownload::none},         {"html", MapDownload::html},
    {"redirect", MapDownload::redirect}, {"unsized-cut", MapDownload::unsized_cut},
    {"oversize", MapDownload::oversize},
};

// Far longer than the program waits for the version page.
constexpr auto kSilence = std::chrono::minutes(1);
// The size of the oversized map: far beyond what the program's loader takes.
constexpr size_t kOversizeBytes = 54890;
constexpr const char* kMovedPage = "/maps/moved.html";

constexpr std::string_view kHtmlPage =
    "<!DOCTYPE html>\n<HTML><HEAD><TITLE>Moved</TITLE></HEAD><BODY><H1>Moved</H1><P>The map "
    "has moved. Please look again later.</P></BODY></HTML>\n";

// The map's own records and one more whose name fills the file up to the size (a map file
// already larger gains a short record).
std::string oversized(std::string map) {
    unscramble_map(map);
    std::string record = "1001900018";
    const size_t full = map.size() + record.size() + 3;
    record.append(kOversizeBytes > full ? kOversizeBytes - full : 0, '.');
    map += record + "/\\/";
    scramble_map(map);
    return map;
}

void send_html(httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    res.set_content(std::string(kHtmlPage), "text/html");
}

}  // namespace

bool is_update_fault_option(std::string_view option) {
    return option == "--bad-map-download" || option == "--silent-version-page";
}

std::optional<std::string> set_update_fault_option(UpdateFaults& faults, std::string_view option,
                                                   const std::string& value) {
    if (option == "--silent-version-page") {
        if (value != "yes" && value != "no") return "--silent-version-page takes yes or no";
        faults.silent_version_page = value == "yes";
        return std::nullopt;
    }
    for (const auto& [name, kind] : kMapDownloads) {
        if (value == name) {
            faults.map_download = kind;
            return std::nullopt;
        }
    }
    return "--bad-map-download takes none, html, redirect, unsized-cut or oversize";
}

void update_fault_usage(std::ostream& out) {
    out << "  --bad-map-download KIND  what /curmap.dat answers instead of the map: html (a web\n"
           "                    page), redirect (to a web page), unsized-cut (half the map, no\n"
           "                    Content-Length, then the connection closes), oversize (a\n"
           "                    well-formed map of 54,890 bytes); default none\n"
           "  --silent-version-page yes  /mapver.html takes each request and sends nothing\n"
           "                    for a minute\n";
}

void add_update_fault_routes(httplib::Server& server, const UpdateFaults& faults,
                             const std::optional<std::filesystem::path>& served_map,
                             const std::atomic<bool>& stopping) {
    if (faults.silent_version_page) {
        server.Get(R"(/mapver\.html)",
                   [&stopping](const httplib::Request&, httplib::Response& res) {
                       const auto until = std::chrono::steady_clock::now() + kSilence;
                       while (!stopping && std::chrono::steady_clock::now() < until)
                           std::this_thread::sleep_for(std::chrono::milliseconds(50));
                       res.status = 503;
                   });
    }

    switch (faults.map_download) {
        case MapDownload::none:
            return;
        case MapDownload::html:
            server.Get(R"(/curmap\.dat)",
                       [](const httplib::Request&, httplib::Response& res) { send_html(res); });
            return;
        case MapDownload::redirect:
            server.Get(R"(/curmap\.dat)", [](const httplib::Request&, httplib::Response& res) {
                res.set_redirect(kMovedPage);
            });
            server.Get(kMovedPage,
                       [](const httplib::Request&, httplib::Response& res) { send_html(res); });
            return;
        case MapDownload::unsized_cut:
        case MapDownload::oversize:
            break;
    }

    auto map = served_map ? read_file(*served_map) : std::nullopt;
    if (!map) {
        std::cerr << "sandbox_server: no map to serve; /curmap.dat answers 404\n";
        return;  // the update site's own route answers 404
    }
    if (faults.map_download == MapDownload::oversize) {
        server.Get(R"(/curmap\.dat)", [bytes = oversized(std::move(*map))](const httplib::Request&,
                                                                           httplib::Response& res) {
            res.set_header("Cache-Control", "no-store");
            res.set_content(bytes, "application/octet-stream");
        });
        return;
    }
    auto half = std::make_shared<std::string>(map->substr(0, map->size() / 2));
    server.Get(R"(/curmap\.dat)", [half](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        // Without a length the end of the connection ends the body, so nothing tells the
        // client that the rest is missing.
        res.set_content_provider("application/octet-stream",
                                 [half](size_t, httplib::DataSink& sink) {
                                     sink.write(half->data(), half->size());
                                     sink.done();
                                     return true;
                                 });
    });
}

}  // namespace zeko::sandbox
