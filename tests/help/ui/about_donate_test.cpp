#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>
#include "common/hosts.h"
#include "help/donate_page.h"
#include "help/ui/frm_about.h"
#include "help/ui/frm_donate.h"
#include "startup/ui/frm_splash.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"
#include "support/qt/sandbox.h"
#include "widgets/vb_widgets.h"

namespace zeko::testing {
namespace {

using ui::FrmAbout;
using ui::FrmDonate;
using ui::PictureBox;

constexpr const char* kTextControls[] = {"lblVER",      "lblVER1",   "lblAPP_INF", "lblAPP_INF1",
                                         "lblAPP_INF2", "lblTesk",   "lblTesk1",   "lblTOGGLE",
                                         "lblTOGGLE1",  "cmdCOMMAND"};

class AboutTest : public ::testing::Test {
  protected:
    AboutTest() {
        box = FrmAbout::show_over(
            [this](QWidget*) {
                auto b = std::make_unique<FakeBrowser>();
                tesk = b.get();
                return b;
            },
            &owner);
    }
    ~AboutTest() override { delete box.data(); }

    QWidget* control(const char* name) { return box->findChild<QWidget*>(QLatin1String(name)); }
    QString text(const char* name) { return static_cast<QLabel*>(control(name))->text(); }
    PictureBox* button() { return static_cast<PictureBox*>(control("cmdCOMMAND")); }
    // The box goes on its next pass of deferred deletes.
    bool gone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return box.isNull();
    }

    QWidget owner;
    FakeBrowser* tesk = nullptr;
    QPointer<FrmAbout> box;
};

TEST_F(AboutTest, ShowsTheTextsInFrontAndShadowCopiesAndOpensTheArtistsPageApart) {
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->parentWidget(), &owner);
    EXPECT_EQ(box->size(), QSize(400, 300));
    const std::pair<const char*, QString> texts[] = {
        {"lblVER", "1.2.3"},
        {"lblTesk", "Logo Deisgner: Tesk\r\nClick for more of her work!"},
        {"lblTOGGLE", "Text Off!\r\n(5 seconds)"},
        {"lblAPP_INF", text("lblAPP_INF2")}};
    for (const auto& [name, want] : texts) {
        EXPECT_EQ(text(name), want) << name;
        EXPECT_EQ(text((std::string(name) + "1").c_str()), text(name)) << name;
    }
    EXPECT_TRUE(text("lblAPP_INF").startsWith(QStringLiteral("CODER: Morvanek\r\n\r\n")));
    QTest::mouseClick(control("lblTesk"), Qt::LeftButton);
    ASSERT_EQ(tesk->navigations.size(), 1u);
    EXPECT_EQ(tesk->navigations[0].target, QStringLiteral("_blank"));
    EXPECT_FALSE(tesk->widget()->isVisibleTo(box));
    // The start-up window's address, on the maker's site, which the sandbox serves.
    const QUrl url(tesk->navigations[0].url);
    EXPECT_EQ(url.toString(), ui::FrmSplash::built_in_sites().artist_page);
    EXPECT_EQ(url.authority(), QLatin1String(hosts::kMaker));
    SandboxServer sandbox;
    EXPECT_EQ(sandbox.get(url.path().toStdString()).status, 200);
}

TEST_F(AboutTest, TextOffHidesTheTenControlsUntilTheTimerFires) {
    QTest::mouseClick(control("lblTOGGLE"), Qt::LeftButton);
    for (const char* name : kTextControls)
        EXPECT_FALSE(control(name)->isVisible()) << name;
    EXPECT_EQ(box->tmrTEXT()->interval(), 5000);
    box->tmrTEXT_Timer();
    for (const char* name : kTextControls)
        EXPECT_TRUE(control(name)->isVisible()) << name;
    EXPECT_FALSE(box->tmrTEXT()->isActive());
}

TEST_F(AboutTest, PictureButtonShowsItsPressedLookAndCloses) {
    EXPECT_EQ(button()->picture(), 0);
    QTest::mousePress(button(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button()->picture(), 1);
    EXPECT_FALSE(gone());
    QTest::mouseRelease(button(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(gone());
}

TEST_F(AboutTest, LosingTheFocusCloses) {
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(box, &deactivate);
    EXPECT_TRUE(gone());
}

TEST(Donate, PageIsWrittenOnceLoadedAndItsPostsLeaveInANewWindow) {
    FakeBrowser* wb = nullptr;
    FrmDonate donate([&](QWidget*) {
        auto b = std::make_unique<FakeBrowser>();
        wb = b.get();
        return b;
    });
    EXPECT_EQ(donate.windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Make a donation..."));
    EXPECT_EQ(wb->calls, QStringList{"Navigate2 about:blank"});
    wb->completeNavigation();
    EXPECT_EQ(wb->calls.mid(1),
              (QStringList{"setBodyBgColor 3000", "setBodyTextColor 80ff80",
                           "writeBodyInnerHtml " + QString::fromStdString(help::donation_page())}));
    EXPECT_EQ(donate.PAGE_BUILT, kTrue);

    bool cancelled = false;
    QObject::connect(wb, &WebBrowser::BeforeNavigate2,
                     [&](NavigationRequest& r) { cancelled = r.cancel; });
    NavigationRequest post;
    post.url = QStringLiteral("https://pay.test/cgi-bin/webscr");
    post.post_data =
        "cmd=_s-xclick&encrypted=" + QByteArray::fromStdString(help::payment_payload(20));
    post.headers = QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\n");
    wb->fireBeforeNavigate2(post);
    EXPECT_TRUE(cancelled);
    ASSERT_EQ(wb->navigations.size(), 2u);
    EXPECT_EQ(wb->navigations[1],
              (FakeBrowser::Navigation{post.url, "_blank", post.post_data, post.headers}));

    donate.show();
    donate.cmdCOMMAND()->click();
    EXPECT_FALSE(donate.isVisible());
}

}  // namespace
}  // namespace zeko::testing
