// The automatic login and the usage report with the real browser against the sandbox server.
#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <csignal>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "main/program_state.h"
#include "main/ui/code_commands.h"
#include "platform/qt_web_browser.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"

namespace zeko::testing {
namespace {

// A guard against a step that never ends, not a timing expectation.
constexpr int kPatienceMs = 30000;

// The sandbox server on a free port, stopped when the test ends.
class Sandbox {
  public:
    Sandbox() {
        process_.setProgram(QStringLiteral(ZEKO_SANDBOX_SERVER));
        process_.setArguments({QStringLiteral("--port"), QStringLiteral("0")});
        // A test program that crashes must not leave the server running.
        process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process_.start();
        if (!process_.waitForStarted(kPatienceMs)) return;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(kPatienceMs)) return;
        const QString line = QString::fromUtf8(process_.readLine()).trimmed();
        const auto match =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$")).match(line);
        if (match.hasMatch()) port_ = match.captured(1).toInt();
    }
    ~Sandbox() {
        process_.terminate();
        if (!process_.waitForFinished(kPatienceMs)) process_.kill();
    }

    int port() const { return port_; }
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string game_url() const { return "http://" + host() + "/blood.pl"; }

    // How many requests the server had for a path; -1 when it did not answer.
    int hits(const QString& path) {
        QNetworkAccessManager net;
        QUrl url(QStringLiteral("http://127.0.0.1:%1/sandbox/hits").arg(port_));
        url.setQuery(QStringLiteral("path=") + path);
        std::unique_ptr<QNetworkReply> reply(net.get(QNetworkRequest(url)));
        if (!wait_until([&] { return reply->isFinished(); })) return -1;
        bool ok = false;
        const int n = QString::fromUtf8(reply->readAll()).trimmed().toInt(&ok);
        return ok ? n : -1;
    }

    // The HTTP status of a page; 0 when the server did not answer.
    int status(const QString& path) {
        QNetworkAccessManager net;
        std::unique_ptr<QNetworkReply> reply(net.get(
            QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path)))));
        if (!wait_until([&] { return reply->isFinished(); })) return 0;
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

  private:
    QProcess process_;
    int port_ = 0;
};

// The documents a browser completed, in order.
struct Completed {
    explicit Completed(WebBrowser& browser) {
        QObject::connect(&browser, &WebBrowser::DocumentComplete,
                         [this](const QString& url) { urls.append(url); });
    }
    bool wait_for(const QString& url, int count = 1) {
        return wait_until([&] { return urls.count(url) >= count; });
    }
    QStringList urls;
};

// One run of the program: its own browsers and state over the shared program folder.
struct ProgramRun {
    ProgramRun(TestWorld& world, const Sandbox& sandbox)
        : wb(&profile),
          wb2(&profile),
          wb_done(wb),
          wb2_done(wb2),
          state(world.folder.path(), world.services()),
          commands(
              state, wb, wb2, [this] { ++redraws; }, sandbox.game_url(), sandbox.host()) {
        wb.setSilent(true);
        wb2.setSilent(true);
        wb.widget()->resize(800, 600);
        wb.widget()->show();
        state.settings.LOAD_SETTINGS();
        state.db.CREATE_OFFERED = true;
        state.db.LOAD_DB();
        state.db.CUR_VAMP = 1;
    }

    std::optional<QString> body() {
        std::optional<std::optional<QString>> got;
        wb.readBodyInnerHtml([&](std::optional<QString> html) { got = html; });
        wait_until([&] { return got.has_value(); });
        return got.value_or(std::nullopt);
    }
    QString document_cookie() {
        std::optional<QString> got;
        wb.page()->runJavaScript(QStringLiteral("document.cookie"),
                                 [&](const QVariant& v) { got = v.toString(); });
        wait_until([&] { return got.has_value(); });
        return got.value_or(QString());
    }

    QWebEngineProfile profile;  // off the record: a fresh cookie jar per run
    QtWebBrowser wb;
    QtWebBrowser wb2;
    Completed wb_done;
    Completed wb2_done;
    ProgramState state;
    ui::CodeCommands commands;
    int redraws = 0;
};

TEST(LoginEndToEnd, AutomaticLoginSendsTheStoredCookieAndReportsOncePerRun) {
    Sandbox sandbox;
    ASSERT_GT(sandbox.port(), 0);
    const QString welcome = QString::fromStdString(sandbox.game_url() + "?action=welcome");
    const QString plus_all = QStringLiteral("/ZEKO2/MISC/plus_all.php");
    const QString plus_hit = QStringLiteral("/ZEKO2/MISC/plus_hit.php");
    const QString maker = QString::fromStdString("http://" + sandbox.host());
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
        ASSERT_TRUE(run.wb_done.wait_for(QStringLiteral("about:blank")));
        run.commands.LOGIN_CURRENT();
        EXPECT_EQ(run.redraws, 1);
        ASSERT_TRUE(run.wb_done.wait_for(welcome));
        const std::optional<QString> page = run.body();
        ASSERT_TRUE(page.has_value());
        EXPECT_TRUE(page->contains(QStringLiteral("Welcome, Vlad Tepes!"))) << page->toStdString();
        EXPECT_EQ(run.document_cookie(), QStringLiteral("ip=Vlad Tepes#s3cr3t!"));

        ASSERT_TRUE(run.wb2_done.wait_for(maker + plus_all));
        EXPECT_EQ(sandbox.hits(plus_all), 1);
        EXPECT_EQ(sandbox.hits(plus_hit), 0);
        EXPECT_EQ(run.state.settings.SETTINGS.USAGE_PING_DONE, kTrue);

        // A second login of the run sends no report.
        run.commands.LOGIN_CURRENT();
        ASSERT_TRUE(run.wb_done.wait_for(welcome, 2));
        EXPECT_EQ(run.wb2_done.urls, QStringList({maker + plus_all}));
        EXPECT_EQ(sandbox.hits(plus_all), 1);
        EXPECT_EQ(sandbox.hits(plus_hit), 0);
    }
    {
        // The next run remembers that the user was counted: a hit only.
        ProgramRun run(world, sandbox);
        EXPECT_EQ(run.state.settings.SETTINGS.USAGE_PING_DONE, kTrue);
        run.commands.LOGIN_CURRENT();
        ASSERT_TRUE(run.wb_done.wait_for(welcome));
        const std::optional<QString> page = run.body();
        ASSERT_TRUE(page.has_value());
        EXPECT_TRUE(page->contains(QStringLiteral("Welcome, Vlad Tepes!"))) << page->toStdString();
        ASSERT_TRUE(run.wb2_done.wait_for(maker + plus_hit));
        EXPECT_EQ(sandbox.hits(plus_hit), 1);
        EXPECT_EQ(sandbox.hits(plus_all), 1);
    }
    EXPECT_TRUE(world.prompts.shown.empty());

    // The maker's other pages are there too.
    EXPECT_EQ(sandbox.status(QStringLiteral("/ZEKO2/")), 200);
    EXPECT_EQ(sandbox.status(QStringLiteral("/ZEKO2/donate.php")), 200);
}

}  // namespace
}  // namespace zeko::testing
