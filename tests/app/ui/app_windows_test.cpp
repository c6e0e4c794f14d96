// Every menu item and button that leads to another window reaches that window through the
// program's directory of windows, shown the way the player expects (modal or not).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "app/app_windows.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/frm_main.h"
#include "main/ui/program_ui.h"
#include "support/fakes.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"

namespace zeko {
namespace {

using testing::scrambled_map;
using testing::write_bytes;

QWidget* shown_window(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

TEST(AppWindows, EveryCommandOpensItsWindow) {
    testing::TestWorld world;
    write_bytes(world.folder / "MAP.DAT",
                scrambled_map({"1021000101Moon Bank", "0961060001The Test Pub",
                               "1061060092Calliope", "1980020105Wandering Guild"}));
    ProgramState state(world.folder.path(), world.services());
    VAMP v;
    v.set_handle("Orlok");
    ASSERT_EQ(state.db.CREATE_DB(v), 1);
    const AppWindows::BrowserFactory make_browser = [](QWidget*) {
        return std::unique_ptr<WebBrowser>(std::make_unique<testing::FakeBrowser>());
    };
    AppWindows windows(state, make_browser);
    ui::ProgramUi program(state, windows, make_browser, [] {});
    windows.set_program(program);
    INIT_PROGRAM(state, program);
    ui::FrmMain& main = program.frmMAIN();

    const struct {
        const char* trigger;  // a menu item or a button of the main window
        const char* window;
        bool modal;  // shown modally: the command returns once it is closed
    } rows[] = {
        {"mnuFileData(0)", "frmPICConfig", true}, {"mnuToolsData(0)", "frmSHOPPING", false},
        {"mnuToolsData(1)", "frmSKILLS", true},   {"mnuToolsData(3)", "frmEMOTICON", true},
        {"mnuHelpData(0)", "frmABOUT", false},    {"mnuHelpData(2)", "frmHELP", true},
        {"cmdCOMMAND(2)", "frmSET_DEST", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.trigger);
        QString modal_seen;
        // A modal window runs its own loop: look at it from inside, then close it.
        QTimer::singleShot(100, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                modal_seen = w->objectName();
                w->close();
            }
        });
        if (auto* action = main.findChild<QAction*>(QLatin1String(row.trigger)))
            action->trigger();
        else if (auto* button = main.findChild<QAbstractButton*>(QLatin1String(row.trigger)))
            button->click();
        else
            FAIL() << "no such control";
        testing::wait_until([&] { return !modal_seen.isEmpty(); }, 1000);
        if (row.modal) {
            EXPECT_EQ(modal_seen, QLatin1String(row.window));
        } else {
            EXPECT_TRUE(modal_seen.isEmpty());
            QWidget* w = shown_window(QLatin1String(row.window));
            ASSERT_NE(w, nullptr);
            w->close();
        }
    }
    program.EXIT_PROGRAM();
}

}  // namespace
}  // namespace zeko
