// The start-up window and the guild update in the real browser, against the sandbox server
// playing the update server and the guild site.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/files.h"
#include "main/program_state.h"
#include "main/ui/program_ui.h"
#include "map/vamp_db.h"
#include "platform/download.h"
#include "platform/qt_web_browser.h"
#include "startup/ui/frm_map_update.h"
#include "startup/ui/frm_splash.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"
#include "support/qt/sandbox.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

std::unique_ptr<WebBrowser> real_browser(QWidget*) {
    return std::make_unique<QtWebBrowser>();
}

std::string read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A program folder holding the sample city as map number `installed`.
class StartupE2e : public ::testing::Test {
  protected:
    void install(int16_t installed) {
        const QString map = QString::fromStdString((world.folder / "MAP.DAT").string());
        ASSERT_EQ(QProcess::execute(ZEKO_MAPGEN, {ZEKO_SAMPLE_CITY, map}), 0);
        old_map = read(world.folder / "MAP.DAT");
        state.settings.SETTINGS.MAP_VERSION = installed;
        state.settings.SAVE_SETTINGS();
        state.db.new_vamp_dialog = &world.new_vamp;  // scripted: no modal dialog
        if (state.db.VAMP_COUNT == 0) {
            VAMP v;
            v.set_handle("Nosferatu");
            ASSERT_EQ(state.db.CREATE_DB(v), 1);
        }
    }
    // A second city: one pub, beside the program's folder.
    std::filesystem::path newer_map() {
        const auto map = world.folder.path().string() + "-NEW.DAT";
        write_bytes(map, scrambled_map({"1001900018The Fresh Paint"}));
        return map;
    }
    void serve(QStringList options) {
        server = std::make_unique<SandboxServer>(
            options << "--map" << QString::fromStdString((world.folder / "MAP.DAT").string()));
        ASSERT_GT(server->port(), 0);
        state.game_url_override = server->game_url();
    }
    // The start-up window over the real program windows; true when it handed over.
    bool start() {
        ui = std::make_unique<ui::ProgramUi>(state, real_browser, [] {});
        splash = std::make_unique<ui::FrmSplash>(
            state, *ui, downloader, real_browser,
            ui::FrmSplash::Sites{QString::fromStdString(server->host()), "about:blank"},
            [this] { ++ends; }, version_page_wait);
        splash->Form_Load();
        return wait_until([this] { return splash->HANDED_OVER || ends > 0; }, 60000) &&
               splash->HANDED_OVER;
    }
    QString status() { return splash->findChild<QLabel*>("lblSTATUS")->text(); }
    int16_t version_on_disk() {
        return settings_on_disk(world.folder / "SETTINGS.DAT").MAP_VERSION;
    }

    TestWorld world;
    ProgramState state{world.folder.path(), world.services()};
    std::string old_map;
    std::unique_ptr<SandboxServer> server;
    QtFileDownloader downloader{10000};
    // Longer than the program's own wait: a loaded machine can take that long to bring up the
    // engine, and only the test of the limit may give the page up.
    std::chrono::milliseconds version_page_wait = std::chrono::seconds(50);
    std::unique_ptr<ui::ProgramUi> ui;
    std::unique_ptr<ui::FrmSplash> splash;
    int ends = 0;
};

TEST_F(StartupE2e, ANewerVersionReplacesTheMapAndStoresItsNumber) {
    install(2);
    const auto served = newer_map();
    serve({"--map-version", "5", "--served-map", QString::fromStdString(served.string())});
    ASSERT_TRUE(start());
    EXPECT_EQ(status(), QString::fromUtf8("Update complete... Starting Z.E.K.O.²"));
    EXPECT_EQ(read(resolve_in_folder(world.folder.path(), "MAP.DAT")), read(served));
    EXPECT_FALSE(file_exists(world.folder / "map.new"));
    EXPECT_EQ(version_on_disk(), 5);
    // The program started on the new map.
    EXPECT_EQ(state.map.cell(100, 190), 18);
    std::filesystem::remove(served);
}

TEST_F(StartupE2e, AFailedDownloadShowsItsBoxAndEndsBeforeTheMainWindow) {
    for (const QStringList& failure : {QStringList{"--served-map", "/nonexistent/MAP.DAT"},
                                       QStringList{"--cut-map-download", "yes"}}) {
        world.prompts.shown.clear();
        ends = 0;
        install(2);
        serve(QStringList{"--map-version", "9"} + failure);
        EXPECT_FALSE(start()) << failure.join(' ').toStdString();
        EXPECT_EQ(ends, 1);
        ASSERT_EQ(world.prompts.shown.size(), 1u);
        EXPECT_EQ(world.prompts.shown[0].title, "...");
        EXPECT_FALSE(splash->tmrDELAY().isActive());
        EXPECT_FALSE(ui->main_loaded());
        EXPECT_EQ(read(world.folder / "MAP.DAT"), old_map);
        EXPECT_FALSE(file_exists(world.folder / "map.new"));
        EXPECT_EQ(version_on_disk(), 2);
        // The program has ended: neither the delay nor a click starts it any more.
        splash->tmrDELAY_Timer();
        QTest::mouseClick(splash.get(), Qt::LeftButton);
        EXPECT_FALSE(ui->main_loaded());
        splash.reset();
        ui.reset();
    }
}

TEST_F(StartupE2e, ADownloadThatIsNoWholeMapKeepsTheMapAndItsNumberAndStarts) {
    for (const char* answer : {"html", "redirect", "unsized-cut", "oversize"}) {
        install(2);
        serve({"--map-version", "9", "--bad-map-download", answer});
        ASSERT_TRUE(start()) << answer;
        // The download was asked for (Qt's network stack may send the request again on a
        // loaded machine, so the count itself says nothing).
        EXPECT_NE(server->get("/sandbox/hits?path=/curmap.dat").body, "0\n") << answer;
        EXPECT_EQ(status(), QString::fromUtf8("Starting Z.E.K.O.²...")) << answer;
        EXPECT_TRUE(world.prompts.shown.empty());
        EXPECT_EQ(read(resolve_in_folder(world.folder.path(), "MAP.DAT")), old_map) << answer;
        EXPECT_FALSE(file_exists(world.folder / "map.new"));
        EXPECT_EQ(version_on_disk(), 2);
        EXPECT_EQ(state.map.cell(38, 56), 105);  // a guild of the installed city
        splash.reset();
        ui.reset();
    }
}

TEST_F(StartupE2e, AVersionPageThatNeverAnswersIsGivenUpAndTheProgramStarts) {
    install(2);
    serve({"--map-version", "9", "--silent-version-page", "yes"});
    version_page_wait = std::chrono::milliseconds(1500);
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(start());
    EXPECT_GE(waited.elapsed(), 1500);
    EXPECT_EQ(status(), QString::fromUtf8("Starting Z.E.K.O.²..."));
    EXPECT_EQ(server->get("/sandbox/hits?path=/curmap.dat").body, "0\n");
    EXPECT_EQ(version_on_disk(), 2);
    EXPECT_TRUE(ui->main_loaded());
}

TEST_F(StartupE2e, TheGuildUpdatePutsEveryGuildOnItsNewBlock) {
    install(1);
    serve({});
    state.map.LOAD_MAP();
    ASSERT_EQ(state.map.cell(38, 56), 105);
    int redraws = 0;
    ui::FrmMapUpdate frm(
        state, real_browser, [&] { ++redraws; },
        QString::fromStdString("http://" + server->host() + "/cgi-bin/index.cgi"));
    frm.open_guilds();
    ASSERT_TRUE(wait_until([&] { return !frm.isVisible(); }, 90000)) << frm.status_text();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(frm.status_text().substr(frm.status_text().size() - 30),
              "- Travellers 3: Found\r\nDONE...");
    EXPECT_EQ(frm.status_text().find("Not Found"), std::string::npos);
    EXPECT_TRUE(frm.windowTitle().startsWith(QString::fromUtf8("Z.E.K.O.²: Map Update...")));
    EXPECT_EQ(state.map.cell(38, 56), 0);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(state.map.cell(2 * (60 + 2 * i), 190), 105 + i) << i;
}

// A guild update window of its own on the sample city, against a guild site in `looks`.
struct GuildRun {
    explicit GuildRun(const QString& looks) : server({"--guild-look", looks}) {
        const QString map = QString::fromStdString((world.folder / "MAP.DAT").string());
        EXPECT_EQ(QProcess::execute(ZEKO_MAPGEN, {ZEKO_SAMPLE_CITY, map}), 0);
        state.map.LOAD_MAP();
        frm = std::make_unique<ui::FrmMapUpdate>(
            state, real_browser, [this] { ++redraws; },
            QString::fromStdString("http://" + server.host() + "/cgi-bin/index.cgi"));
    }
    size_t count(const std::string& what) const {
        size_t n = 0;
        for (size_t at = frm->status_text().find(what); at != std::string::npos;
             at = frm->status_text().find(what, at + 1))
            ++n;
        return n;
    }

    TestWorld world;
    ProgramState state{world.folder.path(), world.services()};
    SandboxServer server;
    int redraws = 0;
    std::unique_ptr<ui::FrmMapUpdate> frm;
};

TEST(GuildUpdateE2e, PagesNamingNoGuildLeaveTheGuildsAndRowsOnOneLineAreRead) {
    const std::pair<const char*, bool> looks[] = {
        {"maintenance", false}, {"no-table", false}, {"late-days", false}, {"one-line", true}};
    std::vector<std::unique_ptr<GuildRun>> runs;
    for (const auto& [look, placed] : looks) {
        runs.push_back(std::make_unique<GuildRun>(look));
        runs.back()->frm->open_guilds();
    }
    ASSERT_TRUE(wait_until(
        [&] {
            return std::none_of(runs.begin(), runs.end(),
                                [](auto& r) { return r->frm->isVisible(); });
        },
        90000));
    for (size_t n = 0; n < runs.size(); ++n) {
        const auto& [look, placed] = looks[n];
        const GuildRun& run = *runs[n];
        EXPECT_EQ(run.count(": Found"), placed ? 15u : 0u) << look;
        EXPECT_EQ(run.count(": Not Found"), placed ? 0u : 15u) << look;
        EXPECT_EQ(run.redraws, placed ? 1 : 0) << look;
        EXPECT_EQ(run.state.map.cell(38, 56), placed ? 0 : 105) << look;
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(run.state.map.cell(2 * (60 + 2 * i), 190), placed ? 105 + i : 0) << look << i;
    }
}

TEST(GuildUpdateE2e, ASecondRunInTheSameWindowStartsWithNoGuildFound) {
    GuildRun run("all,lacking=4");
    run.frm->show();
    run.frm->Form_Load();
    for (int n = 0; n < 2; ++n) {
        run.frm->cmdCOMMAND_Click(0);
        ASSERT_TRUE(wait_until([&] { return !run.frm->run().BUSY; }, 90000)) << n;
    }
    EXPECT_EQ(run.count(": Found"), 14u);
    EXPECT_NE(run.frm->status_text().find("- Empaths 2: Not Found"), std::string::npos);
}

}  // namespace
}  // namespace zeko::testing
