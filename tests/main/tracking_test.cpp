#include "main/tracking.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "common/errors.h"
#include "main/program_state.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

using Status = CountdownRead::Status;
using Pos = std::pair<int, int>;

const CountdownRead kAp5{Status::Value, "5"};

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
    for (int cell = 0; cell < 9; ++cell) {
        t += (cell % 3 == 0 ? "<tr>" : "") + td[static_cast<size_t>(cell)] +
             (cell == crossing ? span + text + "</span>" : "<a href=\"blood.pl\">Block</a>") +
             "</td>" + (cell % 3 == 2 ? "</tr>" : "");
    }
    return t + "</table>";
}

std::string page(const std::string& table) {
    return "<p>You are standing in a street.</p>" + table +
           "<form name=countdn><input name=ap value=30></form>";
}

struct Tracking : ::testing::Test, CityWorld {
    Tracking() {
        stand(77, 55);
        state.settings.SETTINGS.AUTONAV_STANDARD = kTrue;
    }
    Pos pos() { return {vamp().POS_X, vamp().POS_Y}; }
    std::filesystem::path log() const { return world.folder / "POSTDATA.txt"; }

    int redraws = 0;
    PositionTracker tracker{state, [this] { ++redraws; }};
};

TEST_F(Tracking, TheFirstMarkedCrossingShiftedByItsCellIsThePosition) {
    for (const Openings& td : {all("<td>"), all("<TD class=\"x\" id=c>"), kGame})
        for (int cell = 0; cell < 9; ++cell) {
            ASSERT_TRUE(tracker.RIP_LOCATION(page(neighbourhood(cell, "AARDVARK AND 1ST", td))));
            EXPECT_EQ(pos(), Pos(2 - cell % 3, 2 - cell / 3)) << td[0] << cell;
        }
    const std::string chat(40000, 'c');
    const std::pair<std::string, std::optional<Pos>> cases[] = {
        // Any case of the tags and span; "NCL", unknown names and a missing " AND " are index 0.
        {neighbourhood(8, "Zestless And NCL", all("<TD>"), "<SPAN CLASS=INTERSECT>"), Pos{198, -2}},
        {neighbourhood(5, "Aardvark/1st"), Pos{-2, -1}},
        {"<tr><td><span class=intersect>Aardvark and 2nd</span>"
         "<span class=intersect>Alder and 1st</span></td></tr></table>",
         Pos{2, 4}},
        // A bare cell after a classed one is taken for the first cell of its row.
        {neighbourhood(2, "Aardvark and 1st", kTurns), Pos{1, 2}},
        // Pages of any length.
        {chat + page(neighbourhood(4, "Aardvark and 1st", kGame)), Pos{1, 1}},
        // Not read: the page is read again.
        {chat + "<p>Nothing here</p>", std::nullopt},
        {neighbourhood(4, "Aardvark and 1st", all("<td>"), "<span class=\"intersect\">"),
         std::nullopt},
        // A classed cell between two bare ones is passed over.
        {neighbourhood(4, "Aardvark and 1st", kTurns), std::nullopt},
        // An empty span ends the search even with a good one further on.
        {neighbourhood(2, ""), std::nullopt},
        {"<tr><td>a</td></tr><tr><td>b</td></tr><tr><td>c</td></tr>"
         "<tr><td><span class=intersect>Aardvark and 1st</span></td></tr>",
         std::nullopt},
    };
    for (const auto& [body, at] : cases) {
        SCOPED_TRACE(body.substr(0, 200));
        stand(77, 55);
        // The timer stops once a read succeeds; each success redraws once.
        EXPECT_EQ(tracker.read_timer(body), at ? 0 : PositionTracker::kPollInterval);
        EXPECT_EQ(pos(), at.value_or(Pos{77, 55}));
    }

    // No body yet, or no current character: read again.
    EXPECT_EQ(tracker.read_timer(std::nullopt), PositionTracker::kPollInterval);
    state.db.CUR_VAMP = 2;
    EXPECT_EQ(tracker.read_timer(page(neighbourhood(4, "Aardvark and 1st"))),
              PositionTracker::kPollInterval);
    EXPECT_EQ(redraws, 27 + 5);
}

TEST_F(Tracking, MoveAndTransitPostsPredictThePositionAndStopThePageRead) {
    state.settings.SETTINGS.AUTONAV_STANDARD = 1;  // only -1 is on
    EXPECT_EQ(tracker.document_complete_interval(), 0);
    state.settings.SETTINGS.AUTONAV_STANDARD = kTrue;
    struct Case {
        const char* post;
        bool predicted;
        Pos at;  // from (7, 7)
        bool precog = true;
    };
    const Case cases[] = {
        {"action=move&x=12&y=34", true, {12, 34}},
        {"ACTION=MOVE&a=1&b=2&c=3", true, {1, 3}},      // split at the last "&"
        {"action=move&x=12.5&y=13.5", true, {12, 14}},  // halves to even
        {"action=move&x=40000&y=3", true, {7, 3}},      // out of 16 bits: stays as it was
        {"action=transit&target=MELPOMNE+Station&go=1", true, {100, 100}},
        {"Action=Transit&Target=URANIA+station", true, {150, 150}},
        {"action=transit&target=Melpomene+Station", false, {7, 7}},
        {"x action=transit&target=Clio+Station", false, {7, 7}},
        // A plain link clears the prediction; so does a post with Precognition unticked.
        {"", false, {7, 7}},
        {"action=move&x=1&y=2", false, {7, 7}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.post);
        stand(7, 7);
        tracker.POSITION_PREDICTED = true;
        tracker.before_navigate(c.post, kAp5, c.precog);
        EXPECT_EQ(tracker.POSITION_PREDICTED, c.predicted);
        EXPECT_EQ(pos(), c.at);
        EXPECT_EQ(tracker.document_complete_interval(), c.predicted ? 0 : 150);
    }
    // No current character: nothing stored, still predicted and redrawn.
    state.db.CUR_VAMP = 3;
    tracker.before_navigate("action=transit&target=Clio+Station", kAp5, true);
    EXPECT_TRUE(tracker.POSITION_PREDICTED);
    EXPECT_EQ(redraws, 7);
    EXPECT_EQ(pos(), Pos(7, 7));
}

TEST_F(Tracking, OnlyAPointsCountOfZeroOrLessStopsLoggingAndPrediction) {
    struct Case {
        CountdownRead countdown;
        bool logged, predicted;
    };
    // A text that is no number cannot be compared and goes ahead; without a countdown form
    // the post is predicted but not logged.
    const Case cases[] = {
        {{Status::Value, "0"}, false, false},    {{Status::Value, " -3 "}, false, false},
        {{Status::Value, "0.5"}, true, true},    {{Status::Value, ""}, true, true},
        {{Status::Value, "n/a"}, true, true},    {{Status::Failed, ""}, true, true},
        {{Status::MissingForm, ""}, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.countdown.value + "\"");
        std::filesystem::remove(log());
        stand(77, 55);
        tracker.before_navigate("action=move&x=1&y=2", c.countdown, true);
        EXPECT_EQ(std::filesystem::exists(log()) ? read_bytes(log()) : "",
                  c.logged ? "\"action=move&x=1&y=2\r\n\"\r\n" : "");
        EXPECT_EQ(tracker.POSITION_PREDICTED, c.predicted);
        EXPECT_EQ(pos(), c.predicted ? Pos(1, 2) : Pos(77, 55));
    }
}

TEST_F(Tracking, LogEntriesAreWrittenByteForByte) {
    const char raw[] = "say=\"hi\"\r\n&\x00\xFF\x81\xE9";
    const std::string odd(raw, sizeof raw - 1);
    tracker.before_navigate(odd, kAp5, true);
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
    EXPECT_EQ(pos(), Pos(150, 150));

    // In the page read a failing redraw makes the read repeat.
    EXPECT_EQ(failing.read_timer(neighbourhood(4, "Aardvark and 1st")),
              PositionTracker::kPollInterval);
    EXPECT_EQ(pos(), Pos(1, 1));
}

}  // namespace
}  // namespace zeko::testing
