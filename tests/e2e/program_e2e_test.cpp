// The whole program in the real browser against the sandbox game server: the start, both kinds
// of position tracking, the post log and the quit.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "main/program.h"
#include "main/program_state.h"
#include "main/tracking.h"
#include "main/ui/frm_main.h"
#include "main/ui/program_ui.h"
#include "map/vamp_db.h"
#include "platform/qt_web_browser.h"
#include "support/fakes.h"
#include "support/net.h"
#include "support/qt/qt_support.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

struct HttpReply {
    int status = 0;
    std::string body;
};

// One HTTP/1.1 request to the loopback server, answered and closed.
HttpReply http(int port, const std::string& method, const std::string& path,
               const std::string& body = {}) {
    HttpReply reply;
    const int fd = connect_loopback(port);
    if (fd < 0) return reply;
    std::string request =
        method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    if (method == "POST") {
        request += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                   std::to_string(body.size()) + "\r\n";
    }
    request += "\r\n" + body;
    size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    std::string raw;
    char buffer[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 30000) <= 0) break;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        raw.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    const size_t space = raw.find(' ');
    const size_t head_end = raw.find("\r\n\r\n");
    if (space == std::string::npos || head_end == std::string::npos) return reply;
    reply.status = std::atoi(raw.c_str() + space + 1);
    reply.body = raw.substr(head_end + 4);
    return reply;
}

struct Square {
    int x = -1;
    int y = -1;
    bool operator==(const Square&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Square& s) {
    return out << "(" << s.x << ", " << s.y << ")";
}

// The sandbox server as a child process, stopped when the test ends.
class SandboxServer {
  public:
    explicit SandboxServer(const std::filesystem::path& map) {
        process_.setProgram(QStringLiteral(ZEKO_SANDBOX_SERVER));
        process_.setArguments({QStringLiteral("--port"), QStringLiteral("0"),
                               QStringLiteral("--map"), QString::fromStdString(map.string())});
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted(30000)) return;
        QByteArray line;
        while (!process_.canReadLine() && process_.waitForReadyRead(30000)) {
        }
        line = process_.readLine().trimmed();
        const QByteArray prefix("listening on 127.0.0.1:");
        if (line.startsWith(prefix)) port_ = line.mid(prefix.size()).toInt();
    }
    // Killed outright: asked to stop, the server would wait for the browser's idle keep-alive
    // connections to time out, and it holds nothing worth keeping.
    ~SandboxServer() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(10000);
    }
    SandboxServer(const SandboxServer&) = delete;
    SandboxServer& operator=(const SandboxServer&) = delete;

    int port() const { return port_; }
    std::string game_url() const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/blood.pl";
    }

    // Where the guest stands, and its action points, as the server's state lists them.
    Square guest() { return guest_line().first; }
    int guest_ap() { return guest_line().second; }

    // Moves the guest or sets its action points ("x=..&y=..&ap=..").
    bool place(const std::string& fields) {
        return http(port_, "POST", "/sandbox/place", fields).status == 200;
    }

  private:
    std::pair<Square, int> guest_line() {
        std::istringstream lines(http(port_, "GET", "/sandbox/state").body);
        std::string name;
        Square at;
        int ap = -1;
        while (lines >> name >> at.x >> at.y >> ap) {
            if (name == "(guest)") return {at, ap};
        }
        return {Square{}, -1};
    }

    QProcess process_;
    int port_ = 0;
};

// The program as it stood right after its own handler of a browser event.
struct Seen {
    QString url;
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

std::string tip_of(const Square& s) {
    return "(X:  " + std::to_string(s.x) + "  Y:  " + std::to_string(s.y) + ")";
}

class ProgramE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::filesystem::path map = world.folder / "MAP.DAT";
        ASSERT_EQ(
            QProcess::execute(QStringLiteral(ZEKO_MAPGEN), {QStringLiteral(ZEKO_SAMPLE_CITY),
                                                            QString::fromStdString(map.string())}),
            0);
        server = std::make_unique<SandboxServer>(map);
        ASSERT_GT(server->port(), 0);
    }

    void TearDown() override {
        ui.reset();
        state.reset();
        server.reset();
    }

    // The program's start with one character at (10, 10) in the file, up to the moment the
    // welcome page has been read.
    void start() {
        Services services = world.services();
        services.vamp_list = nullptr;  // the window's list takes its place
        state = std::make_unique<ProgramState>(world.folder.path(), services);
        state->game_url_override = server->game_url();
        VAMP v;
        v.set_handle("Nosferatu");
        v.set_name("Nosferatu");
        v.POS_X = 10;
        v.POS_Y = 10;
        ASSERT_EQ(state->db.CREATE_DB(v), 1);

        ui = std::make_unique<ui::ProgramUi>(
            *state,
            [this](QWidget*) -> std::unique_ptr<WebBrowser> {
                auto browser = std::make_unique<QtWebBrowser>();
                if (browsers.empty()) watch_from_the_start(*browser);
                browsers.emplace_back(browser.get());
                return browser;
            },
            [this] { ++quits; });
        INIT_PROGRAM(*state, *ui);
        ASSERT_TRUE(ui->main_loaded());
        main = &ui->frmMAIN();
        ASSERT_EQ(&main->wb(), browsers.at(0).data());

        // Connected after the window's own handlers, so these see what the handlers did.
        WebBrowser& wb = main->wb();
        QObject::connect(&wb, &WebBrowser::BeforeNavigate2, main, [this](NavigationRequest& r) {
            before.push_back(seen(r.url, r.post_data));
        });
        QObject::connect(&wb, &WebBrowser::DocumentComplete, main,
                         [this](const QString& url) { completes.push_back(seen(url, {})); });

        // The page read may succeed before the welcome page has finished loading; the test
        // goes on once both have happened.
        const QString welcome = QString::fromStdString(server->game_url() + "?action=welcome");
        ASSERT_TRUE(wait_until(
            [&] { return events.contains(QStringLiteral("DocumentComplete ") + welcome); }));
        ASSERT_TRUE(read_to_the_guest());
    }

    // Records the browser's events from its first navigation on, before the window connects
    // its handlers, and what the blank page shows when the welcome page is asked for.
    void watch_from_the_start(QtWebBrowser& browser) {
        QObject::connect(
            &browser, &WebBrowser::BeforeNavigate2, &browser,
            [this, b = &browser](NavigationRequest& r) {
                events.append(QStringLiteral("BeforeNavigate2 ") + r.url);
                if (ahead_of_the_window) ahead_of_the_window(r);
                if (!r.url.endsWith(QStringLiteral("?action=welcome")) || first_page_text) return;
                // Asked before the load starts, so it runs in the blank page.
                first_page_text.emplace();
                b->readBodyOuterHtml([this](std::optional<QString> html) {
                    first_page_text = html.value_or(QStringLiteral("(no body)"));
                });
            });
        QObject::connect(&browser, &WebBrowser::DocumentComplete, &browser,
                         [this](const QString& url) {
                             events.append(QStringLiteral("DocumentComplete ") + url);
                         });
    }

    Seen seen(const QString& url, const QByteArray& post) {
        Seen s;
        s.url = url;
        s.post = post;
        s.at = position();
        s.predicted = main->tracker().POSITION_PREDICTED;
        s.rip_active = main->tmrRIP()->isActive();
        if (QWidget* centre = main->findChild<QWidget*>(QStringLiteral("TILE(4)")))
            s.centre_tip = centre->toolTip();
        return s;
    }

    Square position() {
        const VAMP& me = state->db.current();
        return Square{me.POS_X, me.POS_Y};
    }

    // Waits until "Standard" has put the character where the server has the guest.
    bool read_to_the_guest() {
        const Square guest = server->guest();
        const auto read = [&] { return position() == guest && !main->tmrRIP()->isActive(); };
        bool ok = wait_until(read);
        // The timer stops while its read is under way; answers come back in the order the
        // scripts were sent, so once a later script has answered, that read has too.
        ok = ok && fence() && wait_until(read);
        EXPECT_EQ(position(), guest);
        return ok;
    }

    // Waits for the answer of an empty script in the game page.
    bool fence() {
        // Shared, since an answer may come after a timed-out wait has returned.
        auto answered = std::make_shared<bool>(false);
        browsers.at(0)->page()->runJavaScript(QStringLiteral("0"),
                                              QWebEngineScript::ApplicationWorld,
                                              [answered](const QVariant&) { *answered = true; });
        return wait_until([&] { return *answered; });
    }

    // Sends the first form of the page whose fields pass `match` (a script expression over
    // v(name), the value of the form's field of that name) by clicking its button, and waits
    // for the page that comes back.
    std::optional<PostOutcome> post(const QString& match) {
        const size_t before_count = before.size();
        const size_t complete_count = completes.size();
        const QString script = QStringLiteral(
                                   "(function () {"
                                   "  for (const f of document.forms) {"
                                   "    const v = function (n) {"
                                   "      const e = f.querySelector('input[name=\"' + n + '\"]');"
                                   "      return e ? e.value : null;"
                                   "    };"
                                   "    if (%1) { f.querySelector('input[type=submit]').click();"
                                   "              return true; }"
                                   "  }"
                                   "  return false;"
                                   "})()")
                                   .arg(match);
        auto clicked = std::make_shared<std::optional<bool>>();
        browsers.at(0)->page()->runJavaScript(
            script, QWebEngineScript::MainWorld,
            [clicked](const QVariant& r) { *clicked = r.toBool(); });
        if (!wait_until([&] { return clicked->has_value(); }) || !**clicked) {
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
        main->TILE_Click(0);
        ASSERT_NE(position(), server->guest());
    }

    // Loads the page again, as the toolbar's Refresh does, and waits for its read.
    void reload() {
        ASSERT_NO_FATAL_FAILURE(nudge());
        const size_t complete_count = completes.size();
        main->wb().Refresh();
        ASSERT_TRUE(wait_until([&] { return completes.size() > complete_count; }));
        ASSERT_TRUE(read_to_the_guest());
    }

    std::string postdata_file() const {
        const auto path = world.folder / "POSTDATA.txt";
        return std::filesystem::exists(path) ? read_bytes(path) : std::string("(none)");
    }

    // The character record `n` as VAMP.dat holds it.
    VAMP record_on_disk(int n) const { return vamp_on_disk(world.folder / "VAMP.dat", n); }

    TestWorld world;
    std::unique_ptr<SandboxServer> server;
    std::unique_ptr<ProgramState> state;
    std::vector<QPointer<QtWebBrowser>> browsers;
    std::unique_ptr<ui::ProgramUi> ui;
    ui::FrmMain* main = nullptr;
    int quits = 0;

    QStringList events;
    std::optional<QString> first_page_text;
    // Runs on each navigation of the game browser before the window's own handler does.
    std::function<void(NavigationRequest&)> ahead_of_the_window;
    std::vector<Seen> before;
    std::vector<Seen> completes;
};

TEST_F(ProgramE2e, StartShowsLoadingThenTheWelcomePageAndReadsWhereTheGuestStands) {
    ASSERT_TRUE(server->place("x=57&y=84"));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(main, nullptr);
    const QString welcome = QString::fromStdString(server->game_url() + "?action=welcome");
    ASSERT_GE(events.size(), 4);
    EXPECT_EQ(events.mid(0, 4), (QStringList{QStringLiteral("BeforeNavigate2 about:blank"),
                                             QStringLiteral("DocumentComplete about:blank"),
                                             QStringLiteral("BeforeNavigate2 ") + welcome,
                                             QStringLiteral("DocumentComplete ") + welcome}));
    EXPECT_EQ(events.size(), 4) << events.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(wait_until([&] { return first_page_text && !first_page_text->isEmpty(); }));
    EXPECT_TRUE(first_page_text->contains(QStringLiteral(">Loading...</BODY>")))
        << first_page_text->toStdString();
    EXPECT_TRUE(first_page_text->contains(QStringLiteral("bgcolor=\"#003000\"")))
        << first_page_text->toStdString();
    EXPECT_TRUE(first_page_text->contains(QStringLiteral("text=\"#80FF80\"")))
        << first_page_text->toStdString();

    // "Standard" took the crossing north of the guest and put the character on its block.
    EXPECT_EQ(position(), (Square{57, 84}));
    EXPECT_EQ(state->db.CUR_VAMP, 1);
    EXPECT_EQ(state->ZOOM, 3);
    EXPECT_TRUE(main->findChild<QWidget*>(QStringLiteral("TILE(4)"))
                    ->toolTip()
                    .endsWith(QString::fromStdString(tip_of({57, 84}))));
    EXPECT_FALSE(main->tmrRIP()->isActive());
    EXPECT_EQ(main->wb().LocationURL(), welcome);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(world.prompts.shown.empty());

    // A picture of the window for a person to look at.
    settle(500);
    const QImage shot = main->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QStringLiteral(ZEKO_BUILD_DIR "/e2e_main_window.png")));
}

TEST_F(ProgramE2e, MovePostIsPredictedBeforeThePageArrivesAndThatPageIsNotRead) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(position(), (Square{100, 100}));
    QSignalSpy reads(main->tmrRIP(), &QTimer::timeout);

    const auto moved = move_to(101, 100);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->before.post, QByteArrayLiteral("action=move&x=101&y=100"));
    EXPECT_EQ(moved->before.at, (Square{101, 100}));
    EXPECT_TRUE(moved->before.predicted);
    EXPECT_TRUE(moved->before.centre_tip.endsWith(QString::fromStdString(tip_of({101, 100}))))
        << moved->before.centre_tip.toStdString();
    EXPECT_EQ(moved->complete.at, (Square{101, 100}));
    EXPECT_TRUE(moved->complete.predicted);
    EXPECT_FALSE(moved->complete.rip_active);
    // Nothing reads that page later either.
    EXPECT_FALSE(reads.wait(400));
    EXPECT_EQ(reads.count(), 0);
    EXPECT_FALSE(main->tmrRIP()->isActive());
    EXPECT_EQ(server->guest(), (Square{101, 100}));
    EXPECT_EQ(server->guest_ap(), 29);
    EXPECT_EQ(postdata_file(), "\"action=move&x=101&y=100\r\n\"\r\n");

    // A plain navigation afterwards is read again.
    ASSERT_NO_FATAL_FAILURE(nudge());
    const size_t complete_count = completes.size();
    main->wb().Refresh();
    ASSERT_TRUE(wait_until([&] { return completes.size() > complete_count; }));
    EXPECT_FALSE(completes.back().predicted);
    EXPECT_TRUE(completes.back().rip_active);
    EXPECT_TRUE(read_to_the_guest());
}

TEST_F(ProgramE2e, AReadOfThePageLeftDoesNotUndoThePrediction) {
    ASSERT_NO_FATAL_FAILURE(start());
    // The page-read timer fires just as the move post leaves: the page being left is read
    // while the next one loads.
    int reads_started = 0;
    ahead_of_the_window = [&](NavigationRequest& r) {
        if (r.post_data.isEmpty()) return;
        ++reads_started;
        main->tmrRIP_Timer();
    };
    const auto moved = move_to(99, 99);
    ASSERT_TRUE(moved);
    EXPECT_EQ(reads_started, 1);
    EXPECT_EQ(moved->before.at, (Square{99, 99}));
    EXPECT_EQ(moved->complete.at, (Square{99, 99}));
    EXPECT_FALSE(moved->complete.rip_active);
    settle(300);
    EXPECT_EQ(position(), (Square{99, 99}));
    EXPECT_EQ(server->guest(), (Square{99, 99}));
}

TEST_F(ProgramE2e, TransitPostFromAStationPredictsTheStation) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server->place("x=100&y=50"));  // Clio Station
    ASSERT_NO_FATAL_FAILURE(reload());
    EXPECT_EQ(position(), (Square{100, 50}));

    const auto rode =
        post(QStringLiteral("v('action') === 'transit' && v('target') === 'Urania Station'"));
    ASSERT_TRUE(rode);
    EXPECT_EQ(rode->before.post, QByteArrayLiteral("action=transit&target=Urania+Station"));
    EXPECT_EQ(rode->before.at, (Square{150, 150}));
    EXPECT_TRUE(rode->before.predicted);
    EXPECT_TRUE(rode->before.centre_tip.endsWith(QString::fromStdString(tip_of({150, 150}))));
    EXPECT_FALSE(rode->complete.rip_active);
    EXPECT_EQ(server->guest(), (Square{150, 150}));
    EXPECT_EQ(postdata_file(), "\"action=transit&target=Urania+Station\r\n\"\r\n");
}

TEST_F(ProgramE2e, WithNoActionPointsAMoveIsNeitherLoggedNorPredictedAndThePageIsRead) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server->place("ap=0"));
    ASSERT_NO_FATAL_FAILURE(reload());
    ASSERT_NO_FATAL_FAILURE(nudge());
    ASSERT_EQ(position(), (Square{99, 99}));
    QSignalSpy reads(main->tmrRIP(), &QTimer::timeout);

    const auto refused = move_to(101, 101);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->before.post, QByteArrayLiteral("action=move&x=101&y=101"));
    EXPECT_EQ(refused->before.at, (Square{99, 99}));
    EXPECT_FALSE(refused->before.predicted);
    EXPECT_TRUE(refused->complete.rip_active);
    EXPECT_EQ(postdata_file(), "(none)");
    EXPECT_TRUE(read_to_the_guest());
    EXPECT_EQ(position(), (Square{100, 100}));
    EXPECT_GE(reads.count(), 1);
    EXPECT_EQ(server->guest_ap(), 0);
}

TEST_F(ProgramE2e, PostLogHoldsEveryPostSentWithActionPointsByteForByte) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(main, nullptr);
    // The guest starts on Melpomne Station.
    const auto rode =
        post(QStringLiteral("v('action') === 'transit' && v('target') === 'Calliope Station'"));
    ASSERT_TRUE(rode);
    EXPECT_EQ(rode->before.at, (Square{50, 50}));
    ASSERT_TRUE(move_to(51, 51));
    ASSERT_NO_FATAL_FAILURE(nudge());
    // Neither a move nor a transit: logged, not predicted, and the page is read.
    const auto rested = post(QStringLiteral("v('action') === 'rest'"));
    ASSERT_TRUE(rested);
    EXPECT_FALSE(rested->before.predicted);
    EXPECT_TRUE(rested->complete.rip_active);
    ASSERT_TRUE(read_to_the_guest());
    const auto last = move_to(52, 50);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->before.at, (Square{52, 50}));
    EXPECT_EQ(server->guest(), (Square{52, 50}));

    EXPECT_EQ(postdata_file(),
              "\"action=transit&target=Calliope+Station\r\n\"\r\n"
              "\"action=move&x=51&y=51\r\n\"\r\n"
              "\"action=rest\r\n\"\r\n"
              "\"action=move&x=52&y=50\r\n\"\r\n");
}

TEST_F(ProgramE2e, QuittingWithYesLeavesTheNewPositionInTheCharacterFile) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(move_to(99, 101));
    ASSERT_EQ(position(), (Square{99, 101}));
    // Tracking alone saves nothing.
    EXPECT_EQ(record_on_disk(1).POS_X, 10);
    EXPECT_EQ(record_on_disk(1).POS_Y, 10);

    world.prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(main->close());
    ASSERT_EQ(world.prompts.shown.size(), 1u);
    EXPECT_EQ(world.prompts.shown[0],
              (ShownBox{"Are you sure you want to quit..?", MsgButtons::YesNo, MsgIcon::Question,
                        "Just thought I'd ask..."}));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(main->tmrRIP()->isActive());

    const VAMP saved = record_on_disk(1);
    EXPECT_EQ(saved.handle(), "Nosferatu");
    EXPECT_EQ(saved.POS_X, 99);
    EXPECT_EQ(saved.POS_Y, 101);
}

}  // namespace
}  // namespace zeko::testing
