#include "main/ui/code_commands.h"

#include <gtest/gtest.h>

#include <QUrl>

#include "common/hosts.h"
#include "main/program.h"
#include "main/program_state.h"
#include "support/fakes.h"
#include "support/qt/fake_browser.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

using ui::CodeCommands;

class CodeCommandsTest : public ::testing::Test {
  protected:
    CodeCommandsTest() : state(world.folder.path(), world.services()) {
        world.wire(state.db);
        state.settings.LOAD_SETTINGS();
        state.db.CREATE_OFFERED = true;
        state.db.LOAD_DB();
    }

    int16_t add(const std::string& name, const std::string& password) {
        VAMP v;
        v.set_handle("Handle of " + name);
        v.set_name(name);
        v.set_password(password);
        return state.db.CUR_VAMP = state.db.CREATE_DB(v);
    }
    CodeCommands commands() {
        return CodeCommands(state, wb, wb2,
                            [this] { log.append("BUILD_MAP " + wb.calls.join('|')); });
    }
    QStringList wb2_urls() const {
        QStringList urls;
        for (const auto& n : wb2.navigations)
            urls.append(n.url);
        return urls;
    }

    TestWorld world;
    ProgramState state;
    FakeBrowser wb, wb2;
    QStringList log;
    const QString game_url = QString::fromStdString(GAME_URL());
    const QString report =
        QStringLiteral("http://") + QLatin1String(hosts::kMaker) + "/ZEKO2/MISC/";
};

TEST_F(CodeCommandsTest, LoginSavesBothFilesAndAnyStoredReportCountsForLaterRuns) {
    const int16_t me = add("Igor", "pw");
    state.db.VAMPS(me).POS_X = 77;
    state.settings.SETTINGS.TOOLBAR = kFalse;
    CodeCommands c = commands();
    c.LOGIN("", "pw");
    EXPECT_EQ(wb.calls, QStringList({"setCookieForUrl ip=#pw " + game_url,
                                     "Navigate2 " + game_url + "?action=welcome"}));
    EXPECT_EQ(wb.site_cookies.at(0).second, QUrl(game_url));
    EXPECT_EQ(vamp_on_disk(state.db.file_path(), me).POS_X, 77);
    EXPECT_EQ(settings_on_disk(state.settings.file_path()).TOOLBAR, kFalse);
    EXPECT_TRUE(log.isEmpty());
    // A later login of the run sends no report but still saves both files.
    state.db.VAMPS(me).POS_X = 78;
    state.settings.SETTINGS.TOOLBAR = kTrue;
    c.LOGIN("", "pw");
    EXPECT_EQ(vamp_on_disk(state.db.file_path(), me).POS_X, 78);
    EXPECT_EQ(settings_on_disk(state.settings.file_path()).TOOLBAR, kTrue);
    EXPECT_EQ(wb2.navigations.size(), 1u);
    // Any value but 0 counts as reported before: a hit, once per run.
    for (VbBool done : {kTrue, VbBool{1}}) {
        wb2.navigations.clear();
        state.settings.SETTINGS.USAGE_PING_DONE = done;
        CodeCommands later = commands();
        later.USAGE_PING();
        later.USAGE_PING();
        EXPECT_EQ(wb2_urls(), QStringList({report + "plus_hit.php"}));
    }
}

TEST_F(CodeCommandsTest, LoginCurrentRedrawsThenLogsInWithTheStoredTexts) {
    add("Vlad", "first");
    const int16_t index = add("Dr\xC3\xA1kula  ", "pass word");
    // The name field holds more than the length byte says: only NAME_LEN characters count.
    state.db.VAMPS(index).NAME[11] = 'X';
    CodeCommands c = commands();
    c.LOGIN_CURRENT();
    EXPECT_EQ(log, QStringList({"BUILD_MAP "}));
    EXPECT_EQ(wb.site_cookies.at(0).first, QString::fromUtf8("ip=Dr\xC3\xA1kula  #pass word"));
    state.db.VAMPS(index).NAME_LEN = 0;
    c.LOGIN_CURRENT();
    EXPECT_EQ(wb.site_cookies.back().first, "ip=#pass word");

    // Without a character the error goes to the caller, after the redraw.
    log.clear();
    wb.calls.clear();
    CodeCommands fresh = commands();
    state.db.CUR_VAMP = 5;
    EXPECT_EQ(error_of([&] { fresh.LOGIN_CURRENT(); }), 9);
    EXPECT_EQ(log, QStringList({"BUILD_MAP "}));
    EXPECT_TRUE(wb.calls.isEmpty() && wb2.navigations.size() == 1u);  // no second report
}

}  // namespace
}  // namespace zeko::testing
