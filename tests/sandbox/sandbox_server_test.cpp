// The sandbox game server, run as its own process and spoken to over HTTP.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <httplib.h>

#include "map/city_map.h"
#include "support/fakes.h"
#include "support/net.h"

extern char** environ;

namespace {

using zeko::testing::connect_loopback;
using zeko::testing::TempFolder;

std::vector<char*> argv_of(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// Runs a program to its end with its output thrown away; its exit code, or -1.
int run(std::vector<std::string> args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto argv = argv_of(args);
    pid_t pid = -1;
    const int err = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// The server as a child process, stopped with SIGTERM when the test ends.
class ServerProcess {
  public:
    explicit ServerProcess(std::vector<std::string> extra_args, std::string host = "127.0.0.1") {
        std::vector<std::string> args{ZEKO_SANDBOX_SERVER, "--port", "0"};
        args.insert(args.end(), extra_args.begin(), extra_args.end());
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        auto argv = argv_of(args);
        const int err = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (err != 0) {
            pid_ = -1;
            close(fds[0]);
            return;
        }
        port_ = read_port(fds[0], host);
        close(fds[0]);
    }
    ~ServerProcess() {
        if (pid_ > 0) stop();
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }

    bool running() {
        if (pid_ <= 0) return false;
        int status = 0;
        return waitpid(pid_, &status, WNOHANG) == 0;
    }

    // Asks the server to stop and waits for it: its exit code, or -1 when a signal ended it.
    int stop(int sig = SIGTERM) {
        if (pid_ <= 0) return exit_code_;
        kill(pid_, sig);
        int status = 0;
        const pid_t done = waitpid(pid_, &status, 0);
        pid_ = -1;
        exit_code_ = done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return exit_code_;
    }

  private:
    // The first line the server prints is "listening on 127.0.0.1:PORT".
    static int read_port(int fd, const std::string& host) {
        std::string line;
        char c = 0;
        while (line.size() < 200) {
            pollfd p{fd, POLLIN, 0};
            // A guard against a server that never starts, not a timing expectation.
            if (poll(&p, 1, 30000) <= 0) return 0;
            if (read(fd, &c, 1) != 1 || c == '\n') break;
            line += c;
        }
        const std::string prefix = "listening on " + host + ":";
        if (line.rfind(prefix, 0) != 0) return 0;
        return std::atoi(line.c_str() + prefix.size());
    }

    pid_t pid_ = -1;
    int port_ = 0;
    int exit_code_ = -1;
};

struct Reply {
    int status = -1;
    std::string body;
    std::string content_type;
};

Reply reply_of(const httplib::Result& r) {
    Reply reply;
    if (!r) return reply;
    reply.status = r->status;
    reply.body = r->body;
    reply.content_type = r->get_header_value("Content-Type");
    return reply;
}

httplib::Headers cookie_headers(const std::string& cookie) {
    httplib::Headers h;
    if (!cookie.empty()) h.emplace("Cookie", cookie);
    return h;
}

Reply get(int port, const std::string& path, const std::string& cookie = {}) {
    httplib::Client cli("127.0.0.1", port);
    return reply_of(cli.Get(path, cookie_headers(cookie)));
}

Reply post(int port, const std::string& path, const std::string& body,
           const std::string& cookie = {}) {
    httplib::Client cli("127.0.0.1", port);
    return reply_of(
        cli.Post(path, cookie_headers(cookie), body, "application/x-www-form-urlencoded"));
}

// True once the text holds a response's headers and the body they announce; the server
// keeps the connection open after an answer, so the end of the stream cannot tell.
bool whole_response(const std::string& text) {
    const size_t end = text.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    const std::string key = "Content-Length: ";
    const size_t p = text.find(key);
    const size_t length = p < end ? std::strtoul(text.c_str() + p + key.size(), nullptr, 10) : 0;
    return text.size() >= end + 4 + length;
}

// Sends raw bytes and, when asked, returns whatever comes back before the server closes.
std::string raw_exchange(int port, const std::string& bytes, bool read_answer = true) {
    const int s = connect_loopback(port);
    if (s < 0) return {};
    timeval guard{30, 0};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof guard);
    (void)send(s, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::string answer;
    char buf[4096];
    for (ssize_t n;
         read_answer && !whole_response(answer) && (n = recv(s, buf, sizeof buf, 0)) > 0;) {
        answer.append(buf, static_cast<size_t>(n));
    }
    close(s);
    return answer;
}

size_t count_of(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

// The nine cells of the first three table rows after the body starts, cut the way the
// companion program cuts them: from "<td>" to "</td>" inside each "<tr>" ... "</tr>".
std::vector<std::string> neighbourhood_cells(const std::string& html) {
    std::vector<std::string> cells;
    size_t pos = html.find("<body>");
    if (pos == std::string::npos) return cells;
    for (int r = 0; r < 3; ++r) {
        const size_t tr = html.find("<tr>", pos);
        const size_t end = tr == std::string::npos ? tr : html.find("</tr>", tr);
        if (end == std::string::npos) return cells;
        const std::string row = html.substr(tr, end - tr);
        pos = end + 5;
        if (count_of(row, "<td") != 3) return cells;
        size_t cpos = 0;
        for (int c = 0; c < 3; ++c) {
            const size_t td = row.find("<td>", cpos);
            const size_t td_end = td == std::string::npos ? td : row.find("</td>", td);
            if (td_end == std::string::npos) return cells;
            cells.push_back(row.substr(td + 4, td_end - td - 4));
            cpos = td_end + 5;
        }
    }
    return cells;
}

struct Crossing {
    int cell = -1;
    std::string names;
};

Crossing marked_crossing(const std::vector<std::string>& cells) {
    const std::string tag = "<span class=\"intersect\">";
    for (size_t i = 0; i < cells.size(); ++i) {
        const size_t p = cells[i].find(tag);
        if (p == std::string::npos) continue;
        const size_t start = p + tag.size();
        const size_t end = cells[i].find("</span>", start);
        return {static_cast<int>(i), cells[i].substr(start, end - start)};
    }
    return {};
}

// The position the companion program works out from the marked crossing.
std::optional<std::pair<int, int>> position_read(const std::string& html) {
    const Crossing c = marked_crossing(neighbourhood_cells(html));
    const size_t and_at = c.names.find(" and ");
    if (c.cell < 0 || and_at == std::string::npos) return std::nullopt;
    const zeko::CityMap names{std::filesystem::path{}};
    const int xi = names.STREET_INDEX_X(c.names.substr(0, and_at));
    const int yi = names.STREET_INDEX_Y(c.names.substr(and_at + 5));
    return std::make_pair(xi - c.cell % 3, yi - c.cell / 3);
}

std::string attribute(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const size_t p = tag.find(key);
    if (p == std::string::npos) return {};
    const size_t start = p + key.size();
    return tag.substr(start, tag.find('"', start) - start);
}

std::string form_encode(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == ' ' ? '+' : c;
    return out;
}

// The bodies that a browser posts for the page's "blood.pl" post forms. A submit button
// with a name would add itself to the body; that is reported as "NAMED SUBMIT".
std::vector<std::string> post_bodies(const std::string& html) {
    std::vector<std::string> bodies;
    const std::string open = "<form method=\"post\" action=\"blood.pl\">";
    for (size_t p = html.find(open); p != std::string::npos; p = html.find(open, p + 1)) {
        const size_t end = html.find("</form>", p);
        const std::string form = html.substr(p, end - p);
        std::string body;
        for (size_t i = form.find("<input "); i != std::string::npos;
             i = form.find("<input ", i + 1)) {
            const std::string tag = form.substr(i, form.find('>', i) - i);
            const std::string type = attribute(tag, "type");
            const std::string name = attribute(tag, "name");
            if (type == "hidden") {
                body +=
                    (body.empty() ? "" : "&") + name + "=" + form_encode(attribute(tag, "value"));
            } else if (type == "submit" && !name.empty()) {
                body += "NAMED SUBMIT";
            }
        }
        bodies.push_back(body);
    }
    return bodies;
}

std::vector<std::string> bodies_starting(const std::string& html, const std::string& start) {
    std::vector<std::string> out;
    for (const auto& b : post_bodies(html)) {
        if (b.rfind(start, 0) == 0) out.push_back(b);
    }
    return out;
}

// The value of the "ap" field of the form "countdn"; -1 when the page has none.
int countdown_ap(const std::string& html) {
    const size_t form = html.find("<form name=\"countdn\"");
    if (form == std::string::npos) return -1;
    const std::string key = "name=\"ap\" value=\"";
    const size_t p = html.find(key, form);
    if (p == std::string::npos || p > html.find("</form>", form)) return -1;
    return std::atoi(html.c_str() + p + key.size());
}

std::string state_line(const std::string& state, const std::string& name) {
    std::istringstream in(state);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(name + " ", 0) == 0) return line;
    }
    return {};
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SandboxServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(run({ZEKO_MAPGEN, ZEKO_SAMPLE_CITY, (folder / "MAP.DAT").string()}), 0);
        server.emplace(std::vector<std::string>{"--map", (folder / "MAP.DAT").string(),
                                                "--state-file", state_file.string()});
        port = server->port();
        ASSERT_GT(port, 0);
    }

    // Every test ends with a clean stop: a crash or a sanitizer report would show here.
    void TearDown() override {
        if (server) {
            EXPECT_EQ(server->stop(), 0);
        }
    }

    Reply page(const std::string& cookie = {}) {
        return get(port, "/blood.pl?action=welcome", cookie);
    }
    Reply move(int x, int y, const std::string& cookie = {}) {
        return post(port, "/blood.pl",
                    "action=move&x=" + std::to_string(x) + "&y=" + std::to_string(y), cookie);
    }
    void place(const std::string& cookie, const std::string& body) {
        ASSERT_EQ(post(port, "/sandbox/place", body, cookie).status, 200) << body;
    }
    std::string state() { return get(port, "/sandbox/state").body; }

    TempFolder folder;
    std::filesystem::path state_file = folder / "state.txt";
    std::optional<ServerProcess> server;
    int port = 0;
};

TEST_F(SandboxServerTest, WelcomePageHasTheShapeTheProgramReads) {
    const Reply r = page();
    ASSERT_EQ(r.status, 200);
    EXPECT_EQ(r.content_type, "text/html; charset=utf-8");
    const std::string& html = r.body;

    // Nothing table-like comes between the body's start and the neighbourhood's first row.
    const size_t body = html.find("<body>");
    const size_t first_tr = html.find("<tr>");
    ASSERT_NE(body, std::string::npos);
    ASSERT_LT(body, first_tr);
    EXPECT_EQ(count_of(html.substr(0, first_tr), "<table"), 1u);
    EXPECT_EQ(count_of(html.substr(0, first_tr), "<tr"), 0u);

    const auto cells = neighbourhood_cells(html);
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(count_of(html, "intersect"), 1u);
    const Crossing c = marked_crossing(cells);
    EXPECT_EQ(c.cell, 0);
    EXPECT_EQ(c.names, "Zelkova and 50th");
    EXPECT_EQ(position_read(html), std::make_pair(100, 100));
    EXPECT_NE(cells[4].find("Melpomne Station"), std::string::npos);

    // The guest is welcomed without a name.
    EXPECT_NE(html.find("Welcome"), std::string::npos);
    EXPECT_EQ(html.find("Welcome, "), std::string::npos);
    EXPECT_NE(html.find("<link rel=\"stylesheet\" href=\"blood.css\">"), std::string::npos);
    EXPECT_NE(html.find("<a href=\"blood.pl?action=welcome\">"), std::string::npos);
    EXPECT_EQ(countdown_ap(html), 30);

    // The forms post exactly what the program predicts from.
    const std::vector<std::string> moves = bodies_starting(html, "action=move&");
    const std::set<std::string> expected_moves{
        "action=move&x=99&y=99",   "action=move&x=100&y=99",  "action=move&x=101&y=99",
        "action=move&x=99&y=100",  "action=move&x=101&y=100", "action=move&x=99&y=101",
        "action=move&x=100&y=101", "action=move&x=101&y=101"};
    EXPECT_EQ(std::set<std::string>(moves.begin(), moves.end()), expected_moves);
    EXPECT_EQ(moves.size(), 8u);
    EXPECT_EQ(
        bodies_starting(html, "action=transit&"),
        (std::vector<std::string>{
            "action=transit&target=Calliope+Station", "action=transit&target=Clio+Station",
            "action=transit&target=Erato+Station", "action=transit&target=Euterpe+Station",
            "action=transit&target=Melpomne+Station", "action=transit&target=Polyhymnia+Station",
            "action=transit&target=Terpsichore+Station", "action=transit&target=Thalia+Station",
            "action=transit&target=Urania+Station"}));
    for (const auto& b : post_bodies(html))
        EXPECT_EQ(b.find("NAMED SUBMIT"), std::string::npos);

    // Any other query shows the same page.
    EXPECT_EQ(get(port, "/blood.pl").body, html);
    EXPECT_EQ(get(port, "/blood.pl?foo=bar&action=").body, html);
}

TEST_F(SandboxServerTest, MarkedCrossingNamesThePosition) {
    struct Case {
        int x, y, cell;
        const char* names;
    };
    const Case cases[] = {
        {100, 100, 0, "Zelkova and 50th"},   // block: crossing to the north-west
        {101, 101, 4, "Amethyst and 51st"},  // on the crossing
        {101, 102, 1, "Amethyst and 51st"},  // on a street running north-south
        {100, 101, 3, "Zelkova and 51st"},   // on a street running east-west
        {1, 1, 4, "Aardvark and 1st"},      {2, 2, 0, "Aardvark and 1st"},
        {0, 0, 0, "WCL and NCL"},           {199, 199, 4, "Zestless and 100th"},
        {0, 199, 3, "WCL and 100th"},       {199, 0, 1, "Zestless and NCL"},
        {198, 198, 0, "Zinc and 99th"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        place("ip=Walker#pw", "x=" + std::to_string(c.x) + "&y=" + std::to_string(c.y));
        const std::string html = page("ip=Walker#pw").body;
        const auto cells = neighbourhood_cells(html);
        ASSERT_EQ(cells.size(), 9u);
        EXPECT_EQ(count_of(html, "class=\"intersect\""), 1u);
        const Crossing crossing = marked_crossing(cells);
        EXPECT_EQ(crossing.cell, c.cell);
        EXPECT_EQ(crossing.names, c.names);
        EXPECT_EQ(position_read(html), std::make_pair(c.x, c.y));
    }

    // In a corner only the neighbours on the grid can be walked to.
    place("ip=Walker#pw", "x=0&y=0");
    EXPECT_EQ(bodies_starting(page("ip=Walker#pw").body, "action=move&"),
              (std::vector<std::string>{"action=move&x=1&y=0", "action=move&x=0&y=1",
                                        "action=move&x=1&y=1"}));
    place("ip=Walker#pw", "x=199&y=199");
    const std::string far = page("ip=Walker#pw").body;
    EXPECT_EQ(bodies_starting(far, "action=move&").size(), 3u);
    EXPECT_EQ(count_of(far, "City limits"), 5u);

    // Blocks show the map's place names, in UTF-8 and escaped.
    place("ip=Walker#pw", "x=144&y=52");
    EXPECT_NE(neighbourhood_cells(page("ip=Walker#pw").body)[4].find("The Rusty Tankard"),
              std::string::npos);
    place("ip=Walker#pw", "x=166&y=40");
    EXPECT_NE(neighbourhood_cells(page("ip=Walker#pw").body)[4].find("Le C\xC5\x93ur Saignant"),
              std::string::npos);
}

TEST_F(SandboxServerTest, MovesSpendActionPointsAndStopAtZero) {
    const std::string mover = "ip=Mover#pw";
    Reply r = move(101, 101, mover);
    ASSERT_EQ(r.status, 200);
    EXPECT_EQ(countdown_ap(r.body), 29);
    EXPECT_EQ(position_read(r.body), std::make_pair(101, 101));
    EXPECT_EQ(state_line(state(), "Mover"), "Mover 101 101 29");

    // Refused: too far, standing still, off the grid, numbers that are not numbers.
    const std::vector<std::string> refused{"action=move&x=103&y=101",
                                           "action=move&x=101&y=101",
                                           "action=move&x=102",
                                           "action=move&x=abc&y=100",
                                           "action=move&x=1e2&y=100",
                                           "action=move&x=99999999999999999999&y=100",
                                           "action=move&x=-2147483648&y=100",
                                           "action=move&x=%31%30%32&y=100%00"};
    for (const auto& body : refused) {
        r = post(port, "/blood.pl", body, mover);
        EXPECT_EQ(r.status, 200) << body;
        EXPECT_NE(r.body.find("You cannot move there."), std::string::npos) << body;
        EXPECT_EQ(countdown_ap(r.body), 29) << body;
    }
    EXPECT_EQ(state_line(state(), "Mover"), "Mover 101 101 29");
    place(mover, "x=0&y=0");
    EXPECT_NE(move(-1, -1, mover).body.find("You cannot move there."), std::string::npos);
    EXPECT_EQ(state_line(state(), "Mover"), "Mover 0 0 29");

    // A fresh character has exactly 30 moves.
    const std::string tired = "ip=Tired#pw";
    for (int i = 0; i < 30; ++i) {
        r = move(i % 2 == 0 ? 101 : 100, 100, tired);
        ASSERT_EQ(countdown_ap(r.body), 29 - i);
    }
    EXPECT_EQ(state_line(state(), "Tired"), "Tired 100 100 0");
    r = move(101, 100, tired);
    EXPECT_NE(r.body.find("You have no action points left."), std::string::npos);
    EXPECT_EQ(countdown_ap(r.body), 0);
    EXPECT_EQ(state_line(state(), "Tired"), "Tired 100 100 0");
    EXPECT_EQ(read_file(state_file), state());

    // Resting brings the points back.
    r = post(port, "/blood.pl", "action=rest", tired);
    EXPECT_EQ(countdown_ap(r.body), 30);
}

TEST_F(SandboxServerTest, TransitRidesOnlyFromAStation) {
    const std::string rider = "ip=Rider#pw";
    Reply r = post(port, "/blood.pl", "action=transit&target=Urania+Station", rider);
    EXPECT_NE(r.body.find("You ride the transit to Urania Station."), std::string::npos);
    EXPECT_EQ(position_read(r.body), std::make_pair(150, 150));
    EXPECT_EQ(state_line(state(), "Rider"), "Rider 150 150 29");

    // Station names match in any case; extra fields do not matter.
    r = post(port, "/blood.pl", "action=transit&target=CALLIOPE+station&go=1", rider);
    EXPECT_EQ(state_line(state(), "Rider"), "Rider 50 50 28");

    // The program's own spelling is "Melpomne"; the usual one names no station here.
    r = post(port, "/blood.pl", "action=transit&target=Melpomene+Station", rider);
    EXPECT_NE(r.body.find("There is no such station."), std::string::npos);
    EXPECT_EQ(state_line(state(), "Rider"), "Rider 50 50 28");

    // Off a station block: no transit forms and no ride.
    r = move(51, 51, rider);
    EXPECT_TRUE(bodies_starting(r.body, "action=transit&").empty());
    r = post(port, "/blood.pl", "action=transit&target=Thalia+Station", rider);
    EXPECT_NE(r.body.find("There is no transit station here."), std::string::npos);
    EXPECT_EQ(state_line(state(), "Rider"), "Rider 51 51 27");

    // Without action points, no ride either.
    place(rider, "x=100&y=150&ap=0");
    r = post(port, "/blood.pl", "action=transit&target=Clio+Station", rider);
    EXPECT_NE(r.body.find("You have no action points left."), std::string::npos);
    EXPECT_EQ(state_line(state(), "Rider"), "Rider 100 150 0");
}

TEST_F(SandboxServerTest, LoginCookieKeepsCharactersApart) {
    Reply r = page("ip=Alice%23secret");
    EXPECT_NE(r.body.find("Welcome, Alice!"), std::string::npos);
    EXPECT_EQ(r.body.find("secret"), std::string::npos);
    move(101, 101, "ip=Alice%23secret");
    EXPECT_NE(page("ip=Bob#pw").body.find("Welcome, Bob!"), std::string::npos);
    move(99, 100, "ip=Bob#pw");
    move(99, 99, "ip=Bob#pw");
    EXPECT_EQ(position_read(page("ip=Alice#secret").body), std::make_pair(101, 101));
    EXPECT_EQ(position_read(page("ip=Bob#pw").body), std::make_pair(99, 99));
    EXPECT_EQ(position_read(page().body), std::make_pair(100, 100));

    // Other cookies around it, quotes, a blank in the name, an empty value.
    EXPECT_NE(page("theme=dark; ip=\"Carol#pw\"; x=1").body.find("Welcome, Carol!"),
              std::string::npos);
    EXPECT_NE(page("ip=Night%20Owl#x").body.find("Welcome, Night Owl!"), std::string::npos);
    EXPECT_EQ(page("ip=").body.find("Welcome, "), std::string::npos);
    EXPECT_EQ(page("ip=#only-a-password").body.find("Welcome, "), std::string::npos);

    const std::string expected =
        "(guest) 100 100 30\n"
        "Alice 101 101 29\n"
        "Bob 99 99 28\n"
        "Carol 100 100 30\n"
        "Night%20Owl 100 100 30\n";
    EXPECT_EQ(state(), expected);
    EXPECT_EQ(read_file(state_file), expected);
}

TEST_F(SandboxServerTest, ServesTheStyleSheetAndCountsHits) {
    const Reply css = get(port, "/blood.css");
    EXPECT_EQ(css.status, 200);
    EXPECT_EQ(css.content_type, "text/css");
    EXPECT_NE(css.body.find("background"), std::string::npos);

    EXPECT_EQ(get(port, "/sandbox/hits?path=/plus_all.php").body, "0\n");
    EXPECT_EQ(get(port, "/plus_all.php").status, 404);
    EXPECT_EQ(get(port, "/sandbox/hits?path=/plus_all.php").body, "1\n");
    EXPECT_EQ(post(port, "/plus_all.php?x=1", "a=b").status, 404);
    EXPECT_EQ(get(port, "/sandbox/hits?path=plus_all.php").body, "2\n");
    EXPECT_EQ(get(port, "/sandbox/hits?path=/plus_hit.php").body, "0\n");
    EXPECT_EQ(get(port, "/sandbox/hits?path=/blood.css").body, "1\n");
    move(101, 101);
    page();
    EXPECT_EQ(get(port, "/sandbox/hits?path=/blood.pl").body, "2\n");
    EXPECT_EQ(get(port, "/sandbox/hits").status, 400);
    // The route's pattern is not a loose regular expression.
    EXPECT_EQ(get(port, "/bloodXpl").status, 404);
}

TEST_F(SandboxServerTest, SurvivesGarbageAndEscapesWhatItEchoes) {
    Reply r = page("ip=%3Cscript%3Ealert(1)%3C/script%3E#pw");
    EXPECT_NE(r.body.find("Welcome, &lt;script&gt;alert(1)&lt;/script&gt;!"), std::string::npos);
    EXPECT_EQ(r.body.find("<script"), std::string::npos);
    r = page("ip=a\"b'c&d#pw");
    EXPECT_NE(r.body.find("Welcome, a&quot;b&#39;c&amp;d!"), std::string::npos);
    r = page("ip=%00%0A%FF%C3%28x#pw");
    EXPECT_NE(r.body.find("Welcome, \?\?\?\?(x!"), std::string::npos);
    EXPECT_EQ(page("ip=" + std::string(300, 'L') + "#pw").body.find("Welcome, "),
              std::string::npos);

    std::mt19937 random(20240611);
    for (int i = 0; i < 200; ++i) {
        std::string body(random() % 300, '\0');
        for (char& c : body)
            c = static_cast<char>(random() % 256);
        if (i % 2 == 0) body = (i % 4 == 0 ? "action=move&" : "action=transit&") + body;
        r = post(port, "/blood.pl", body, i % 3 == 0 ? "ip=Fuzz#pw" : "");
        ASSERT_EQ(r.status, 200) << i;
        ASSERT_EQ(neighbourhood_cells(r.body).size(), 9u) << i;
    }
    for (const std::string body :
         {"", "&&&==&", "action", "action=", "action=move&x=%&y=%zz",
          "action=transit&target=", "action=move&x=+101&y=100", "action=transit&target=%"}) {
        EXPECT_EQ(post(port, "/blood.pl", body).status, 200) << body;
    }
    EXPECT_EQ(post(port, "/blood.pl", std::string(100000, 'a')).status, 413);

    // Requests no HTTP client would send.
    EXPECT_EQ(raw_exchange(port, "\x01\x02\xff garbage\r\n\r\n").rfind("HTTP/1.1 400", 0), 0u);
    EXPECT_EQ(raw_exchange(port, "GET / HTTP/1.1\r\n" + std::string(20000, 'h') + "\r\n\r\n")
                  .rfind("HTTP/1.1 4", 0),
              0u);
    raw_exchange(port, "POST /blood.pl HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n",
                 false);
    raw_exchange(port, "POST /blood.pl HTTP/1.1\r\nContent-Length: 50\r\n\r\naction=mo", false);
    const std::string raw = raw_exchange(
        port,
        "GET /blood.pl?%ff%00<>\"' HTTP/1.1\r\nHost: x\r\nCookie: ip=\xff\xfe<b>#\x01\r\n"
        "Connection: close\r\n\r\n");
    EXPECT_EQ(raw.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(raw.find("Welcome, ??&lt;b&gt;!"), std::string::npos);

    EXPECT_TRUE(server->running());
    EXPECT_EQ(page().status, 200);
    EXPECT_EQ(state_line(state(), "Fuzz").substr(0, 5), "Fuzz ");
    EXPECT_EQ(server->stop(), 0);
}

TEST(SandboxServerCommandLine, RefusesWhatItCannotServe) {
    const std::string server = ZEKO_SANDBOX_SERVER;
    EXPECT_EQ(run({server, "--host", "0.0.0.0", "--port", "0"}), 2);
    EXPECT_EQ(run({server, "--host", "192.168.1.10", "--port", "0"}), 2);
    EXPECT_EQ(run({server, "--host", "localhost.example.org", "--port", "0"}), 2);
    EXPECT_EQ(run({server, "--port", "70000"}), 2);
    EXPECT_EQ(run({server, "--port", "12ab"}), 2);
    EXPECT_EQ(run({server, "--port"}), 2);
    EXPECT_EQ(run({server, "--frobnicate"}), 2);
    EXPECT_EQ(run({server, "--port", "0", "--map", "/nonexistent/MAP.DAT"}), 1);
    EXPECT_EQ(run({server, "--help"}), 0);

    // Another loopback address, given in the --option=value form, and a stop by SIGINT.
    ServerProcess other({"--host=127.0.0.2"}, "127.0.0.2");
    ASSERT_GT(other.port(), 0);
    httplib::Client cli("127.0.0.2", other.port());
    EXPECT_EQ(reply_of(cli.Get("/blood.css")).status, 200);
    EXPECT_EQ(other.stop(SIGINT), 0);
}

}  // namespace
