#include "main/ui/page_tracking.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "main/program.h"
#include "main/tracking.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

// The neighbourhood table of a game page with the crossing in its centre cell.
QString neighbourhood(const QString& crossing) {
    return QStringLiteral(
               "<P>You are here.</P><TABLE><TR><TD>a</TD><TD>b</TD><TD>c</TD></TR><TR>"
               "<TD>d</TD><TD><SPAN CLASS=INTERSECT>%1</SPAN></TD><TD>f</TD></TR><TR>"
               "<TD>g</TD><TD>h</TD><TD>i</TD></TR></TABLE>")
        .arg(crossing);
}

class PageTrackingTest : public ::testing::Test {
  protected:
    PageTrackingTest() {
        city.state.settings.SETTINGS.AUTONAV_STANDARD = kTrue;
        city.stand(7, 7);
    }

    NavigationRequest move_post(const char* post) {
        NavigationRequest r;
        r.url = QString::fromStdString(GAME_URL());
        r.post_data = QByteArray(post);
        r.countdown_ap = FormFieldRead{FormFieldRead::Status::Value, QStringLiteral("5")};
        return r;
    }
    std::pair<int, int> at() { return {city.vamp().POS_X, city.vamp().POS_Y}; }

    CityWorld city;
    FakeBrowser wb;
    int redraws = 0;
    bool precog = true;
    ui::PageTracking tracking{city.state, wb, [this] { ++redraws; }, [this] { return precog; }};
    QTimer* rip = tracking.tmrRIP();
};

TEST_F(PageTrackingTest, AnAnswerAboutAPageLeftOrAfterTheStopIsDropped) {
    // The crossing read puts the character on its block.
    wb.Navigate2(QStringLiteral("about:blank"));
    wb.defer_reads = true;
    wb.body_html = neighbourhood(QStringLiteral("Aardvark and 1st"));
    wb.completeNavigation();
    fire(rip);
    wb.answerReads();
    EXPECT_EQ(at(), std::make_pair(1, 1));
    EXPECT_GT(redraws, 0);
    // An answer about a page that a newer one has replaced is dropped; so is one that comes
    // after the program has begun to end.
    for (bool stopping : {false, true}) {
        wb.completeNavigation();
        fire(rip);
        wb.body_html = neighbourhood(QStringLiteral("Bison and 2nd"));
        if (stopping)
            tracking.stop();
        else
            wb.completeNavigation();
        wb.answerReads();
        EXPECT_EQ(at(), std::make_pair(1, 1)) << stopping;
        EXPECT_EQ(rip->isActive(), !stopping);
    }
}

TEST_F(PageTrackingTest, WithoutTheCheckMarkOrThePointsAPostIsNotPredicted) {
    city.state.settings.SETTINGS.AUTONAV_PRECOG = kTrue;
    for (bool ticked : {false, true}) {
        precog = ticked;
        wb.fireBeforeNavigate2(move_post("action=move&x=20&y=30"));
        EXPECT_EQ(tracking.tracker().POSITION_PREDICTED, ticked);
        EXPECT_EQ(at(), ticked ? std::make_pair(20, 30) : std::make_pair(7, 7));
    }
    // The points the browser read on the page go with the post: none left, no prediction.
    NavigationRequest tired = move_post("action=move&x=21&y=31");
    tired.countdown_ap.value = QStringLiteral("0");
    wb.fireBeforeNavigate2(tired);
    EXPECT_FALSE(tracking.tracker().POSITION_PREDICTED);
    EXPECT_EQ(at(), std::make_pair(20, 30));
}

}  // namespace
}  // namespace zeko::testing
