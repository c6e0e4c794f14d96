#include "main/ui/code_commands.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <array>
#include <ostream>
#include <string>

#include "common/errors.h"
#include "common/hosts.h"
#include "main/program.h"
#include "main/program_state.h"
#include "support/fakes.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

using ui::CodeCommands;

class CodeCommandsTest : public ::testing::Test {
  protected:
    CodeCommandsTest() : state(world.folder.path(), world.services()) {
        state.settings.LOAD_SETTINGS();
        state.db.CREATE_OFFERED = true;
        state.db.LOAD_DB();
    }

    int16_t add(const std::string& name, const std::string& password) {
        VAMP v;
        v.set_handle("Handle of " + name);
        v.set_name(name);
        v.set_password(password);
        v.AUTOLOGIN = kTrue;
        const int16_t index = state.db.CREATE_DB(v);
        EXPECT_NE(index, 0);
        return index;
    }

    CodeCommands commands() {
        return CodeCommands(state, wb, wb2, [this] { log.append("BUILD_MAP"); });
    }

    SETTINGS_REC settings_on_disk() {
        return testing::settings_on_disk(state.settings.file_path());
    }
    VAMP vamp_on_disk(int index) { return testing::vamp_on_disk(state.db.file_path(), index); }

    QStringList wb2_urls() const {
        QStringList urls;
        for (const auto& n : wb2.navigations)
            urls.append(n.url);
        return urls;
    }

    TestWorld world;
    ProgramState state;
    FakeBrowser wb;
    FakeBrowser wb2;
    QStringList log;
    const QString game_url = QString::fromStdString(GAME_URL());
    const QString maker = QStringLiteral("http://") + QLatin1String(hosts::kMaker);
};

TEST_F(CodeCommandsTest, LoginSetsTheGameCookieOpensTheWelcomePageAndReportsOnce) {
    CodeCommands c = commands();
    // The blank start page is still shown: the cookie goes to the game's site all the same.
    wb.location = "about:blank";
    c.LOGIN("Vlad Tepes", "s3cr%20t;x");
    EXPECT_EQ(wb.calls, QStringList({"setCookieForUrl ip=Vlad Tepes#s3cr%20t;x " + game_url,
                                     "Navigate2 " + game_url + "?action=welcome"}));
    ASSERT_EQ(wb.site_cookies.size(), 1u);
    EXPECT_EQ(wb.site_cookies[0].second, QUrl(game_url));
    EXPECT_TRUE(wb.cookies.isEmpty());
    EXPECT_EQ(wb2_urls(), QStringList({maker + "/ZEKO2/MISC/plus_all.php"}));
    EXPECT_TRUE(c.PINGED_THIS_RUN);
    EXPECT_EQ(state.settings.SETTINGS.USAGE_PING_DONE, kTrue);
    EXPECT_EQ(settings_on_disk().USAGE_PING_DONE, kTrue);
    EXPECT_TRUE(log.isEmpty());

    // Later logins of the run send no report but still save both files.
    const int16_t me = add("Igor", "pw");
    state.db.VAMPS(me).POS_X = 77;
    state.settings.SETTINGS.TOOLBAR = kFalse;
    c.LOGIN("", "pw");
    EXPECT_EQ(wb.calls.mid(2), QStringList({"setCookieForUrl ip=#pw " + game_url,
                                            "Navigate2 " + game_url + "?action=welcome"}));
    EXPECT_EQ(wb2.navigations.size(), 1u);
    EXPECT_EQ(vamp_on_disk(me).POS_X, 77);
    EXPECT_EQ(settings_on_disk().TOOLBAR, kFalse);
    EXPECT_TRUE(world.prompts.shown.empty());
}

TEST_F(CodeCommandsTest, ALaterRunReportsAHitInsteadOfANewUser) {
    state.settings.SETTINGS.USAGE_PING_DONE = kTrue;
    CodeCommands c = commands();
    c.USAGE_PING();
    EXPECT_EQ(wb2_urls(), QStringList({maker + "/ZEKO2/MISC/plus_hit.php"}));
    EXPECT_TRUE(wb.calls.isEmpty());
    EXPECT_EQ(settings_on_disk().USAGE_PING_DONE, kTrue);
    c.USAGE_PING();
    EXPECT_EQ(wb2.navigations.size(), 1u);

    // Any value but 0 counts as reported before.
    state.settings.SETTINGS.USAGE_PING_DONE = 1;
    CodeCommands odd = commands();
    odd.USAGE_PING();
    EXPECT_EQ(wb2_urls().last(), maker + "/ZEKO2/MISC/plus_hit.php");
    EXPECT_EQ(state.settings.SETTINGS.USAGE_PING_DONE, 1);
}

TEST_F(CodeCommandsTest, GameAndMakerHostsCanBeChosen) {
    CodeCommands c(state, wb, wb2, {}, "http://127.0.0.1:9/blood.pl", "127.0.0.1:9");
    c.LOGIN("a", "b");
    ASSERT_EQ(wb.site_cookies.size(), 1u);
    EXPECT_EQ(wb.site_cookies[0].second, QUrl("http://127.0.0.1:9/blood.pl"));
    EXPECT_EQ(wb.navigations.at(0).url, "http://127.0.0.1:9/blood.pl?action=welcome");
    EXPECT_EQ(wb2_urls(), QStringList({"http://127.0.0.1:9/ZEKO2/MISC/plus_all.php"}));
}

TEST_F(CodeCommandsTest, LoginCurrentRedrawsThenLogsInWithTheStoredTexts) {
    add("Vlad", "first");
    VAMP v;
    v.set_handle("Other");
    v.set_name("Dr\xC3\xA1kula  ");
    v.set_password("pass word");
    const int16_t index = state.db.CREATE_DB(v);
    state.db.CUR_VAMP = index;
    // The name field holds more than the length byte says: only NAME_LEN characters count.
    state.db.VAMPS(index).NAME[11] = 'X';
    CodeCommands c(state, wb, wb2, [&] { log.append("BUILD_MAP calls=" + wb.calls.join("|")); });
    c.LOGIN_CURRENT();
    EXPECT_EQ(log, QStringList({"BUILD_MAP calls="}));
    ASSERT_EQ(wb.site_cookies.size(), 1u);
    EXPECT_EQ(wb.site_cookies[0].first, QString::fromUtf8("ip=Dr\xC3\xA1kula  #pass word"));

    // A record with no name sends "ip=#" and the password.
    state.db.VAMPS(index).NAME_LEN = 0;
    c.LOGIN_CURRENT();
    EXPECT_EQ(wb.site_cookies.back().first, "ip=#pass word");
}

TEST_F(CodeCommandsTest, LoginCurrentWithoutACharacterRaisesToItsCaller) {
    add("Vlad", "pw");
    state.db.CUR_VAMP = 5;
    CodeCommands c = commands();
    try {
        c.LOGIN_CURRENT();
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_EQ(log, QStringList({"BUILD_MAP"}));
    EXPECT_TRUE(wb.calls.isEmpty());
    EXPECT_TRUE(wb2.calls.isEmpty());
    EXPECT_FALSE(c.PINGED_THIS_RUN);
}

}  // namespace
}  // namespace zeko::testing
