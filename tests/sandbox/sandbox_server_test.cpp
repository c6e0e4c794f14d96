// The sandbox game server on its own: the page shapes the end-to-end tests take for granted,
// its answers to moves and rides, and that garbage neither crashes nor widens it.
#include <gtest/gtest.h>

#include <QProcess>

#include <memory>
#include <random>
#include <string>

#include "support/fakes.h"
#include "support/qt/sandbox.h"

namespace zeko::testing {
namespace {

size_t count_of(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

// The neighbourhood table of a page.
std::string table_of(const std::string& html) {
    const size_t at = html.find("<table");
    return html.substr(at, html.find("</table>", at) - at);
}

// "names@cell" of the marked crossing: the cell counted from 0 in the neighbourhood table.
std::string crossing(const std::string& html) {
    const std::string table = table_of(html), mark = "<span class=\"intersect\">";
    const size_t at = table.find(mark);
    if (at == std::string::npos || count_of(html, mark) != 1) return "none";
    const size_t end = table.find("</span>", at);
    return table.substr(at + mark.size(), end - at - mark.size()) + "@" +
           std::to_string(count_of(table.substr(0, at), "<td") - 1);
}

bool has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

class SandboxServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(QProcess::execute(ZEKO_MAPGEN, {ZEKO_SAMPLE_CITY, map}), 0);
        server = std::make_unique<SandboxServer>(QStringList{"--map", map});
        ASSERT_GT(server->port(), 0);
    }
    std::string post(const std::string& body) {
        return http(server->port(), "POST", "/blood.pl", body).body;
    }
    void place(const std::string& fields) {
        ASSERT_EQ(http(server->port(), "POST", "/sandbox/place", fields).status, 200) << fields;
    }
    std::string page() { return server->get("/blood.pl?action=welcome").body; }

    TempFolder folder;
    QString map = QString::fromStdString((folder / "MAP.DAT").string());
    std::unique_ptr<SandboxServer> server;
};

TEST_F(SandboxServerTest, PagesTakeEveryLookWithTheShapeTheProgramReads) {
    // The forms are left to the whole-program test, which posts them.
    std::string html = page();
    EXPECT_EQ(crossing(html), "Zelkova and 50th@0");
    EXPECT_EQ(count_of(html.substr(0, html.find("<tr>")), "<table"), 1u);
    EXPECT_TRUE(has(html, "name=\"ap\" value=\"30\""));

    struct Case {
        const char* fields;
        const char* crossing;
        size_t bare, classed;  // cells opened by "<td>" and by "<td class=..."
        const char* chat;      // where the long chat stands: "", "before", "after"
    };
    const Case cases[] = {
        {"cells=mixed", "Zelkova and 50th@0", 1, 8, ""},
        {"x=199&y=199&cells=bare&points=empty", "Zestless and 100th@4", 9, 0, ""},
        {"x=101&y=101&cells=classed&chat=before&points=shown", "Amethyst and 51st@4", 0, 9,
         "before"},
        {"x=0&y=0&chat=after", "WCL and NCL@0", 0, 9, "after"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        place(c.fields);
        html = page();
        EXPECT_EQ(crossing(html), c.crossing);
        EXPECT_EQ(count_of(table_of(html), "<td>"), c.bare);
        EXPECT_EQ(count_of(table_of(html), "<td class=\""), c.classed);
        const size_t chat = html.find("<div class=\"chat\">"), table = html.find("<table");
        EXPECT_EQ(chat == std::string::npos ? ""
                  : chat < table            ? "before"
                                            : "after",
                  std::string(c.chat));
        if (chat == std::string::npos) continue;
        const std::string said = html.substr(chat, html.find("</div>", chat) - chat);
        EXPECT_GT(said.size(), 32767u);
        for (const char* carrier : {"title=\"&lt;tr&gt;", "alt=\"&lt;tr&gt;", "<!-- said by",
                                    "\"<tr><td><span class=intersect>Zestless and 100th<\\/"})
            EXPECT_EQ(count_of(said, carrier), 1u) << carrier;
    }
    EXPECT_TRUE(has(html, "name=\"ap\" value=\"30\""));
    place("points=empty");
    EXPECT_TRUE(has(page(), "name=\"ap\" value=\"\""));
    EXPECT_EQ(http(server->port(), "POST", "/sandbox/place", "x=3&cells=round").status, 400);

    // The look every character starts with is given on the command line.
    const SandboxServer bare({"--look", "cells=bare"});
    EXPECT_EQ(count_of(table_of(bare.get("/blood.pl").body), "<td>"), 9u);
    EXPECT_EQ(QProcess::execute(ZEKO_SANDBOX_SERVER, {"--port", "0", "--look", "chat=loud"}), 2);
}

TEST_F(SandboxServerTest, MovesAndRidesSpendActionPointsAndStopAtZero) {
    const std::pair<const char*, const char*> steps[] = {
        // A station takes any letter case.
        {"action=transit&target=URANIA+station&go=1", "You ride the transit to Urania Station."},
        {"action=move&x=151&y=151", "name=\"ap\" value=\"28\""},
        {"action=move&x=153&y=151", "You cannot move there."},
    };
    for (const auto& [body, says] : steps)
        EXPECT_TRUE(has(post(body), says)) << body;
    EXPECT_EQ(server->get("/sandbox/state").body, "(guest) 151 151 28\n");
    place("x=100&y=150&ap=0");
    for (const char* body : {"action=move&x=101&y=150", "action=transit&target=Clio+Station"})
        EXPECT_TRUE(has(post(body), "You have no action points left.")) << body;
}

TEST_F(SandboxServerTest, SurvivesGarbageServesTheLoopbackOnlyAndStopsCleanly) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 100; ++i) {
        std::string body(random() % 300, '\0');
        for (char& c : body)
            c = static_cast<char>(random() % 256);
        if (i % 2 == 0) body = (i % 4 == 0 ? "action=move&" : "action=transit&") + body;
        ASSERT_EQ(count_of(table_of(post(body)), "<td"), 9u) << i;
    }
    EXPECT_EQ(http(server->port(), "POST", "/blood.pl", std::string(100000, 'a')).status, 413);
    EXPECT_EQ(server->get("/blood.pl").status, 200);
    EXPECT_EQ(server->stop(), 0);  // a crash or a sanitizer report would show here
    EXPECT_EQ(QProcess::execute(ZEKO_SANDBOX_SERVER, {"--host", "0.0.0.0", "--port", "0"}), 2);
}

}  // namespace
}  // namespace zeko::testing
