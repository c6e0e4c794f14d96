#pragma once

// A program folder with a small city, scripted services and fake browsers, with the main
// window's start run on it, for the window tests.

#include <gtest/gtest.h>

#include <QPointer>

#include <memory>

#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/frm_main.h"
#include "main/ui/program_ui.h"
#include "support/fakes.h"
#include "support/qt/fake_browser.h"
#include "support/qt/no_workers.h"
#include "support/qt/qt_support.h"
#include "support/world.h"
#include "widgets/program_windows.h"

namespace zeko::testing {

// Records every worker call as "NAME index", and what the main window's flag said then.
class RecordingWorkers final : public NoWorkers {
  public:
    void MENU_FILE(int16_t i) override { note("MENU_FILE", i); }
    void MENU_AUTONAV(int16_t i) override { note("MENU_AUTONAV", i); }
    void MENU_OPTIONS(int16_t i) override { note("MENU_OPTIONS", i); }
    void MENU_NAVLINES(int16_t i) override { note("MENU_NAVLINES", i); }
    void MENU_ZOOM(int16_t i) override { note("MENU_ZOOM", i); }
    void MENU_HELP(int16_t i) override { note("MENU_HELP", i); }
    void MENU_SKILLS(int16_t i) override { note("MENU_SKILLS", i); }
    void MENU_VAMP(int16_t i) override { note("MENU_VAMP", i); }
    void MENU_TOOLS(int16_t i) override { note("MENU_TOOLS", i); }
    void MENU_LINKS(int16_t i) override { note("MENU_LINKS", i); }
    void BUTTON_COMMAND(int16_t i, ui::StreetChoice) override { note("BUTTON_COMMAND", i); }
    void BUTTON_VAMP(int16_t i) override { note("BUTTON_VAMP", i); }
    void LOGIN_CURRENT() override { note("LOGIN_CURRENT", -1); }

    QStringList calls;
    // NO_EXIT_PROMPT of the main window at each call, in the same order.
    std::vector<bool> quiet;
    ui::FrmMain* main = nullptr;

  private:
    void note(const char* name, int index) {
        calls.append(index < 0 ? QString::fromLatin1(name)
                               : QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(index));
        quiet.push_back(main != nullptr && main->NO_EXIT_PROMPT);
    }
};

// Records the calls of the other windows these tests look at, as "NAME argument" with the
// owner's objectName where the call has one. (The program's own test opens the windows.)
class RecordingWindows final : public ui::NoWindows {
  public:
    void INIT_HELP(int16_t topic, QWidget* owner) override {
        calls << QStringLiteral("INIT_HELP %1 %2").arg(topic).arg(owner->objectName());
    }
    void SNAPSHOT_BMP() override { calls << "SNAPSHOT_BMP"; }
    void SNAPSHOT_HTML(const std::string& body) override {
        calls << "HTML " + QString::fromStdString(body);
    }
    void SNAPSHOT_HTML_CSS(const std::string& body) override {
        calls << "CSS " + QString::fromStdString(body);
    }
    void UNLOAD_SPLASH() override { ++splash_unloads; }

    QStringList calls;
    int splash_unloads = 0;
};

// The test city: one bank, one pub and one station around (101, 101), a hall, a guild and a
// shop for the tile looks.
inline std::vector<std::string> test_city() {
    return {"1021000101Moon Bank",  "0961060001The Test Pub",    "1061060092Calliope Station",
            "0020020198Great Hall", "1980020105Wandering Guild", "0041980150Corner Shop"};
}

struct UiWorld {
    TestWorld world;
    std::unique_ptr<ProgramState> state;
    std::vector<QPointer<FakeBrowser>> browsers;
    RecordingWorkers workers;
    RecordingWindows windows;
    int quits = 0;
    std::unique_ptr<ui::ProgramUi> ui;  // destroyed first: the windows go before the state

    explicit UiWorld(const std::vector<std::string>& city = test_city()) {
        write_bytes(world.folder / "MAP.DAT", scrambled_map(city));
        Services services = world.services();
        state = std::make_unique<ProgramState>(world.folder.path(), services);
        state->db.new_vamp_dialog = &world.new_vamp;  // scripted: no modal dialog
        ui = std::make_unique<ui::ProgramUi>(
            *state, windows,
            [this](QWidget*) -> std::unique_ptr<WebBrowser> {
                auto browser = std::make_unique<FakeBrowser>();
                browsers.emplace_back(browser.get());
                return browser;
            },
            [this] { ++quits; });
        ui->set_workers(workers);
    }

    // A character in the file before the start.
    void add_vamp(const std::string& handle, int16_t x, int16_t y, bool autologin = false) {
        VAMP v;
        v.set_handle(handle);
        v.set_name(handle);
        v.POS_X = x;
        v.POS_Y = y;
        v.AUTOLOGIN = autologin ? kTrue : kFalse;
        ASSERT_NE(state->db.CREATE_DB(v), 0);
    }

    void start() {
        INIT_PROGRAM(*state, *ui);
        workers.main = &ui->frmMAIN();
        pump();
    }

    ui::FrmMain& main() { return ui->frmMAIN(); }
    FakeBrowser& wb(size_t i = 0) { return *browsers.at(i); }
    SETTINGS_REC& settings() { return state->settings.SETTINGS; }
    VAMP& me() { return state->db.current(); }

    template <class T = QWidget>
    T* find(const QString& name) {
        return main().findChild<T*>(name);
    }
    // A control of a control array, e.g. find("TILE", 4) for "TILE(4)".
    template <class T = QWidget>
    T* find(const char* name, int index = -1) {
        return find<T>(index < 0 ? QString::fromLatin1(name)
                                 : QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index));
    }

    std::filesystem::path settings_file() const { return world.folder / "SETTINGS.DAT"; }
    std::filesystem::path vamp_file() const { return world.folder / "VAMP.dat"; }
    SETTINGS_REC settings_on_disk() const { return testing::settings_on_disk(settings_file()); }
};

}  // namespace zeko::testing
