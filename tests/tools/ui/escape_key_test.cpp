// Esc in the windows: those without a Cancel button ignore it, those with one take it as Cancel.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>

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
    QPointer<FakeBrowser> last;
    const auto fake = [&last](QWidget*) {
        auto b = std::make_unique<FakeBrowser>();
        last = b.get();
        return b;
    };
    ui::FrmShopping shopping(prompts, windows);
    ui::FrmSkills skills(&owner);
    ShownHelp help(fake, nullptr);
    ui::FrmDonate donate(fake, &owner);
    ui::FrmEmoticon emoticon(windows, fake, "http://img.test/");  // its test page comes last
    shopping.show_window();
    help.INIT_HELP(2, &owner);
    for (QDialog* w : std::initializer_list<QDialog*>{&skills, &donate, &emoticon})
        w->show();
    auto* msg = child<QLineEdit>(emoticon, "txtMSG");
    msg->setFocus();
    QTest::keyClicks(msg, "kept :)");
    QTest::keyClick(msg, Qt::Key_Return);
    for (QDialog* w :
         std::initializer_list<QDialog*>{&shopping, &skills, &emoticon, &help, &donate}) {
        press_escape(*w);
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    }
    // The tutorial's test message is still there.
    EXPECT_TRUE(last->body_html.value_or("").contains("kept"));
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
