// Esc in the windows: those without a Cancel button ignore it, those with one take it as Cancel.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <memory>

#include "help/ui/frm_donate.h"
#include "help/ui/shown_help.h"
#include "main/program_state.h"
#include "screenshots/shot_names.h"
#include "screenshots/ui/frm_pic_config.h"
#include "support/fakes.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"
#include "support/world.h"
#include "tool_windows.h"
#include "tools/ui/frm_emoticon.h"
#include "tools/ui/frm_shopping.h"
#include "tools/ui/frm_skills.h"

namespace zeko::testing {
namespace {

// Esc where the player's keyboard is: the window's focus widget, else the window.
void press_escape(QWidget& window) {
    QWidget* at = window.focusWidget() ? window.focusWidget() : &window;
    QTest::keyClick(at, Qt::Key_Escape);
    pump();
}

TEST(EscapeKey, WindowsWithoutCancelStayOpenAndKeepWhatTheyShow) {
    ScriptedPrompts prompts;
    RecordingWindows windows;
    QWidget owner;
    std::vector<QPointer<FakeBrowser>> browsers;
    const auto fake = [&browsers](QWidget*) {
        auto b = std::make_unique<FakeBrowser>();
        browsers.emplace_back(b.get());
        return b;
    };
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> open;
    };
    const Case cases[] = {
        {"frmSHOPPING",
         [&] {
             auto w = std::make_unique<ui::FrmShopping>(prompts, windows);
             w->show_window();
             return w;
         }},
        {"frmSKILLS",
         [&] {
             auto w = std::make_unique<ui::FrmSkills>(&owner);
             w->show();
             return w;
         }},
        {"frmEMOTICON",
         [&] {
             auto w = std::make_unique<ui::FrmEmoticon>(windows, fake, "http://img.test/");
             w->show();
             auto* msg = child<QLineEdit>(*w, "txtMSG");
             msg->setFocus();
             QTest::keyClicks(msg, "kept :)");
             QTest::keyClick(msg, Qt::Key_Return);
             return w;
         }},
        {"frmHELP",
         [&] {
             auto w = std::make_unique<ShownHelp>(fake, nullptr);
             w->INIT_HELP(2, &owner);
             return w;
         }},
        {"frmDONATE",
         [&] {
             auto w = std::make_unique<ui::FrmDonate>(fake, &owner);
             w->show();
             return w;
         }},
    };
    for (const Case& c : cases) {
        browsers.clear();
        const std::unique_ptr<QDialog> w = c.open();
        pump();
        ASSERT_TRUE(w->isVisible()) << c.name;
        press_escape(*w);
        EXPECT_TRUE(w->isVisible()) << c.name;
        // The emoticon tutorial's test messages are still there.
        if (w->objectName() == "frmEMOTICON") {
            EXPECT_TRUE(browsers.back()->body_html.value_or("").contains("kept"));
        }
        w->close();
    }
}

TEST(EscapeKey, IsCancelWhereThereIsACancelButton) {
    TestWorld world;
    ProgramState state(world.folder.path(), world.services());
    state.settings.SETTINGS.PIC = default_pic_configs();
    RecordingWindows windows;
    ui::FrmPICConfig d(state, windows, nullptr);
    d.show();
    d.txtHEADER(0)->setFocus();
    QTest::keyClicks(d.txtHEADER(0), "Mine");
    press_escape(d);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_NE(state.settings.SETTINGS.PIC[0].header(), "Mine");
    EXPECT_FALSE(std::filesystem::exists(world.folder / "SETTINGS.DAT"));
}

}  // namespace
}  // namespace zeko::testing
