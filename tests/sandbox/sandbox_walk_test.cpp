// The sandbox's walking and table-less looks, spoken to over HTTP.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <httplib.h>

extern char** environ;

namespace {

class SandboxWalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
        std::vector<std::string> args = {ZEKO_SANDBOX_SERVER, "--port", "0", "--look", "walk=250"};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        char line[200] = {};
        // A guard against a server that never starts, not a timing expectation.
        if (poll(&p, 1, 30000) > 0) {
            ASSERT_GT(read(fds[0], line, sizeof line - 1), 0);
        }
        close(fds[0]);
        const std::string text(line);
        port = std::atoi(text.substr(text.rfind(':') + 1).c_str());
        ASSERT_GT(port, 0) << text;
    }
    void TearDown() override {
        kill(pid, SIGTERM);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    httplib::Result post(const std::string& path, const std::string& body) {
        return httplib::Client("127.0.0.1", port)
            .Post(path, body, "application/x-www-form-urlencoded");
    }
    // The step the page's script sends; empty when it has none.
    static std::string step(const std::string& page) {
        std::smatch m;
        static const std::regex want("var want = \"([^\"]*)\"");
        return std::regex_search(page, m, want) ? m[1].str() : std::string();
    }
    // The hidden fields of each of the page's forms, as a browser would post them.
    static std::vector<std::string> forms(const std::string& page) {
        std::vector<std::string> bodies;
        static const std::regex form("<form[^>]*>([^]*?)</form>");
        static const std::regex field("name=\"([^\"]*)\" value=\"([^\"]*)\"");
        for (std::sregex_iterator f(page.begin(), page.end(), form), end; f != end; ++f) {
            std::string body;
            const std::string inner = (*f)[1];
            for (std::sregex_iterator v(inner.begin(), inner.end(), field); v != end; ++v) {
                std::string value = (*v)[2];
                for (char& c : value)
                    if (c == ' ') c = '+';
                body += (body.empty() ? "" : "&") + (*v)[1].str() + "=" + value;
            }
            bodies.push_back(body);
        }
        return bodies;
    }
    pid_t pid = -1;
    int port = 0;
};

TEST_F(SandboxWalkTest, PagesWalkFromStationToStationWithFormsOfTheirOwn) {
    // From Melpomne Station (100, 100): a ride, a step off and back, the next ride.
    const std::vector<std::string> walk = {"action=transit&target=Polyhymnia+Station",
                                           "action=move&x=151&y=101", "action=move&x=150&y=100",
                                           "action=transit&target=Terpsichore+Station",
                                           "action=move&x=51&y=151"};
    std::string page = httplib::Client("127.0.0.1", port).Get("/blood.pl")->body;
    for (const std::string& expected : walk) {
        ASSERT_EQ(step(page), expected);
        const auto sent = forms(page);
        EXPECT_NE(std::find(sent.begin(), sent.end(), expected), sent.end()) << expected;
        page = post("/blood.pl", expected)->body;
    }
    EXPECT_NE(page.find("setTimeout(function () { postMessage(0); }, 250)"), std::string::npos);

    // Out of points, it rests; off the stations' squares it heads for the nearest.
    for (const auto& [place, expected] : std::vector<std::pair<std::string, std::string>>{
             {"ap=1", "action=rest"},
             {"ap=30&x=57&y=146", "action=move&x=56&y=147"},
             {"x=100&y=99", "action=move&x=100&y=100"}}) {
        ASSERT_EQ(post("/sandbox/place", place)->status, 200);
        EXPECT_EQ(step(httplib::Client("127.0.0.1", port).Get("/blood.pl")->body), expected);
    }

    // Standing still without a table; bad values change nothing.
    for (const char* bad : {"walk=-1", "walk=600001", "walk=soon", "table=hidden"})
        EXPECT_EQ(post("/sandbox/place", bad)->status, 400) << bad;
    ASSERT_EQ(post("/sandbox/place", "walk=0&table=none")->status, 200);
    page = httplib::Client("127.0.0.1", port).Get("/blood.pl")->body;
    EXPECT_EQ(step(page), "");
    EXPECT_EQ(page.find("<tr"), std::string::npos);
    EXPECT_NE(page.find("name=\"countdn\""), std::string::npos);
}

}  // namespace
