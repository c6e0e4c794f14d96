#include "help/ui/frm_help.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "shown_help.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"

namespace zeko::testing {
namespace {

class FrmHelpTest : public ::testing::Test {
  protected:
    FrmHelpTest()
        : help(
              [this](QWidget*) {
                  auto b = std::make_unique<FakeBrowser>();
                  wb = b.get();
                  return b;
              },
              [this](QWidget* owner) { about_owners.push_back(owner); }) {}

    QString page(int topic) { return QString::fromStdString(help.tables.HELP_PAGES[topic]); }
    // What the browser shows now.
    QString shown() { return wb->body_html.value_or(QString()); }
    void open(int16_t topic) {
        help.INIT_HELP(topic, &owner);
        wb->completeNavigation();
    }
    // Whether the window cancelled the navigation (this handler runs after the window's).
    bool follow(const QString& url) {
        bool cancelled = false;
        const auto seen = QObject::connect(wb, &WebBrowser::BeforeNavigate2,
                                           [&](NavigationRequest& r) { cancelled = r.cancel; });
        NavigationRequest r;
        r.url = url;
        wb->fireBeforeNavigate2(r);
        QObject::disconnect(seen);
        return cancelled;
    }

    QWidget owner;
    FakeBrowser* wb = nullptr;
    std::vector<QWidget*> about_owners;
    ShownHelp help;
};

TEST_F(FrmHelpTest, OnlyOwnedTopicsOpenAndTheFirstDocumentShowsTheTopic) {
    help.INIT_HELP(0, &owner);
    EXPECT_EQ(help.HELP_TOPIC, 0);
    EXPECT_FALSE(help.isVisible());
    EXPECT_TRUE(wb->calls.isEmpty());

    help.INIT_HELP(4, &owner);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.parentWidget(), &owner);
    EXPECT_EQ(help.windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Help..."));
    ASSERT_EQ(help.lstTOPICS()->count(), 42);
    EXPECT_EQ(help.lstTOPICS()->item(18)->text(), QStringLiteral(" * Bank Line"));
    EXPECT_EQ(wb->calls, QStringList{"Navigate2 about:blank"});
    EXPECT_EQ(help.list_index(), -1);

    wb->completeNavigation();
    EXPECT_EQ(help.list_index(), 4);
    EXPECT_EQ(wb->calls.mid(1),
              (QStringList{"setBodyBgColor 404040", "setBodyTextColor 80ff80", "setLinkColors",
                           "writeBodyInnerHtml ", "writeBodyInnerHtml " + page(4)}));
    // Every later document is coloured again, without changing the topic.
    wb->calls.clear();
    wb->completeNavigation();
    EXPECT_EQ(wb->calls,
              (QStringList{"setBodyBgColor 404040", "setBodyTextColor 80ff80", "setLinkColors"}));
}

TEST_F(FrmHelpTest, ASelectionBeforeTheDocumentWaitsForIt) {
    help.INIT_HELP(2, &owner);
    help.lstTOPICS()->setCurrentRow(9);
    EXPECT_EQ(wb->calls, (QStringList{"Navigate2 about:blank", "Navigate2 about:blank"}));
    EXPECT_EQ(help.tmrHELP()->interval(), 50);
    help.tmrHELP_Timer();
    EXPECT_TRUE(help.tmrHELP()->isActive());
    EXPECT_FALSE(wb->body_html.has_value());

    wb->completeNavigation();
    help.lstTOPICS()->setCurrentRow(12);
    EXPECT_EQ(shown(), page(12));
    help.tmrHELP_Timer();
    EXPECT_FALSE(help.tmrHELP()->isActive());
    EXPECT_EQ(shown(), page(12));

    // The blank page is asked for again only once in the run.
    help.close();
    help.INIT_HELP(2, &owner);
    help.lstTOPICS()->setCurrentRow(9);
    EXPECT_EQ(wb->calls.filter("Navigate2").size(), 3);
}

TEST_F(FrmHelpTest, TopicLinksBecomeTheListSelection) {
    open(37);
    help.INIT_HELP(37, &owner);  // no owner for 37: nothing shown
    EXPECT_FALSE(help.loaded());
    open(9);
    const struct {
        const char* url;
        bool cancelled;
        int selected;
    } cases[] = {
        {"about:blank18", true, 18}, {"about:blank", true, 0},
        {"about:blank41", true, 41}, {"about:blank77", true, 41},
        {"ABOUT:BLANK3", false, 41}, {"http://127.0.0.1/blood.pl", false, 41},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(follow(QLatin1String(c.url)), c.cancelled) << c.url;
        EXPECT_EQ(help.list_index(), c.selected) << c.url;
        EXPECT_EQ(shown(), page(c.selected)) << c.url;
    }
    // While the blank document loads, its navigations are the window's own.
    help.close();
    help.INIT_HELP(24, &owner);
    EXPECT_FALSE(follow(QStringLiteral("about:blank")));
}

TEST_F(FrmHelpTest, ButtonsAndReopening) {
    open(40);
    help.cmdCOMMAND(2)->click();
    EXPECT_EQ(help.list_index(), 11);
    EXPECT_EQ(shown(), page(11));
    help.cmdCOMMAND(0)->click();
    EXPECT_EQ(about_owners, std::vector<QWidget*>{&help});

    help.cmdCOMMAND(1)->click();
    EXPECT_FALSE(help.isVisible());

    // A document that completes after closing does not count for the next opening.
    wb->completeNavigation();
    help.INIT_HELP(34, &owner);
    EXPECT_EQ(help.DOC_READY, kFalse);
    wb->completeNavigation();
    EXPECT_EQ(help.list_index(), 34);
    EXPECT_EQ(shown(), page(34));
}

TEST_F(FrmHelpTest, ResizingKeepsAFloorAndPlacesTheBrowser) {
    open(2);
    help.resize(617, 462);
    EXPECT_EQ(wb->widget()->geometry(), QRect(172, 4, 441, 423));
    help.resize(100, 100);
    EXPECT_GE(help.frameGeometry().width(), 400);
    EXPECT_GE(help.frameGeometry().height(), 200);

    help.setWindowState(Qt::WindowMinimized);
    const QRect before = help.lstTOPICS()->geometry();
    help.Form_Resize();
    EXPECT_EQ(help.lstTOPICS()->geometry(), before);
}

}  // namespace
}  // namespace zeko::testing
