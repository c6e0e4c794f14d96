// The whole program in the real browser against the sandbox game server: the start, both kinds
// of position tracking, the post log and the quit.
#include <gtest/gtest.h>

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "main/program.h"
#include "main/program_state.h"
#include "main/tracking.h"
#include "main/ui/frm_main.h"
#include "main/ui/page_tracking.h"
#include "main/ui/program_ui.h"
#include "platform/qt_web_browser.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"
#include "support/qt/sandbox.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

using Square = std::pair<int, int>;

QString tip_of(const Square& s) {
    return QStringLiteral("(X:  %1  Y:  %2)").arg(s.first).arg(s.second);
}

// The program as it stood right after its own handler of a browser event.
struct Seen {
    QByteArray post;
    Square at;
    bool predicted = false;
    bool rip_active = false;
    QString centre_tip;  // tool tip of the minimap's centre tile
};

// What a form post led to: the program just after its BeforeNavigate2 and just after the
// DocumentComplete of the page that came back.
struct PostOutcome {
    Seen before;
    Seen complete;
};

class ProgramE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString map = QString::fromStdString((world.folder / "MAP.DAT").string());
        ASSERT_EQ(QProcess::execute(ZEKO_MAPGEN, {ZEKO_SAMPLE_CITY, map}), 0);
        server = std::make_unique<SandboxServer>(QStringList{QStringLiteral("--map"), map});
        ASSERT_GT(server->port(), 0);
    }

    // Where the guest stands, and its action points, as the server's state lists them.
    std::pair<Square, int> guest_line() {
        std::istringstream lines(server->get("/sandbox/state").body);
        std::string name;
        Square at;
        int ap = -1;
        while (lines >> name >> at.first >> at.second >> ap)
            if (name == "(guest)") return {at, ap};
        return {Square{-1, -1}, -1};
    }
    Square guest() { return guest_line().first; }
    // Moves the guest or sets its action points ("x=..&y=..&ap=..").
    bool place(const std::string& fields) {
        return http(server->port(), "POST", "/sandbox/place", fields).status == 200;
    }
    QString welcome() const {
        return QString::fromStdString(server->game_url() + "?action=welcome");
    }

    // The program's start with one character at (10, 10) in the file, up to the moment the
    // welcome page has been read.
    void start() {
        Services services = world.services();
        state = std::make_unique<ProgramState>(world.folder.path(), services);
        state->db.new_vamp_dialog = &world.new_vamp;  // scripted: no modal dialog
        state->game_url_override = server->game_url();
        VAMP v;
        v.set_handle("Nosferatu");
        v.POS_X = v.POS_Y = 10;
        ASSERT_EQ(state->db.CREATE_DB(v), 1);
        ui = std::make_unique<ui::ProgramUi>(
            *state,
            [this](QWidget*) -> std::unique_ptr<WebBrowser> {
                auto browser = std::make_unique<QtWebBrowser>();
                if (!wb) watch_from_the_start(*browser);
                return browser;
            },
            [this] { ++quits; });
        INIT_PROGRAM(*state, *ui);
        ASSERT_TRUE(ui->main_loaded());
        main = &ui->frmMAIN();
        ASSERT_EQ(&main->wb(), wb.data());

        // Connected after the window's own handlers, so these see what the handlers did.
        QObject::connect(wb, &WebBrowser::BeforeNavigate2, main,
                         [this](NavigationRequest& r) { before.push_back(seen(r.post_data)); });
        QObject::connect(wb, &WebBrowser::DocumentComplete, main,
                         [this](const QString&) { completes.push_back(seen({})); });
        // The page read may succeed before the welcome page has finished loading; the test
        // goes on once both have happened.
        ASSERT_TRUE(wait_until([&] { return events.contains("DocumentComplete " + welcome()); }));
        ASSERT_TRUE(read_to_the_guest());
    }

    // Records the game browser's events from its first navigation on, before the window
    // connects its handlers.
    void watch_from_the_start(QtWebBrowser& browser) {
        wb = &browser;
        QObject::connect(&browser, &WebBrowser::BeforeNavigate2, [this](NavigationRequest& r) {
            events.append("BeforeNavigate2 " + r.url);
            if (ahead_of_the_window) ahead_of_the_window(r);
        });
        QObject::connect(&browser, &WebBrowser::DocumentComplete,
                         [this](const QString& url) { events.append("DocumentComplete " + url); });
    }

    Seen seen(const QByteArray& post) {
        return Seen{post, position(), main->tracking().tracker().POSITION_PREDICTED,
                    main->tracking().tmrRIP()->isActive(),
                    main->findChild<QWidget*>(QStringLiteral("TILE(4)"))->toolTip()};
    }
    Square position() { return {state->db.current().POS_X, state->db.current().POS_Y}; }

    // Waits until "Standard" has put the character where the server has the guest.
    bool read_to_the_guest() {
        const Square at = guest();
        const auto read = [&] {
            return position() == at && !main->tracking().tmrRIP()->isActive();
        };
        // The timer stops while its read is under way; answers come back in the order the
        // scripts were sent, so once a later script has answered, that read has too.
        const bool ok = wait_until(read) && fence() && wait_until(read);
        EXPECT_EQ(position(), at);
        return ok;
    }

    // Waits for the answer of an empty script in the game page.
    bool fence() {
        return run_script(wb->page(), QStringLiteral("0"), QWebEngineScript::ApplicationWorld)
            .isValid();
    }

    // Sends the first form of the page whose fields pass `match` (a script expression over
    // v(name), the value of the form's field of that name) by clicking its button, and waits
    // for the page that comes back.
    std::optional<PostOutcome> post(const QString& match) {
        const size_t before_count = before.size();
        const size_t complete_count = completes.size();
        const QString click = QStringLiteral(
                                  "(function () { for (const f of document.forms) {"
                                  "  const v = n => { const e = f.querySelector('input[name=\"' + "
                                  "n + '\"]'); return e ? e.value : null; };"
                                  "  if (%1) { f.querySelector('input[type=submit]').click(); "
                                  "return true; } } return false; })()")
                                  .arg(match);
        if (!run_script(wb->page(), click).toBool()) {
            ADD_FAILURE() << "no form matches " << match.toStdString();
            return std::nullopt;
        }
        if (!wait_until([&] { return completes.size() > complete_count; })) {
            ADD_FAILURE() << "the page after the post did not arrive";
            return std::nullopt;
        }
        EXPECT_EQ(before.size(), before_count + 1);
        EXPECT_EQ(completes.size(), complete_count + 1);
        return PostOutcome{before.back(), completes.back()};
    }
    std::optional<PostOutcome> move_to(int x, int y) {
        return post(QStringLiteral("v('action') === 'move' && v('x') === '%1' && v('y') === '%2'")
                        .arg(x)
                        .arg(y));
    }

    // The player puts the character a square off by hand (a click on the minimap's top-left
    // tile), so that only a page read can bring it back.
    void nudge() {
        QTest::mouseClick(main->findChild<QWidget*>(QStringLiteral("TILE(0)")), Qt::LeftButton);
        ASSERT_NE(position(), guest());
    }

    // Nudges, then loads the page again as the toolbar's Refresh does and waits for the
    // DocumentComplete; `read` also waits for the page read that follows.
    void reload(bool read = true) {
        ASSERT_NO_FATAL_FAILURE(nudge());
        const size_t complete_count = completes.size();
        main->wb().Refresh();
        ASSERT_TRUE(wait_until([&] { return completes.size() > complete_count; }));
        if (read) {
            ASSERT_TRUE(read_to_the_guest());
        }
    }

    std::string postdata_file() const {
        const auto path = world.folder / "POSTDATA.txt";
        return std::filesystem::exists(path) ? read_bytes(path) : std::string("(none)");
    }

    // Destroyed in reverse: the windows, then the state, then the server.
    TestWorld world;
    std::unique_ptr<SandboxServer> server;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<ui::ProgramUi> ui;
    QPointer<QtWebBrowser> wb;  // the game browser
    ui::FrmMain* main = nullptr;
    int quits = 0;

    QStringList events;
    // Runs on each navigation of the game browser before the window's own handler does.
    std::function<void(NavigationRequest&)> ahead_of_the_window;
    std::vector<Seen> before;
    std::vector<Seen> completes;
};

TEST_F(ProgramE2e, StartShowsTheBlankPageThenTheWelcomePageAndStandardReadsEveryShapeOfIt) {
    ASSERT_TRUE(place("x=57&y=84"));
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(events,
              (QStringList{"BeforeNavigate2 about:blank", "DocumentComplete about:blank",
                           "BeforeNavigate2 " + welcome(), "DocumentComplete " + welcome()}));
    // "Standard" took the crossing north of the guest and put the character on its block.
    EXPECT_EQ(position(), (Square{57, 84}));
    EXPECT_TRUE(seen({}).centre_tip.endsWith(tip_of({57, 84})));
    EXPECT_TRUE(world.prompts.shown.empty());

    const std::pair<const char*, Square> pages[] = {
        {"cells=classed", {1, 1}},  // on the crossing of Aardvark and 1st
        {"cells=classed", {2, 2}},  // the same crossing north-west
        {"cells=mixed", {101, 101}},
        {"cells=mixed", {100, 101}},
        {"cells=bare", {99, 99}},
        // Long pages, with players' look-alike rows in attributes, a comment and a script.
        {"cells=classed&chat=before", {57, 84}},
        {"chat=after", {58, 85}},
        {"cells=mixed&chat=before", {101, 100}},
    };
    for (const auto& [look, at] : pages) {
        SCOPED_TRACE(look);
        ASSERT_TRUE(place(std::string(look) + "&x=" + std::to_string(at.first) +
                          "&y=" + std::to_string(at.second)));
        ASSERT_NO_FATAL_FAILURE(reload());
        EXPECT_EQ(position(), at);
    }
}

// The page read asks the browser for the first three rows only, and gets the text up to the end
// of the section that holds the last of them. With each row in a section of its own, a crossing
// marked in the third row alone is read only when all three rows are asked for. The sandbox
// serves that page in place of its guild list.
TEST_F(ProgramE2e, StandardFindsACrossingMarkedOnlyInTheThirdRow) {
    std::string rows;
    for (int cell = 0; cell < 9; ++cell)
        rows += std::string(cell % 3 == 0 ? "<tbody><tr>" : "") + "<td>" +
                (cell == 7 ? "<span class=intersect>Aardvark and 1st</span>" : "block") + "</td>" +
                (cell % 3 == 2 ? "</tr></tbody>" : "");
    const auto page = world.folder / "rows.html";
    write_bytes(page, "<html><body><p>The city</p><table>" + rows + "</table></body></html>");
    server = std::make_unique<SandboxServer>(QStringList{
        QStringLiteral("--map"), QString::fromStdString((world.folder / "MAP.DAT").string()),
        QStringLiteral("--guild-page"), QString::fromStdString(page.string())});
    ASSERT_NO_FATAL_FAILURE(start());
    main->wb().Navigate2(QString::fromStdString("http://" + server->host() + "/cgi-bin/index.cgi"));
    // The crossing lies south of the centre: the character stands one square north of it.
    wait_until([&] { return position() == Square{1, 0}; }, 10000);
    EXPECT_EQ(position(), (Square{1, 0}));
}

TEST_F(ProgramE2e, MovePostIsPredictedBeforeThePageArrivesAndNeitherPageIsRead) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_EQ(position(), (Square{100, 100}));
    QSignalSpy reads(main->tracking().tmrRIP(), &QTimer::timeout);
    const auto moved = move_to(101, 100);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->before.post, "action=move&x=101&y=100");
    EXPECT_EQ(moved->before.at, (Square{101, 100}));
    EXPECT_TRUE(moved->before.predicted);
    EXPECT_TRUE(moved->before.centre_tip.endsWith(tip_of({101, 100})));
    EXPECT_EQ(moved->complete.at, (Square{101, 100}));
    EXPECT_FALSE(moved->complete.rip_active);
    EXPECT_FALSE(reads.wait(400));
    EXPECT_EQ(guest_line(), std::make_pair(Square{101, 100}, 29));

    // The page-read timer fires just as the next move post leaves: the page being left is
    // read while the next one loads, and must not undo the prediction.
    int reads_started = 0;
    ahead_of_the_window = [&](NavigationRequest& r) {
        if (r.post_data.isEmpty()) return;
        ++reads_started;
        fire(main->tracking().tmrRIP());
    };
    const auto again = move_to(100, 99);
    ahead_of_the_window = nullptr;
    ASSERT_TRUE(again);
    EXPECT_EQ(reads_started, 1);
    EXPECT_EQ(again->complete.at, (Square{100, 99}));
    EXPECT_FALSE(again->complete.rip_active);
    settle(300);
    EXPECT_EQ(position(), (Square{100, 99}));
    EXPECT_EQ(guest(), (Square{100, 99}));
    EXPECT_EQ(postdata_file(),
              "\"action=move&x=101&y=100\r\n\"\r\n\"action=move&x=100&y=99\r\n\"\r\n");

    // A plain navigation afterwards is read again.
    ASSERT_NO_FATAL_FAILURE(reload(false));
    EXPECT_FALSE(completes.back().predicted);
    EXPECT_TRUE(completes.back().rip_active);
    EXPECT_TRUE(read_to_the_guest());
}

// An empty points field on the page stops neither the log nor the prediction.
TEST_F(ProgramE2e, PostLogHoldsEveryPostByteForByteAndQuittingKeepsThePosition) {
    ASSERT_TRUE(place("points=empty"));
    ASSERT_NO_FATAL_FAILURE(start());
    // The guest starts on Melpomne Station.
    const auto rode =
        post(QStringLiteral("v('action') === 'transit' && v('target') === 'Calliope Station'"));
    ASSERT_TRUE(rode);
    EXPECT_EQ(rode->before.at, (Square{50, 50}));
    EXPECT_TRUE(rode->before.predicted);
    EXPECT_TRUE(rode->before.centre_tip.endsWith(tip_of({50, 50})));
    EXPECT_FALSE(rode->complete.rip_active);
    ASSERT_TRUE(move_to(51, 51));
    ASSERT_NO_FATAL_FAILURE(nudge());
    // Neither a move nor a transit: logged, not predicted, and the page is read.
    const auto rested = post(QStringLiteral("v('action') === 'rest'"));
    ASSERT_TRUE(rested);
    EXPECT_FALSE(rested->before.predicted);
    EXPECT_TRUE(rested->complete.rip_active);
    ASSERT_TRUE(read_to_the_guest());
    ASSERT_TRUE(move_to(52, 50));
    EXPECT_EQ(guest(), (Square{52, 50}));
    EXPECT_EQ(postdata_file(),
              "\"action=transit&target=Calliope+Station\r\n\"\r\n"
              "\"action=move&x=51&y=51\r\n\"\r\n"
              "\"action=rest\r\n\"\r\n"
              "\"action=move&x=52&y=50\r\n\"\r\n");

    const auto on_disk = [&] {
        const VAMP saved = vamp_on_disk(world.folder / "VAMP.dat", 1);
        return Square{saved.POS_X, saved.POS_Y};
    };
    EXPECT_EQ(on_disk(), (Square{10, 10}));  // tracking alone saves nothing
    world.prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(main->close());
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(on_disk(), (Square{52, 50}));
}

}  // namespace
}  // namespace zeko::testing
