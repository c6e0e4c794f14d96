// The sandbox game server, run as its own process and spoken to over HTTP.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <httplib.h>

#include "map/city_map.h"
#include "support/fakes.h"

extern char** environ;

namespace {

using zeko::testing::TempFolder;

// Starts the server with `args`: its pid and the port from the first line it prints
// ("listening on 127.0.0.1:PORT"), 0 when none comes.
std::pair<pid_t, int> start(std::vector<std::string> args) {
    args.insert(args.begin(), ZEKO_SANDBOX_SERVER);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return {-1, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    pollfd p{fds[0], POLLIN, 0};
    char line[200] = {};
    // A guard against a server that never starts, not a timing expectation.
    const bool up = poll(&p, 1, 30000) > 0 && read(fds[0], line, sizeof line - 1) > 0;
    close(fds[0]);
    const std::string prefix = "listening on 127.0.0.1:";
    return {pid,
            up && std::string(line).rfind(prefix, 0) == 0 ? std::atoi(line + prefix.size()) : 0};
}

// Waits for a program to end: its exit code, or -1 when a signal ended it.
int exit_code(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status)
                                                                           : -1;
}

struct Reply {
    int status = -1;
    std::string body;
};

size_t count_of(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

bool has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

// The cells of the first table, each from its "<td" to its "</td>".
std::vector<std::string> neighbourhood_cells(const std::string& html) {
    const size_t at = html.find("<table");
    const std::string table = html.substr(at, html.find("</table>", at) - at);
    std::vector<std::string> cells;
    for (size_t td = table.find("<td"); td != std::string::npos; td = table.find("<td", td + 1))
        cells.push_back(table.substr(td, table.find("</td>", td) - td));
    return cells;
}

// The position the companion program works out from the marked crossing; the crossing's
// cell and names are checked on the way.
std::optional<std::pair<int, int>> position_read(const std::string& html, int cell = -1,
                                                 const std::string& names = {}) {
    const auto cells = neighbourhood_cells(html);
    EXPECT_EQ(cells.size(), 9u);
    EXPECT_EQ(count_of(html, "<span class=\"intersect\">"), 1u);
    static const std::regex crossing(R"(<span class="intersect">(.*) and (.*)</span>)");
    for (size_t i = 0; i < cells.size(); ++i) {
        std::smatch m;
        if (!std::regex_search(cells[i], m, crossing)) continue;
        EXPECT_TRUE(cell < 0 || static_cast<int>(i) == cell) << i;
        EXPECT_TRUE(names.empty() || m[1].str() + " and " + m[2].str() == names) << m[0];
        const zeko::CityMap map{std::filesystem::path{}};
        return std::make_pair(map.STREET_INDEX_X(m[1].str()) - int(i) % 3,
                              map.STREET_INDEX_Y(m[2].str()) - int(i) / 3);
    }
    return std::nullopt;
}

const std::string kMoveForm = "<input type=\"hidden\" name=\"action\" value=\"move\">";
const std::string kRideForm = "<input type=\"hidden\" name=\"action\" value=\"transit\">";

// The value of the "ap" field of the form "countdn"; -1 when the page has none.
int countdown_ap(const std::string& html) {
    static const std::regex ap(
        R"re(<form name="countdn"[^]*?name="ap" value="(-?\d+)"[^]*?</form>)re");
    std::smatch m;
    return std::regex_search(html, m, ap) ? std::stoi(m[1]) : -1;
}

class SandboxServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(std::system(
                      ("'" ZEKO_MAPGEN "' '" ZEKO_SAMPLE_CITY "' '" + map.string() + "'").c_str()),
                  0);
        std::tie(pid, port) =
            start({"--port", "0", "--map", map.string(), "--state-file", state_file.string()});
        ASSERT_GT(port, 0);
    }

    // Every test ends with a clean stop: a crash or a sanitizer report would show here.
    void TearDown() override {
        if (pid > 0) kill(pid, SIGTERM);
        EXPECT_EQ(exit_code(pid), 0);
    }

    // A request carrying the login cookie `cookie` (none when empty).
    Reply get(const std::string& path, const std::string& cookie = {}) {
        return reply(httplib::Client("127.0.0.1", port).Get(path, headers(cookie)));
    }
    Reply post(const std::string& path, const std::string& body, const std::string& cookie = {}) {
        return reply(httplib::Client("127.0.0.1", port)
                         .Post(path, headers(cookie), body, "application/x-www-form-urlencoded"));
    }
    static httplib::Headers headers(const std::string& cookie) {
        return cookie.empty() ? httplib::Headers{} : httplib::Headers{{"Cookie", cookie}};
    }
    static Reply reply(const httplib::Result& r) { return r ? Reply{r->status, r->body} : Reply{}; }
    Reply page(const std::string& cookie = {}) { return get("/blood.pl?action=welcome", cookie); }
    Reply move(int x, int y, const std::string& cookie = {}) {
        return post("/blood.pl", "action=move&x=" + std::to_string(x) + "&y=" + std::to_string(y),
                    cookie);
    }
    void place(const std::string& cookie, const std::string& body) {
        ASSERT_EQ(post("/sandbox/place", body, cookie).status, 200) << body;
    }
    std::string state() { return get("/sandbox/state").body; }

    TempFolder folder;
    std::filesystem::path map = folder / "MAP.DAT";
    std::filesystem::path state_file = folder / "state.txt";
    pid_t pid = -1;
    int port = 0;
};

TEST_F(SandboxServerTest, PagesHaveTheShapeTheProgramReads) {
    const Reply r = page();
    ASSERT_EQ(r.status, 200);
    const std::string& html = r.body;
    // Nothing table-like comes between the body's start and the neighbourhood's first row.
    const size_t first_tr = html.find("<tr>");
    ASSERT_LT(html.find("<body>"), first_tr);
    EXPECT_EQ(count_of(html.substr(0, first_tr), "<table"), 1u);
    EXPECT_EQ(position_read(html, 0, "Zelkova and 50th"), std::make_pair(100, 100));
    EXPECT_TRUE(has(neighbourhood_cells(html)[4], "Melpomne Station"));
    EXPECT_EQ(countdown_ap(html), 30);
    EXPECT_FALSE(has(html, "Welcome, "));  // the guest has no name

    // The forms post hidden fields only: the program predicts from them.
    EXPECT_EQ(count_of(html, kMoveForm), 8u);
    EXPECT_TRUE(has(html, kMoveForm + "<input type=\"hidden\" name=\"x\" value=\"99\"><input "
                                      "type=\"hidden\" name=\"y\" value=\"101\">"));
    EXPECT_EQ(count_of(html, kRideForm), 9u);
    EXPECT_TRUE(has(html, kRideForm + "<input type=\"hidden\" name=\"target\" value=\"Melpomne "
                                      "Station\"><input type=\"submit\" value="));
    EXPECT_FALSE(has(html, "type=\"submit\" name="));

    // The marked crossing names the position on blocks, streets, crossings and the edges.
    struct Case {
        int x, y, cell;
        const char* names;
    };
    const Case cases[] = {{101, 101, 4, "Amethyst and 51st"},
                          {199, 199, 4, "Zestless and 100th"},
                          {0, 0, 0, "WCL and NCL"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        place("ip=Walker#pw", "x=" + std::to_string(c.x) + "&y=" + std::to_string(c.y));
        EXPECT_EQ(position_read(page("ip=Walker#pw").body, c.cell, c.names),
                  std::make_pair(c.x, c.y));
    }
    // In a corner only the neighbours on the grid can be walked to.
    EXPECT_EQ(count_of(page("ip=Walker#pw").body, kMoveForm), 3u);
}

TEST_F(SandboxServerTest, MovesAndRidesSpendActionPointsAndStopAtZero) {
    // A station takes any letter case; the usual "Melpomene" names no station here.
    const std::string rider = "ip=Rider#pw";
    Reply r = post("/blood.pl", "action=transit&target=URANIA+station&go=1", rider);
    EXPECT_TRUE(has(r.body, "You ride the transit to Urania Station."));
    EXPECT_EQ(position_read(r.body), std::make_pair(150, 150));
    r = post("/blood.pl", "action=transit&target=Melpomene+Station", rider);
    EXPECT_TRUE(has(r.body, "There is no such station."));
    r = move(151, 151, rider);
    EXPECT_EQ(position_read(r.body), std::make_pair(151, 151));
    EXPECT_EQ(count_of(r.body, kRideForm), 0u);
    r = post("/blood.pl", "action=transit&target=Thalia+Station", rider);
    EXPECT_TRUE(has(r.body, "There is no transit station here."));
    // Refused: standing still, too far, numbers that are not numbers.
    for (const char* body :
         {"action=move&x=151&y=151", "action=move&x=153&y=151", "action=move&x=1e2&y=151"}) {
        r = post("/blood.pl", body, rider);
        EXPECT_TRUE(has(r.body, "You cannot move there.")) << body;
        EXPECT_EQ(countdown_ap(r.body), 28) << body;
    }

    // A fresh character has exactly 30 moves; then neither moves nor rides.
    const std::string tired = "ip=Tired#pw";
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(countdown_ap(move(i % 2 == 0 ? 101 : 100, 100, tired).body), 29 - i);
    r = move(101, 100, tired);
    EXPECT_TRUE(has(r.body, "You have no action points left."));
    EXPECT_EQ(countdown_ap(r.body), 0);
    place(tired, "x=100&y=150&ap=0");
    r = post("/blood.pl", "action=transit&target=Clio+Station", tired);
    EXPECT_TRUE(has(r.body, "You have no action points left."));
}

TEST_F(SandboxServerTest, LoginCookieGreetsAndKeepsCharactersApart) {
    EXPECT_TRUE(has(page("ip=Alice%23secret").body, "Welcome, Alice!"));
    move(101, 101, "ip=Alice%23secret");
    EXPECT_TRUE(has(page("theme=dark; ip=\"Bob#pw\"; x=1").body, "Welcome, Bob!"));
    move(99, 100, "ip=Bob#pw");
    EXPECT_FALSE(has(page("ip=#only-a-password").body, "Welcome, "));
    EXPECT_EQ(state(), "(guest) 100 100 30\nAlice 101 101 29\nBob 99 100 29\n");
}

TEST_F(SandboxServerTest, PagesTakeTheLookChosenForEachCharacter) {
    struct Case {
        const char* fields;
        size_t bare, classed;  // cells opened by "<td>" and by "<td class=..."
        const char* chat;      // where the long chat stands: "", "before", "after"
        bool points_shown;
    };
    const Case cases[] = {
        {"cells=mixed", 1, 8, "", true},
        {"cells=bare&points=empty", 9, 0, "", false},
        {"cells=classed&chat=before&points=shown", 0, 9, "before", true},
        {"chat=after", 0, 9, "after", true},
    };
    const std::string who = "ip=Looker#pw";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        place(who, c.fields);
        const std::string html = page(who).body;
        const size_t table = html.find("<table");
        const std::string map = html.substr(table, html.find("</table>") - table);
        EXPECT_EQ(count_of(map, "<td>"), c.bare);
        EXPECT_EQ(count_of(map, "<td class=\""), c.classed);
        const size_t chat = html.find("<div class=\"chat\">");
        EXPECT_EQ(chat == std::string::npos ? ""
                  : chat < table            ? "before"
                                            : "after",
                  std::string(c.chat));
        if (chat != std::string::npos) {
            const size_t end = html.find("</div>", chat);
            EXPECT_GT(end - chat, 32767u);
            for (const char* carrier : {"title=\"&lt;tr&gt;", "alt=\"&lt;tr&gt;", "<!-- said by",
                                        "\"<tr><td><span class=intersect>Zestless and 100th<\\/"})
                EXPECT_EQ(count_of(html.substr(chat, end - chat), carrier), 1u) << carrier;
        }
        EXPECT_EQ(countdown_ap(html), c.points_shown ? 30 : -1);
        EXPECT_EQ(has(html, "name=\"ap\" value=\"\""), !c.points_shown);
        EXPECT_EQ(position_read(html), std::make_pair(100, 100));
    }
    EXPECT_EQ(post("/sandbox/place", "x=3&cells=round", who).status, 400);
    EXPECT_EQ(state(), "(guest) 100 100 30\nLooker 100 100 30\n");

    // The look every character starts with is given on the command line.
    const auto [other, other_port] = start({"--port", "0", "--look", "cells=bare"});
    const auto r = httplib::Client("127.0.0.1", other_port).Get("/blood.pl");
    EXPECT_EQ(r ? count_of(r->body, "<td>") : 0u, 9u);
    kill(other, SIGTERM);
    EXPECT_EQ(exit_code(other), 0);
    EXPECT_EQ(exit_code(start({"--port", "0", "--look", "chat=loud"}).first), 2);
}

TEST_F(SandboxServerTest, CountsHitsOnEveryPath) {
    EXPECT_EQ(get("/plus_all.php").status, 404);
    EXPECT_EQ(post("/plus_all.php?x=1", "a=b").status, 404);
    EXPECT_EQ(get("/sandbox/hits?path=plus_all.php").body, "2\n");
    EXPECT_EQ(get("/sandbox/hits?path=/plus_hit.php").body, "0\n");
    move(101, 101);
    page();
    EXPECT_EQ(get("/sandbox/hits?path=/blood.pl").body, "2\n");
    EXPECT_EQ(get("/sandbox/hits").status, 400);
}

TEST_F(SandboxServerTest, SurvivesGarbage) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 100; ++i) {
        std::string body(random() % 300, '\0');
        for (char& c : body)
            c = static_cast<char>(random() % 256);
        if (i % 2 == 0) body = (i % 4 == 0 ? "action=move&" : "action=transit&") + body;
        const Reply r = post("/blood.pl", body, i % 3 == 0 ? "ip=Fuzz#pw" : "");
        ASSERT_EQ(r.status, 200) << i;
        ASSERT_EQ(neighbourhood_cells(r.body).size(), 9u) << i;
    }
    for (const std::string body : {"&&&==&", "action=move&x=%&y=%zz", "action=transit&target=%"})
        EXPECT_EQ(post("/blood.pl", body).status, 200) << body;
    EXPECT_EQ(post("/blood.pl", std::string(100000, 'a')).status, 413);
    EXPECT_TRUE(has(page("ip=%00%0A%FF%C3%28x#pw").body, "Welcome, \?\?\?\?(x!"));
    EXPECT_EQ(page().status, 200);
    // It serves the loopback only.
    EXPECT_EQ(exit_code(start({"--host", "0.0.0.0", "--port", "0"}).first), 2);
}

}  // namespace
