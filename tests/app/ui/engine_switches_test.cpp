// The switches the program starts the browser engine with, as main() sets them up. Each test
// runs in a process of its own, so the engine starts here, with the switches made here.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <string>

#include "platform/engine_setup.h"
#include "platform/qt_web_browser.h"
#include "support/qt/qt_support.h"
#include "support/qt/sandbox.h"

namespace zeko::testing {
namespace {

constexpr char kFlags[] = "QTWEBENGINE_CHROMIUM_FLAGS";

TEST(EngineSwitches, ThePlayersOwnComeAfterTheProgramsAndReachThePages) {
    qunsetenv(kFlags);
    prepare_engine();
    const std::string program = qgetenv(kFlags).toStdString();
    EXPECT_TRUE(program.starts_with("--renderer-process-limit=1 --disable-gpu")) << program;
    // Coming last, the player's switches win over the program's where the two disagree.
    for (const std::string player : {"  ", "--js-flags=--expose-gc"}) {
        qputenv(kFlags, QByteArray::fromStdString(player));
        prepare_engine();
        EXPECT_EQ(qgetenv(kFlags).toStdString(), player == "  " ? program : program + ' ' + player);
    }

    SandboxServer server;
    QtWebBrowser browser;
    browser.Navigate2(QString::fromStdString(server.game_url() + "?action=welcome"));
    ASSERT_TRUE(wait_until([&] { return browser.ReadyState() == 4; }));
    EXPECT_EQ(run_script(browser.page(), QStringLiteral("typeof gc")).toString(),
              QStringLiteral("function"));
}

}  // namespace
}  // namespace zeko::testing
