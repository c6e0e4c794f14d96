// The automatic login and the usage report with the real browser against the sandbox server.
#include <gtest/gtest.h>

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWidget>

#include <optional>

#include "main/program_state.h"
#include "main/ui/code_commands.h"
#include "platform/qt_web_browser.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"
#include "support/qt/sandbox.h"

namespace zeko::testing {
namespace {

// How many requests the server had for a path; -1 when it did not answer.
int hits(const SandboxServer& sandbox, const std::string& path) {
    const HttpReply reply = sandbox.get("/sandbox/hits?path=" + path);
    return reply.status == 200 ? std::atoi(reply.body.c_str()) : -1;
}

// One run of the program: its own browsers and state over the shared program folder.
struct ProgramRun {
    ProgramRun(TestWorld& world, const SandboxServer& sandbox)
        : wb(&profile),
          wb2(&profile),
          state(world.folder.path(), world.services()),
          commands(
              state, wb, wb2, [this] { ++redraws; }, sandbox.game_url(), sandbox.host()) {
        for (QtWebBrowser* b : {&wb, &wb2}) {
            b->setSilent(true);
            QObject::connect(b, &WebBrowser::DocumentComplete,
                             [this, b](const QString& url) { done[b == &wb2].append(url); });
        }
        wb.widget()->resize(800, 600);
        wb.widget()->show();
        world.wire(state.db);
        state.settings.LOAD_SETTINGS();
        state.db.CREATE_OFFERED = true;
        state.db.LOAD_DB();
        state.db.CUR_VAMP = 1;
    }

    // Waits until browser `which` (0 the game's, 1 the report's) completed `url` `count` times.
    bool wait_for(int which, const QString& url, int count = 1) {
        return wait_until([&] { return done[which].count(url) >= count; });
    }
    // Runs a script in the game page and gives its answer as text.
    QString eval(const QString& script) { return run_script(wb.page(), script).toString(); }

    QWebEngineProfile profile;  // off the record: a fresh cookie jar per run
    QtWebBrowser wb;
    QtWebBrowser wb2;
    QStringList done[2];  // the documents each browser completed, in order
    ProgramState state;
    ui::CodeCommands commands;
    int redraws = 0;
};

TEST(LoginEndToEnd, AutomaticLoginSendsTheStoredCookieAndReportsOncePerRun) {
    SandboxServer sandbox;
    ASSERT_GT(sandbox.port(), 0);
    const QString welcome = QString::fromStdString(sandbox.game_url() + "?action=welcome");
    const std::string plus_all = "/ZEKO2/MISC/plus_all.php";
    const std::string plus_hit = "/ZEKO2/MISC/plus_hit.php";
    const QString maker = QString::fromStdString("http://" + sandbox.host());
    const QString greeting = QStringLiteral("Welcome, Vlad Tepes!");
    TestWorld world;
    {
        ProgramRun run(world, sandbox);
        VAMP v;
        v.set_handle("Night");
        v.set_name("Vlad Tepes");
        v.set_password("s3cr3t!");
        v.AUTOLOGIN = kTrue;
        ASSERT_EQ(run.state.db.CREATE_DB(v), 1);

        // The first login comes while the blank start page is still shown.
        run.wb.Navigate2(QStringLiteral("about:blank"));
        ASSERT_TRUE(run.wait_for(0, QStringLiteral("about:blank")));
        run.commands.LOGIN_CURRENT();
        EXPECT_EQ(run.redraws, 1);
        ASSERT_TRUE(run.wait_for(0, welcome));
        EXPECT_TRUE(run.eval(QStringLiteral("document.body.innerHTML")).contains(greeting));
        EXPECT_EQ(run.eval(QStringLiteral("document.cookie")), "ip=Vlad Tepes#s3cr3t!");
        ASSERT_TRUE(run.wait_for(1, maker + QString::fromStdString(plus_all)));
        EXPECT_EQ(run.state.settings.SETTINGS.USAGE_PING_DONE, kTrue);

        // A second login of the run sends no report.
        run.commands.LOGIN_CURRENT();
        ASSERT_TRUE(run.wait_for(0, welcome, 2));
        EXPECT_EQ(run.done[1], QStringList({maker + QString::fromStdString(plus_all)}));
        EXPECT_EQ(hits(sandbox, plus_all), 1);
        EXPECT_EQ(hits(sandbox, plus_hit), 0);
    }
    {
        // The next run remembers that the user was counted: a hit only.
        ProgramRun run(world, sandbox);
        run.commands.LOGIN_CURRENT();
        ASSERT_TRUE(run.wait_for(0, welcome));
        ASSERT_TRUE(run.wait_for(1, maker + QString::fromStdString(plus_hit)));
        EXPECT_EQ(hits(sandbox, plus_hit), 1);
        EXPECT_EQ(hits(sandbox, plus_all), 1);
    }
    EXPECT_TRUE(world.prompts.shown.empty());
}

}  // namespace
}  // namespace zeko::testing
