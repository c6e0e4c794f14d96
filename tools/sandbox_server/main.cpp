// sandbox_server [--port N] [--host 127.0.0.1] [--map MAP.DAT] [--state-file F] [--look FIELDS]
//
// A small stand-in for the game's web server, for the tests and for trying the program on a
// machine without the real hosts. Serves on a loopback address only.

#include <arpa/inet.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include <httplib.h>

#include "common/files.h"
#include "guild_site.h"
#include "hit_counter.h"
#include "images_site.h"
#include "sandbox_game.h"
#include "update_faults.h"
#include "update_site.h"
#include "web_text.h"

namespace fs = std::filesystem;
using namespace zeko::sandbox;

namespace {

constexpr int kDefaultPort = 18080;
constexpr size_t kMaxBodyBytes = 64 * 1024;

struct Options {
    int port = kDefaultPort;
    std::string host = "127.0.0.1";
    std::optional<fs::path> map_file;
    std::optional<fs::path> state_file;
    Look look;
    UpdateSiteOptions update;
    UpdateFaults faults;
    GuildSiteOptions guilds;
};

void usage(std::ostream& out) {
    out << "usage: sandbox_server [--port N] [--host 127.0.0.1] [--map MAP.DAT] "
           "[--state-file FILE] [--look FIELDS]\n"
           "  --port N          port to listen on (0 picks a free one; default "
        << kDefaultPort
        << ")\n"
           "  --host ADDRESS    loopback address to listen on (default 127.0.0.1)\n"
           "  --map FILE        scrambled map file naming the places (default: MAP.DAT beside "
           "this program, when there is one)\n"
           "  --state-file FILE write the characters' positions there after each change\n"
           "  --look FIELDS     how game pages look, e.g. cells=bare&chat=before&points=empty\n"
           "                    (cells=classed|mixed|bare, chat=none|before|after,\n"
           "                    points=shown|empty, table=shown|none, walk=MS: the page sends\n"
           "                    its own move or ride after MS milliseconds; default: classed\n"
           "                    cells, no chat, points and table shown, no walking)\n";
    update_usage(out);
    update_fault_usage(out);
    guild_usage(out);
}

bool is_loopback(const std::string& host) {
    in_addr v4{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    if (inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        return IN6_IS_ADDR_LOOPBACK(&v6) != 0;
    }
    return false;
}

// Parses the command line; on a fault prints why and returns nothing.
std::optional<Options> parse_options(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::optional<std::string> value;
        if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            std::exit(0);
        }
        const bool known = arg == "--port" || arg == "--host" || arg == "--map" ||
                           arg == "--state-file" || arg == "--look" || is_update_option(arg) ||
                           is_update_fault_option(arg) || is_guild_option(arg);
        if (!known) {
            std::cerr << "sandbox_server: unknown option " << arg << "\n";
            usage(std::cerr);
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= argc) {
                std::cerr << "sandbox_server: " << arg << " needs a value\n";
                return std::nullopt;
            }
            value = argv[++i];
        }
        if (arg == "--port") {
            const auto port = parse_int(*value);
            if (!port || *port < 0 || *port > 65535) {
                std::cerr << "sandbox_server: the port must be a number from 0 to 65535\n";
                return std::nullopt;
            }
            o.port = *port;
        } else if (arg == "--host") {
            if (!is_loopback(*value)) {
                std::cerr << "sandbox_server: only a loopback address (127.x.x.x or ::1) is "
                             "accepted as host\n";
                return std::nullopt;
            }
            o.host = *value;
        } else if (arg != "--map" && arg != "--state-file") {
            // The page looks and the update and guild sites say themselves what is wrong.
            std::optional<std::string> why;
            if (arg == "--look")
                why = apply_look(*value, o.look);
            else if (is_update_option(arg))
                why = set_update_option(o.update, arg, *value);
            else if (is_update_fault_option(arg))
                why = set_update_fault_option(o.faults, arg, *value);
            else
                why = set_guild_option(o.guilds, arg, *value);
            if (why) {
                std::cerr << "sandbox_server: " << *why << "\n";
                return std::nullopt;
            }
        } else if (arg == "--map") {
            o.map_file = fs::path(*value);
        } else {
            o.state_file = fs::path(*value);
        }
    }
    return o;
}

std::optional<fs::path> default_map_file() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    const fs::path map = zeko::resolve_in_folder(exe.parent_path(), "MAP.DAT");
    if (!fs::is_regular_file(map, ec)) return std::nullopt;
    return map;
}

Login login_of(const httplib::Request& req) {
    // Read from the header map itself: the library's value getter stops at a NUL byte.
    const auto [first, last] = req.headers.equal_range("Cookie");
    for (auto it = first; it != last; ++it) {
        if (auto value = cookie_value(it->second, "ip")) return login_from_cookie(value);
    }
    return {};
}

void send_page(httplib::Response& res, std::string html) {
    res.set_header("Cache-Control", "no-store");
    res.set_content(std::move(html), "text/html; charset=utf-8");
}

void add_routes(httplib::Server& server, SandboxGame& game, HitCounter& hits) {
    // Counted before routing, so requests for pages this server lacks are counted too.
    server.set_pre_routing_handler([&hits](const httplib::Request& req, httplib::Response&) {
        hits.count(req.path);
        return httplib::Server::HandlerResponse::Unhandled;
    });

    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/blood.pl?action=welcome");
    });
    server.Get(R"(/blood\.pl)", [&game](const httplib::Request& req, httplib::Response& res) {
        send_page(res, game.page(login_of(req)));
    });
    server.Post(R"(/blood\.pl)", [&game](const httplib::Request& req, httplib::Response& res) {
        send_page(res, game.post(login_of(req), req.body));
    });
    server.Get(R"(/blood\.css)", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(blood_css()), "text/css");
    });

    // The maker's site: home, donation and the two usage-count pages (the hits count them).
    const std::pair<const char*, const char*> maker_pages[] = {
        {R"(/ZEKO2/)", "Z.E.K.O.2"},
        {R"(/ZEKO2/donate\.php)", "Donate"},
        {R"(/ZEKO2/MISC/plus_all\.php)", "Thank you"},
        {R"(/ZEKO2/MISC/plus_hit\.php)", "Thank you"},
    };
    for (const auto& [pattern, title] : maker_pages) {
        const std::string html = "<!DOCTYPE html>\n<html><head><title>" + std::string(title) +
                                 "</title></head><body><p>" + title + "</p></body></html>\n";
        server.Get(pattern, [html](const httplib::Request&, httplib::Response& res) {
            send_page(res, html);
        });
    }

    server.Get("/sandbox/state", [&game](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_content(game.state_text(), "text/plain; charset=utf-8");
    });
    server.Get("/sandbox/hits", [&hits](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("path")) {
            res.status = 400;
            res.set_content("give the path as ?path=/page\n", "text/plain");
            return;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(std::to_string(hits.hits(req.get_param_value("path"))) + "\n",
                        "text/plain");
    });
    // For tests and for a player who wants to start elsewhere: sets x, y and ap of the
    // character that the login cookie names.
    server.Post("/sandbox/place", [&game](const httplib::Request& req, httplib::Response& res) {
        if (auto reason = game.place(login_of(req), req.body)) {
            res.status = 400;
            res.set_content(*reason + "\n", "text/plain");
            return;
        }
        res.set_content("ok\n", "text/plain");
    });

    add_image_routes(server);

    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) {
            const char* what = res.status == 404 ? " Not Found" : " Error";
            res.set_content(std::to_string(res.status) + what + "\n", "text/plain");
        }
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            res.status = 500;
            res.set_content("500 Internal Server Error\n", "text/plain");
        });
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parse_options(argc, argv);
    if (!options) return 2;

    // The stop signals are taken by one waiting thread; every other thread, the server's
    // workers included, inherits this mask.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::optional<SandboxGame> game;
    std::optional<fs::path> map_file;
    try {
        map_file = options->map_file ? options->map_file : default_map_file();
        int refused = 0;
        game.emplace(read_city(map_file, refused), options->state_file, options->look);
        if (refused > 0) {
            std::cerr << "sandbox_server: skipped " << refused << " unreadable map records\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "sandbox_server: " << e.what() << "\n";
        return 1;
    }
    HitCounter hits;

    httplib::Server server;
    server.set_payload_max_length(kMaxBodyBytes);
    server.set_keep_alive_timeout(2);
    add_routes(server, *game, hits);
    std::atomic<bool> stopping{false};
    add_update_fault_routes(server, options->faults,
                            options->update.served_map ? options->update.served_map : map_file,
                            stopping);
    add_update_routes(server, options->update, map_file);
    add_guild_routes(server, options->guilds);

    int port = options->port;
    if (port == 0) {
        port = server.bind_to_any_port(options->host);
        if (port <= 0) port = -1;
    } else if (!server.bind_to_port(options->host, port)) {
        port = -1;
    }
    if (port < 0) {
        std::cerr << "sandbox_server: cannot listen on " << options->host << ":" << options->port
                  << "\n";
        return 1;
    }

    std::atomic<bool> listen_over{false};
    std::thread waiter([&] {
        int sig = 0;
        sigwait(&stop_signals, &sig);
        stopping = true;
        // A signal that arrives before the accept loop runs must still stop it.
        while (!listen_over && !server.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!listen_over) server.stop();
    });

    const bool v6 = options->host.find(':') != std::string::npos;
    std::cout << "listening on " << (v6 ? "[" + options->host + "]" : options->host) << ":" << port
              << std::endl;

    const bool ok = server.listen_after_bind();
    listen_over = true;
    pthread_kill(waiter.native_handle(), SIGTERM);  // wakes the waiter if no signal came
    waiter.join();
    return ok ? 0 : 1;
}
