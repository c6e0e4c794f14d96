#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <memory>
#include <string>

#include "main/program_state.h"
#include "startup/guild_page.h"
#include "startup/ui/frm_map_update.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

const QString kPage = "http://guilds.test/cgi-bin/index.cgi";

// Guild i south-east of Elm (x 20) and the (i + 1)th street, for every guild `listed` says.
QString guild_page(bool (*listed)(int)) {
    QString page =
        "<P>menu</P><!-- header end --><P>Guilds are moving again in 1 days, 3H "
        "20MIN</P><TABLE border=1><TBODY><TR>\n<TH>Guild</TH></TR>";
    for (int i = 0; i < kGuildCount; ++i) {
        if (!listed(i)) continue;
        page += QStringLiteral(
                    "<TR>\n<TD>%1</TD><TD>SE of Elm and %2th</TD><TD>-</TD><TD>i%3</TD>"
                    "</TR>")
                    .arg(QString::fromLatin1(PAGE_NAMES[static_cast<size_t>(i)].data()))
                    .arg(i + 4)
                    .arg(i);
    }
    return page + "</TBODY></TABLE>";
}

struct GuildWorld : CityWorld {
    QPointer<FakeBrowser> wb;
    int redraws = 0;
    std::unique_ptr<ui::FrmMapUpdate> frm;

    GuildWorld() {
        world.random.values = {0.99f};  // the longest pause between steps
        world.clock.time = {2026, 12, 6, 10, 15, 40, 0};
        place(38, 56, 105);
        frm = std::make_unique<ui::FrmMapUpdate>(
            state,
            [this](QWidget*) -> std::unique_ptr<WebBrowser> {
                auto browser = std::make_unique<FakeBrowser>();
                wb = browser.get();
                return browser;
            },
            [this] { ++redraws; }, kPage);
    }
    // The page arrives and is verified.
    void arrive(const QString& body) {
        wb->body_html = body;
        wb->completeNavigation();
    }
    void verify() { frm->tmrVERIFY_Timer(); }
    // Spinner ticks until the window closes (or a limit).
    int tick_to_end() {
        int ticks = 0;
        while (frm->isVisible() && ticks < 1000) {
            frm->STATUS_STEP();
            ++ticks;
        }
        return ticks;
    }
    QPushButton* button(int i) {
        return frm->findChild<QPushButton*>(QStringLiteral("cmdCOMMAND(%1)").arg(i));
    }
};

std::string finished_log(bool (*listed)(int)) {
    std::string log = "- Logging In\r\n- Verifying Page [DONE]\r\n- Obtaining Guild Information...";
    for (int i = 0; i < kGuildCount; ++i)
        log += "\r\n" + std::string(LOG_LABELS[static_cast<size_t>(i)]) +
               (listed(i) ? " Found" : " Not Found");
    return log + "\r\nDONE...";
}

bool even(int i) {
    return i % 2 == 0;
}

TEST(FrmMapUpdate, HasItsControlsWhereTheyBelong) {
    GuildWorld w;
    EXPECT_EQ(w.frm->size(), QSize(309, 400));
    EXPECT_EQ(w.frm->windowTitle(), QString::fromUtf8("Z.E.K.O.²: Map Update..."));
    auto* status = w.frm->findChild<QPlainTextEdit*>("txtSTATUS");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->geometry(), QRect(4, 4, 301, 353));
    EXPECT_EQ(status->palette().color(QPalette::Text), QColor(192, 255, 192));
    const std::pair<const char*, QRect> buttons[] = {{"Update Guilds", {4, 360, 149, 17}},
                                                     {"Update Shops", {4, 380, 149, 17}},
                                                     {"Done", {156, 360, 149, 17}},
                                                     {"Cancel", {156, 380, 149, 17}}};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(w.button(i), nullptr);
        EXPECT_EQ(w.button(i)->text(), buttons[i].first);
        EXPECT_EQ(w.button(i)->geometry(), buttons[i].second) << i;
    }
    EXPECT_TRUE(w.button(2)->isDefault());
}

TEST(FrmMapUpdate, ARunLogsCountsDownPlacesTheGuildsAndCloses) {
    GuildWorld w;
    w.state.guilds.GUILDS(106) = {"Allurists: 2", "", "Fir", "2nd"};
    w.frm->open_guilds();
    EXPECT_EQ(w.wb->calls, QStringList{"Navigate2 " + kPage});
    EXPECT_EQ(w.frm->STATUS_CHANGE().interval(), 100);
    w.frm->STATUS_STEP();
    EXPECT_EQ(w.frm->status_text(), "- Logging In |");
    w.wb->location = kPage + "?other";
    emit w.wb->NavigateComplete2(w.wb->location);
    EXPECT_FALSE(w.frm->tmrVERIFY().isActive());
    w.arrive(guild_page(&even));
    EXPECT_EQ(w.frm->tmrVERIFY().interval(), 10000);
    EXPECT_TRUE(w.frm->tmrSECOND().isActive());
    w.frm->tmrSECOND_Timer();
    EXPECT_EQ(w.frm->windowTitle(), QString::fromUtf8("Z.E.K.O.²: Map Update...27:20:19"));
    w.frm->STATUS_STEP();
    w.frm->STATUS_STEP();
    EXPECT_EQ(w.frm->status_text(), "- Logging In\r\n- Verifying Page -");
    w.verify();
    EXPECT_EQ(w.tick_to_end(), 1 + 31 * 5);
    EXPECT_EQ(w.frm->status_text(), finished_log(&even));
    EXPECT_FALSE(w.frm->isVisible());
    EXPECT_EQ(w.redraws, 1);
    EXPECT_EQ(w.state.map.cell(38, 56), 0);
    EXPECT_EQ(w.state.map.cell(20, 8), 105);
    EXPECT_EQ(w.state.map.cell(20, 36), 119);
    // Guild 106 is not listed: it stays where its record says.
    EXPECT_EQ(w.state.map.cell(24, 4), 106);
    EXPECT_FALSE(w.frm->STATUS_CHANGE().isActive() || w.frm->tmrSECOND().isActive());
}

TEST(FrmMapUpdate, ButtonsWaitForTheRunButCancelClosesAtOnce) {
    GuildWorld w;
    w.frm->open_guilds();
    for (int i : {0, 1, 2})
        w.frm->cmdCOMMAND_Click(i);
    EXPECT_EQ(w.wb->navigations.size(), 1u);
    EXPECT_TRUE(w.world.prompts.shown.empty());
    EXPECT_TRUE(w.frm->isVisible());
    w.arrive(guild_page(&even));
    w.frm->cmdCOMMAND_Click(3);
    EXPECT_FALSE(w.frm->isVisible());
    EXPECT_FALSE(w.frm->tmrVERIFY().isActive() || w.frm->STATUS_CHANGE().isActive());
    EXPECT_EQ(w.state.map.cell(38, 56), 105);
    EXPECT_EQ(w.redraws, 0);
    // Opened again, the run starts afresh and ends the same way.
    w.frm->open_guilds();
    EXPECT_EQ(w.frm->status_text(), "- Logging In");
    w.arrive(guild_page(&even));
    w.verify();
    w.tick_to_end();
    EXPECT_EQ(w.frm->status_text(), finished_log(&even));
    EXPECT_EQ(w.state.map.cell(20, 8), 105);
}

TEST(FrmMapUpdate, AnUnreadyBodyIsReadAgainAndABadFigureIsShown) {
    GuildWorld w;
    w.frm->open_guilds();
    w.wb->body_html.reset();
    w.wb->completeNavigation();
    EXPECT_TRUE(w.frm->tmrReTry().isActive());
    EXPECT_EQ(w.frm->tmrReTry().interval(), 100);
    w.wb->body_html = "Guilds are moving again in 99999H";
    w.frm->tmrReTry_Timer();
    const ShownBox box{"6Overflow", MsgButtons::OK, MsgIcon::None, "Z.E.K.O.\xC2\xB2"};
    EXPECT_EQ(w.world.prompts.shown, std::vector<ShownBox>{box});
    w.frm->cmdCOMMAND_Click(3);
    EXPECT_FALSE(w.frm->isVisible());
}

TEST(FrmMapUpdate, UpdateShopsOnlyTellsItIsNotThereYet) {
    GuildWorld w;
    w.frm->cmdCOMMAND_Click(1);
    const ShownBox box{
        "Shop Locations have not been fully implemented in Z.E.K.O.\xC2\xB2 as of yet...",
        MsgButtons::OK, MsgIcon::Information, "Maybe next version..."};
    EXPECT_EQ(w.world.prompts.shown, std::vector<ShownBox>{box});
}

}  // namespace
}  // namespace zeko::testing
