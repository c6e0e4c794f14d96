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

// Every even guild i south-east of Elm (x 20) and the (i + 4)th street.
QString guild_page() {
    QString page =
        "<P>menu</P><!-- header end --><P>Guilds are moving again in 1 days, 3H "
        "20MIN</P><TABLE border=1><TBODY><TR>\n<TH>Guild</TH></TR>";
    for (int i = 0; i < kGuildCount; ++i) {
        if (i % 2) continue;
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
    void arrive(const QString& body) {
        wb->body_html = body;
        wb->completeNavigation();
    }
    // Spinner ticks until the window closes.
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

// The log of a run that found the even guilds, or none.
std::string finished_log(bool found_even = true) {
    std::string log = "- Logging In\r\n- Verifying Page [DONE]\r\n- Obtaining Guild Information...";
    for (int i = 0; i < kGuildCount; ++i)
        log += "\r\n" + std::string(LOG_LABELS[static_cast<size_t>(i)]) +
               (found_even && i % 2 == 0 ? " Found" : " Not Found");
    return log + "\r\nDONE...";
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
    w.arrive(guild_page());
    EXPECT_EQ(w.frm->tmrVERIFY().interval(), 10000);
    w.frm->tmrSECOND_Timer();
    EXPECT_EQ(w.frm->windowTitle(), QString::fromUtf8("Z.E.K.O.²: Map Update...27:20:19"));
    w.frm->tmrVERIFY_Timer();
    EXPECT_EQ(w.tick_to_end(), 1 + 31 * 5);
    EXPECT_EQ(w.frm->status_text(), finished_log());
    EXPECT_EQ(w.redraws, 1);
    // Listed guilds move; 106 is not listed and stays where its record says.
    const std::pair<QPoint, int> cells[] = {
        {{38, 56}, 0}, {{20, 8}, 105}, {{20, 36}, 119}, {{24, 4}, 106}};
    for (const auto& [at, code] : cells)
        EXPECT_EQ(w.state.map.cell(at.x(), at.y()), code) << at.x() << "," << at.y();
    EXPECT_FALSE(w.frm->STATUS_CHANGE().isActive() || w.frm->tmrSECOND().isActive());
}

TEST(FrmMapUpdate, APageThatNamesNoGuildLeavesEveryGuildWhereItStands) {
    QString late_days = guild_page();
    late_days.replace(" 1 days,", "").append("<P>Halls stay put for a few days.</P>");
    const std::pair<const char*, QString> pages[] = {
        {"maintenance", "<P>menu</P><!-- header end --><P>Down for maintenance.</P>"},
        {"no table",
         "<!-- header end --><P>Guilds are moving again in 3H 20MIN</P><UL><LI>"
         "Allurist guild 1: SE of Elm and 4th</LI></UL>"},
        {"rows on one line", guild_page().replace("<TR>\n", "<TR>")},
        {"days only after the table", late_days},
    };
    for (const auto& [what, page] : pages) {
        GuildWorld w;
        w.state.guilds.GUILDS(106) = {"Allurists: 2", "", "Fir", "2nd"};
        w.frm->open_guilds();
        w.arrive(page);
        w.frm->tmrVERIFY_Timer();
        w.tick_to_end();
        EXPECT_FALSE(w.frm->isVisible()) << what;
        EXPECT_EQ(w.frm->status_text(), finished_log(false)) << what;
        EXPECT_EQ(w.state.map.cell(38, 56), 105) << what;
        EXPECT_EQ(w.state.map.cell(24, 4), 0) << what;
        EXPECT_EQ(w.redraws, 0) << what;
    }
}

TEST(FrmMapUpdate, ButtonsAreIndexedDownTheColumnsWaitForTheRunButCancelClosesAtOnce) {
    GuildWorld w;
    EXPECT_EQ(w.frm->windowTitle(), QString::fromUtf8("Z.E.K.O.²: Map Update..."));
    EXPECT_NE(w.frm->findChild<QPlainTextEdit*>("txtSTATUS"), nullptr);
    const std::pair<const char*, QPoint> buttons[] = {{"Update Guilds", {4, 360}},
                                                      {"Update Shops", {4, 380}},
                                                      {"Done", {156, 360}},
                                                      {"Cancel", {156, 380}}};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(w.button(i), nullptr);
        EXPECT_EQ(w.button(i)->text(), buttons[i].first);
        EXPECT_EQ(w.button(i)->pos(), buttons[i].second) << i;
    }
    EXPECT_TRUE(w.button(2)->isDefault());
    w.frm->open_guilds();
    for (int i : {0, 1, 2})
        w.frm->cmdCOMMAND_Click(i);
    EXPECT_EQ(w.wb->navigations.size(), 1u);
    EXPECT_TRUE(w.world.prompts.shown.empty());
    EXPECT_TRUE(w.frm->isVisible());
    w.arrive(guild_page());
    w.frm->cmdCOMMAND_Click(3);
    EXPECT_FALSE(w.frm->isVisible());
    EXPECT_FALSE(w.frm->tmrVERIFY().isActive() || w.frm->STATUS_CHANGE().isActive());
    EXPECT_EQ(w.state.map.cell(38, 56), 105);
    EXPECT_EQ(w.redraws, 0);
    // Opened again, the run starts afresh.
    w.frm->open_guilds();
    EXPECT_EQ(w.frm->status_text(), "- Logging In");
}

TEST(FrmMapUpdate, AnUnreadyBodyIsReadAgainABadFigureIsShownAndShopsAreNotThereYet) {
    GuildWorld w;
    w.frm->cmdCOMMAND_Click(1);
    w.frm->open_guilds();
    w.wb->body_html.reset();
    w.wb->completeNavigation();
    EXPECT_EQ(w.frm->tmrReTry().interval(), 100);
    ASSERT_TRUE(w.frm->tmrReTry().isActive());
    w.wb->body_html = "Guilds are moving again in 99999H";
    w.frm->tmrReTry_Timer();
    const std::vector<ShownBox> boxes = {
        {"Shop Locations have not been fully implemented in Z.E.K.O.\xC2\xB2 as of yet...",
         MsgButtons::OK, MsgIcon::Information, "Maybe next version..."},
        {"6Overflow", MsgButtons::OK, MsgIcon::None, "Z.E.K.O.\xC2\xB2"}};
    EXPECT_EQ(w.world.prompts.shown, boxes);
}

}  // namespace
}  // namespace zeko::testing
