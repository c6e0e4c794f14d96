#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>

#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "common/files.h"
#include "main/program.h"
#include "main/program_state.h"
#include "platform/download.h"
#include "startup/ui/frm_splash.h"
#include "support/fakes.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

// Counts the starts; the start itself runs over an empty folder.
class CountingHooks final : public StartHooks {
  public:
    void load_main_window() override {}
    void APPLY_SETTINGS() override {}
    void FORCE_LAYOUT(int16_t) override {}
    bool select_first_entry() override { return false; }
    int list_count() override { return 0; }
    void show_main_window() override {
        ++starts;
        if (during) during();  // as a modal dialog of the start would let ticks through
    }
    std::function<void()> during;
    int starts = 0;
};

// Stores `content` at the target.
class ScriptedDownloader final : public FileDownloader {
  public:
    bool DOWNLOAD_FILE(const QString& url, const std::filesystem::path& path) override {
        requests.push_back(url.toStdString() + " -> " + path.filename().string());
        std::ofstream(path, std::ios::binary) << content;
        return true;
    }
    std::string content = "new map";
    std::vector<std::string> requests;
};

struct SplashWorld {
    TestWorld world;
    ProgramState state{world.folder.path(), world.services()};
    CountingHooks hooks;
    ScriptedDownloader downloader;
    QPointer<FakeBrowser> wb;
    QPointer<FakeBrowser> tesk;
    int ends = 0;
    std::unique_ptr<ui::FrmSplash> splash;

    explicit SplashWorld(int16_t installed) {
        state.settings.SETTINGS.MAP_VERSION = installed;
        state.settings.SAVE_SETTINGS();
        std::ofstream(world.folder / "MAP.DAT", std::ios::binary) << "old map";
        splash = std::make_unique<ui::FrmSplash>(
            state, hooks, downloader,
            [this](QWidget*) -> std::unique_ptr<WebBrowser> {
                auto browser = std::make_unique<FakeBrowser>();
                (wb ? tesk : wb) = browser.get();
                return browser;
            },
            ui::FrmSplash::Sites{"up.test:81", "http://art.test/"}, [this] { ++ends; });
    }
    // Loads, lets both page requests go out, and checks the page that `body` is.
    void check(const QString& body) {
        splash->Form_Load();
        wb->body_html = body;
        splash->tmrINIT_Timer();
        splash->tmrINIT_Timer();
    }
    std::string map() {
        std::ifstream in(resolve_in_folder(world.folder.path(), "MAP.DAT"), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    QString status() { return splash->findChild<QLabel*>("lblSTATUS")->text(); }
};

TEST(FrmSplash, ShowsItsLabelsAsksTwiceAndTheSameVersionStartsOnceAfterTheDelay) {
    SplashWorld w(5);
    w.hooks.during = [&w] { w.splash->tmrDELAY_Timer(); };
    w.splash->Form_Click();
    w.splash->Form_Load();
    const std::pair<const char*, QString> labels[] = {{"Label1", "Version:"},
                                                      {"lblVER", "1.2.3"},
                                                      {"lblSTATUS", "Checking map for updates..."},
                                                      {"lblLINK", "Logo by Tesk  "}};
    for (const auto& [name, text] : labels) {
        auto* label = w.splash->findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), text);
    }
    EXPECT_EQ(w.splash->size(), QSize(400, 300));
    EXPECT_EQ(w.splash->tmrINIT().interval(), 500);
    EXPECT_EQ(w.splash->tmrDELAY().interval(), 3000);
    EXPECT_TRUE(w.splash->tmrINIT().isActive() && w.splash->tmrDELAY().isActive());
    w.wb->body_html = "5<BR>";
    w.splash->tmrINIT_Timer();
    EXPECT_EQ(w.wb->calls, QStringList({"Navigate2 http://up.test:81/mapver.html",
                                        "Navigate http://up.test:81/mapver.html"}));
    w.splash->tmrINIT_Timer();
    EXPECT_FALSE(w.splash->tmrINIT().isActive());
    EXPECT_EQ(w.status(), QString::fromUtf8("Starting Z.E.K.O.²..."));
    EXPECT_TRUE(w.downloader.requests.empty());
    EXPECT_EQ(w.hooks.starts, 0);
    w.splash->tmrDELAY_Timer();
    w.splash->tmrDELAY_Timer();
    QTest::mouseClick(w.splash->findChild<QLabel*>("lblSTATUS"), Qt::LeftButton);
    EXPECT_EQ(w.hooks.starts, 1);
    QTest::mouseClick(w.splash->findChild<QLabel*>("lblLINK"), Qt::LeftButton);
    ASSERT_EQ(w.tesk->navigations.size(), 1u);
    EXPECT_EQ(w.tesk->navigations[0].target, "_blank");
}

TEST(FrmSplash, ANewerVersionIsInstalledUnlessTheDownloadIsNoMapAndAClickStartsAtOnce) {
    struct Case {
        std::string download, map_after;
        int16_t version_after;
        const char* status;
    };
    const std::string map = scrambled_map({"1001900018The Fresh Paint"});
    for (const Case& c : {Case{map, map, 7, "Update complete... Starting Z.E.K.O.²"},
                          Case{"", "old map", 6, "Starting Z.E.K.O.²..."},
                          Case{"<HTML>Moved</HTML>", "old map", 6, "Starting Z.E.K.O.²..."}}) {
        SplashWorld w(6);
        w.downloader.content = c.download;
        w.check("7<BR>\n");
        EXPECT_EQ(w.downloader.requests,
                  std::vector<std::string>{"http://up.test:81/curmap.dat -> map.new"});
        EXPECT_EQ(w.map(), c.map_after);
        EXPECT_EQ(settings_on_disk(w.world.folder / "SETTINGS.DAT").MAP_VERSION, c.version_after);
        EXPECT_EQ(w.status(), QString::fromUtf8(c.status));
        QTest::mouseClick(w.splash.get(), Qt::LeftButton);
        EXPECT_EQ(w.hooks.starts, 1);
        EXPECT_EQ(w.ends, 0);
    }
}

}  // namespace
}  // namespace zeko::testing
