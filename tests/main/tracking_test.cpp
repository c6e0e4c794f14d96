#include "main/tracking.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "common/errors.h"
#include "main/program_state.h"
#include "support/world.h"

namespace zeko {
namespace {

using testing::read_bytes;
using testing::write_bytes;

using Status = CountdownRead::Status;

const CountdownRead kAp5{Status::Value, "5"};
const CountdownRead kNoForm{Status::MissingForm, ""};

// How each of the nine cells opens.
using Openings = std::array<std::string, 9>;
Openings all(const std::string& td) {
    Openings o;
    o.fill(td);
    return o;
}
// As the game writes them: every cell carries its class.
const Openings kGame = {"<TD class=intersect>", "<TD class=street>",    "<TD class=intersect>",
                        "<TD class=street>",    "<TD class=cityblock>", "<TD class=street>",
                        "<TD class=city>",      "<TD class=city>",      "<TD class=city>"};
// Bare and classed cells by turns: a row that has a bare cell after a classed one shifts.
const Openings kTurns = {"<td class=a>", "<td>", "<td class=a>", "<td>", "<td class=a>", "<td>",
                         "<td class=a>", "<td>", "<td class=a>"};

// Nine neighbourhood cells; `text` goes into cell `crossing` inside the intersect span.
std::string neighbourhood(int crossing, const std::string& text, const Openings& td = all("<td>"),
                          const std::string& span = "<span class=intersect>") {
    std::string t = "<table border=0>";
    for (int row = 0; row < 3; ++row) {
        t += "<tr>";
        for (int col = 0; col < 3; ++col) {
            const int cell = 3 * row + col;
            t += td[static_cast<size_t>(cell)];
            if (cell == crossing)
                t += span + text + "</span>";
            else
                t += "<a href=\"blood.pl?x=" + std::to_string(cell) + "\">Block</a>";
            t += "</td>";
        }
        t += "</tr>";
    }
    return t + "</table>";
}

std::string page(const std::string& table) {
    return "<h1>Vampires!</h1><p>You are standing in a street.</p>" + table +
           "<form name=countdn><input name=ap value=30></form>";
}

struct Tracking : ::testing::Test, testing::CityWorld {
    Tracking() {
        stand(77, 55);
        state.settings.SETTINGS.AUTONAV_STANDARD = kTrue;
    }
    std::pair<int, int> pos() { return {vamp().POS_X, vamp().POS_Y}; }
    std::filesystem::path log() const { return world.folder / "POSTDATA.txt"; }

    int redraws = 0;
    PositionTracker tracker{state, [this] { ++redraws; }};
};

TEST_F(Tracking, TheFirstMarkedCrossingShiftedByItsCellIsThePosition) {
    // The centre cell: on the crossing itself, one redraw, and the timer stops.
    EXPECT_EQ(tracker.read_timer(page(neighbourhood(4, "Aardvark and 1st"))), 0);
    EXPECT_EQ(pos(), std::make_pair(1, 1));
    EXPECT_EQ(redraws, 1);
    for (const Openings& td : {all("<td>"), all("<TD class=\"x\" id=c>"), kGame}) {
        for (int cell = 0; cell < 9; ++cell) {
            ASSERT_TRUE(tracker.RIP_LOCATION(page(neighbourhood(cell, "AARDVARK AND 1ST", td))));
            EXPECT_EQ(pos(), std::make_pair(2 - cell % 3, 2 - cell / 3)) << td[0] << cell;
        }
    }
    const std::string chat(40000, 'c');
    const std::pair<std::string, std::pair<int, int>> read[] = {
        // Any case of the tags; "NCL", unknown names and a missing " AND " are index 0.
        {neighbourhood(0, "Aardvark and 1st", all("<Td>")), {2, 2}},
        {neighbourhood(8, "Zestless And NCL", all("<TD>"), "<SPAN CLASS=INTERSECT>"), {198, -2}},
        {neighbourhood(0, "Nowhere and 3rd"), {0, 6}},
        {neighbourhood(5, "Aardvark/1st"), {-2, -1}},
        {"<tr><td><span class=intersect>Aardvark and 2nd</span>"
         "<span class=intersect>Alder and 1st</span></td></tr></table>",
         {2, 4}},
        // A bare cell after a classed one is taken for the first cell of its row.
        {neighbourhood(2, "Aardvark and 1st", kTurns), {1, 2}},
        {neighbourhood(7, "Aardvark and 1st", kTurns), {2, 0}},
        // Pages of any length.
        {chat + page(neighbourhood(4, "Aardvark and 1st", kGame)), {1, 1}},
        {page(neighbourhood(4, "Aardvark and 1st", kGame)) + chat, {1, 1}},
    };
    for (const auto& [body, at] : read) {
        EXPECT_TRUE(tracker.RIP_LOCATION(body)) << body.substr(0, 200);
        EXPECT_EQ(pos(), at) << body.substr(0, 200);
    }
    EXPECT_EQ(redraws, 37);
}

TEST_F(Tracking, PagesWithoutAMarkedCrossingInTheFirstThreeRowsAreReadAgain) {
    const std::string unread[] = {
        "<p>Nothing here</p>",
        std::string(40000, 'c') + "<p>Nothing here</p>",
        neighbourhood(4, "Aardvark and 1st", all("<td>"), "<span class=\"intersect\">"),
        // A classed cell between two bare ones is passed over.
        neighbourhood(4, "Aardvark and 1st", kTurns),
        // An empty span ends the search even with a good one further on.
        neighbourhood(2, ""),
        "<tr><td>a</td></tr><tr><td>b</td></tr><tr><td>c</td></tr>"
        "<tr><td><span class=intersect>Aardvark and 1st</span></td></tr>",
    };
    for (const std::string& body : unread) {
        EXPECT_FALSE(tracker.RIP_LOCATION(body)) << body.substr(0, 200);
        EXPECT_EQ(tracker.read_timer(body), PositionTracker::kPollInterval) << body.substr(0, 200);
    }
    EXPECT_EQ(pos(), std::make_pair(77, 55));
    EXPECT_EQ(redraws, 0);

    // No body yet, or no current character: read again.
    EXPECT_EQ(tracker.read_timer(std::nullopt), PositionTracker::kPollInterval);
    const std::string table = neighbourhood(4, "Aardvark and 1st");
    state.db.CUR_VAMP = 2;
    EXPECT_EQ(tracker.read_timer(table), PositionTracker::kPollInterval);
    state.db.VAMPS.redim(1, 0);
    state.db.CUR_VAMP = 1;
    EXPECT_EQ(tracker.read_timer(table), PositionTracker::kPollInterval);
    EXPECT_EQ(redraws, 0);
}

TEST_F(Tracking, TimerArmsOnlyForStandardAndUnpredictedPages) {
    EXPECT_EQ(tracker.document_complete_interval(), 150);
    state.settings.SETTINGS.AUTONAV_STANDARD = 1;  // not -1: off
    EXPECT_EQ(tracker.document_complete_interval(), 0);
    state.settings.SETTINGS.AUTONAV_STANDARD = kFalse;
    EXPECT_EQ(tracker.document_complete_interval(), 0);

    state.settings.SETTINGS.AUTONAV_STANDARD = kTrue;
    tracker.before_navigate("action=move&x=12&y=34", kAp5, true);
    EXPECT_TRUE(tracker.POSITION_PREDICTED);
    EXPECT_EQ(tracker.document_complete_interval(), 0);

    // A plain link clears the prediction; so does a post with Precognition unticked.
    tracker.before_navigate("", kAp5, true);
    EXPECT_FALSE(tracker.POSITION_PREDICTED);
    EXPECT_EQ(tracker.document_complete_interval(), 150);
    tracker.before_navigate("action=move&x=12&y=34", kAp5, true);
    tracker.before_navigate("action=move&x=1&y=2", kAp5, false);
    EXPECT_FALSE(tracker.POSITION_PREDICTED);
    EXPECT_EQ(pos(), std::make_pair(12, 34));
}

TEST_F(Tracking, MoveAndTransitPostsPredictThePosition) {
    struct Case {
        const char* post;
        bool predicted;
        std::pair<int, int> at;  // from (7, 7)
    };
    const Case cases[] = {
        {"action=move&x=12&y=34", true, {12, 34}},
        {"ACTION=MOVE&a=1&b=2&c=3", true, {1, 3}},  // split at the last "&"
        {"action=move&", true, {0, 0}},             // nothing after the prefix: both pieces empty
        {"action=move&x=123", true, {0, 23}},       // no second "&": G is Q from its 2nd character
        {"action=move&5&7", true, {5, 7}},          // pieces shorter than two characters stay whole
        {"action=move&x=12.5&y=13.5", true, {12, 14}},  // halves to even
        {"action=move&x=40000&y=3", true, {7, 3}},      // out of 16 bits: stays as it was
        {"action=move&x=9&y=-32769", true, {9, 7}},
        {"action=transit&target=MELPOMNE+Station&go=1", true, {100, 100}},
        {"Action=Transit&Target=URANIA+station", true, {150, 150}},
        {"action=transit&target=Melpomene+Station", false, {7, 7}},
        {"action=transit&target=Clio+Statio", false, {7, 7}},
        {"x action=transit&target=Clio+Station", false, {7, 7}},
        {"action=rest", false, {7, 7}},
    };
    for (const Case& c : cases) {
        stand(7, 7);
        tracker.before_navigate(c.post, kAp5, true);
        EXPECT_EQ(tracker.POSITION_PREDICTED, c.predicted) << c.post;
        EXPECT_EQ(pos(), c.at) << c.post;
    }
    EXPECT_EQ(redraws, 10);

    // No current character: nothing stored, still predicted and redrawn.
    state.db.CUR_VAMP = 3;
    tracker.before_navigate("action=move&x=1&y=1", kAp5, true);
    tracker.before_navigate("action=transit&target=Clio+Station", kAp5, true);
    EXPECT_TRUE(tracker.POSITION_PREDICTED);
    EXPECT_EQ(redraws, 12);
    EXPECT_EQ(pos(), std::make_pair(7, 7));
}

TEST_F(Tracking, OnlyAPointsCountOfZeroOrLessStopsLoggingAndPrediction) {
    struct Case {
        CountdownRead countdown;
        bool logged, predicted;
    };
    const Case cases[] = {
        {{Status::Value, "0"}, false, false},
        {{Status::Value, " -3 "}, false, false},
        {{Status::Value, "0.0e5"}, false, false},
        {{Status::Value, "1"}, true, true},
        {{Status::Value, "0.5"}, true, true},
        // No number to compare: the comparison fails and is skipped.
        {{Status::Value, ""}, true, true},
        {{Status::Value, "n/a"}, true, true},
        {{Status::Value, "0 left"}, true, true},
        {{Status::Value, "-"}, true, true},
        {{Status::Failed, ""}, true, true},
        // No countdown form: predicted, not logged.
        {kNoForm, false, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(log());
        stand(77, 55);
        tracker.before_navigate("action=move&x=1&y=2", c.countdown, true);
        const std::string what = "\"" + c.countdown.value + "\"";
        EXPECT_EQ(std::filesystem::exists(log()) ? read_bytes(log()) : "",
                  c.logged ? "\"action=move&x=1&y=2\r\n\"\r\n" : "")
            << what;
        EXPECT_EQ(tracker.POSITION_PREDICTED, c.predicted) << what;
        EXPECT_EQ(pos(), c.predicted ? std::make_pair(1, 2) : std::make_pair(77, 55)) << what;
        EXPECT_EQ(tracker.document_complete_interval(), c.predicted ? 0 : 150) << what;
    }
}

TEST_F(Tracking, LogEntriesAreWrittenByteForByte) {
    const char raw[] = "say=\"hi\"\r\n&\x00\xFF\x81\xE9";
    const std::string odd(raw, sizeof raw - 1);
    tracker.before_navigate(odd, kAp5, true);
    EXPECT_FALSE(tracker.POSITION_PREDICTED);  // logged, not classified
    tracker.before_navigate("action=move&x=3&y=4", kAp5, true);
    EXPECT_EQ(read_bytes(log()), "\"" + odd + "\r\n\"\r\n\"action=move&x=3&y=4\r\n\"\r\n");
    // Whatever the player sends is logged, so only the owner may read the log.
    EXPECT_EQ(std::filesystem::status(log()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // An existing log in another letter case is appended to.
    std::filesystem::remove(log());
    write_bytes(world.folder / "postdata.TXT", "old\r\n");
    tracker.before_navigate("a=1", kAp5, true);
    EXPECT_EQ(read_bytes(world.folder / "postdata.TXT"), "old\r\n\"a=1\r\n\"\r\n");
}

TEST_F(Tracking, AnUnwritableLogOrAFailingRedrawDoesNotStopTheNavigation) {
    std::filesystem::create_directory(log());
    PositionTracker failing(state, [] { throw RuntimeError(Err::InvalidCall); });
    EXPECT_NO_THROW(failing.before_navigate("action=move&x=12&y=34", kAp5, true));
    EXPECT_NO_THROW(failing.before_navigate("action=transit&target=urania+Station", kAp5, true));
    EXPECT_TRUE(failing.POSITION_PREDICTED);
    EXPECT_EQ(pos(), std::make_pair(150, 150));

    // In the page read a failing redraw makes the read repeat.
    EXPECT_EQ(failing.read_timer(neighbourhood(4, "Aardvark and 1st")),
              PositionTracker::kPollInterval);
    EXPECT_EQ(pos(), std::make_pair(1, 1));
}

}  // namespace
}  // namespace zeko
