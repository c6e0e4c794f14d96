// The help window over the real browser: a click on a topic link inside a help page.
#include <gtest/gtest.h>

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/qt_web_browser.h"
#include "shown_help.h"
#include "support/qt/qt_support.h"

namespace zeko::testing {
namespace {

class HelpLinkTest : public ::testing::Test {
  protected:
    HelpLinkTest()
        : help(
              [this](QWidget*) {
                  auto b = std::make_unique<QtWebBrowser>();
                  browser = b.get();
                  return b;
              },
              {}) {}

    QVariant run(const QString& script) { return run_script(browser->page(), script); }
    // Waits until the page shows the given text.
    bool shows(const QString& text) {
        return wait_until([&] {
            return run(QStringLiteral("document.body ? document.body.innerText : ''"))
                .toString()
                .contains(text);
        });
    }
    // Clicks the middle of the page's element found by `selector`, as the user does.
    void click(const QString& selector) {
        const QVariantList r =
            run(QStringLiteral(
                    "(function(){const b=document.querySelector('%1')"
                    ".getBoundingClientRect();return [b.x+b.width/2,b.y+b.height/2];})()")
                    .arg(selector))
                .toList();
        ASSERT_EQ(r.size(), 2);
        settle(100);
        QTest::mouseClick(browser->view()->focusProxy(), Qt::LeftButton, {},
                          QPoint(qRound(r[0].toDouble()), qRound(r[1].toDouble())));
    }

    QWidget owner;
    QtWebBrowser* browser = nullptr;
    ShownHelp help;
};

TEST_F(HelpLinkTest, ClickedTopicLinksSelectTheirTopicAndThePageStays) {
    help.INIT_HELP(2, &owner);
    ASSERT_TRUE(shows(QStringLiteral(": Description")));
    EXPECT_EQ(help.list_index(), 2);
    EXPECT_EQ(run(QStringLiteral("document.body.getAttribute('bgcolor')")).toString(),
              QStringLiteral("#404040"));

    help.set_list_index(37);
    ASSERT_TRUE(shows(QStringLiteral("- Deleting")));
    click(QStringLiteral("a[href=\"41\"]"));
    ASSERT_TRUE(wait_until([&] { return help.list_index() == 41; }));
    EXPECT_TRUE(shows(QStringLiteral("Vampire: Deleting")));
    EXPECT_EQ(browser->LocationURL(), QStringLiteral("about:blank"));

    // The link written with blanks around its "=".
    help.set_list_index(17);
    ASSERT_TRUE(shows(QStringLiteral("Bank Line")));
    click(QStringLiteral("a[href=\"18\"]"));
    ASSERT_TRUE(wait_until([&] { return help.list_index() == 18; }));
    EXPECT_TRUE(shows(QStringLiteral("Navigation Lines - Bank Line")));
    EXPECT_EQ(help.DOC_READY, kTrue);
}

// A jump inside the page changes the address the page shows; topic links still read as their
// number after it. A link with no address, or to "about:blank" itself, is topic 0.
TEST_F(HelpLinkTest, TopicLinksReadTheSameWhateverAddressThePageShows) {
    help.INIT_HELP(2, &owner);
    ASSERT_TRUE(shows(QStringLiteral(": Description")));
    help.tables.HELP_PAGES[37] +=
        R"(<a id="jump" href="#end">jump</a> <a id="none" href="">none</a> )"
        R"(<a id="blank" href="about:blank">blank</a><br><a name="end">end</a>)";
    const std::pair<const char*, int> links[] = {{"#jump", 37}, {"#none", 0}, {"#blank", 0}};
    for (const auto& [link, topic] : links) {
        help.set_list_index(37);
        ASSERT_TRUE(shows(QStringLiteral("jump"))) << link;
        click(QLatin1String(link));
        EXPECT_TRUE(wait_until(
            [&] {
                return help.list_index() == topic &&
                       (topic != 37 || run(QStringLiteral("location.hash")).toString() == "#end");
            },
            3000))
            << link;
        help.set_list_index(37);
        ASSERT_TRUE(shows(QStringLiteral("jump"))) << link;
        click(QStringLiteral("a[href=\"41\"]"));
        EXPECT_TRUE(wait_until([&] { return help.list_index() == 41; }, 3000)) << link;
    }
}

}  // namespace
}  // namespace zeko::testing
