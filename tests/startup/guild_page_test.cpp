#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/errors.h"
#include "map/guilds.h"
#include "startup/guild_page.h"
#include "support/fakes.h"

namespace zeko {
namespace {

std::string row(const std::string& name, const std::string& place, const std::string& info) {
    return "<TR>\r\n<TD>" + name + "</TD><TD>" + place + "</TD><TD>x</TD><TD>" + info +
           "</TD></TR>\r\n";
}

TEST(MoveTime, ReadsDaysHoursAndMinutesAndCutsBehindTheHours) {
    struct Case {
        std::string text;
        int days, hours, minutes;
        std::string rest;
    };
    const std::vector<Case> cases = {
        {"<P>x</P><!-- header end -->Guilds are moving again in 1 days, 3H 20MIN<TABLE>", 1, 3, 20,
         " 20MIN<TABLE>"},
        {"guilds ARE MOVING AGAIN IN 2 DAYS, 0h 5min", 2, 0, 5, " 5min"},
        {"Guilds are moving again in 4H 7MIN", 0, 4, 7, " 7MIN"},
        {"Guilds are moving again in 3 days, 12MIN", 3, 0, 12, "12MIN"},
        {"Guilds are moving again in 3 days, 2H", 3, 2, 0, ""},
        {"no figures", 0, 0, 0, "no figures"},
        {"nothing", 0, 0, 0, "ing"},
    };
    for (const auto& c : cases) {
        const MoveTime t = read_move_time(c.text);
        EXPECT_EQ(t.days, c.days) << c.text;
        EXPECT_EQ(t.hours, c.hours) << c.text;
        EXPECT_EQ(t.minutes, c.minutes) << c.text;
        EXPECT_EQ(t.rest, c.rest) << c.text;
    }
}

TEST(MoveTime, CountsOnFromNowAndTitlesEachPartOnItsOwn) {
    const MoveAt at = move_at(read_move_time("Guilds are moving again in 1 days, 3H 20MIN"),
                              LocalDateTime{2000, 1, 1, 10, 15, 0, 0});
    EXPECT_EQ(at.MOVE_H, 37);
    EXPECT_EQ(at.MOVE_M, 35);
    EXPECT_EQ(countdown_title(at, {2000, 1, 1, 10, 15, 40, 0}),
              "Z.E.K.O.\xC2\xB2: Map Update...27:20:19");
    EXPECT_EQ(countdown_title({1, 70}, {2000, 1, 1, 2, 5, 29, 0}),
              "Z.E.K.O.\xC2\xB2: Map Update...-1:65:30");
}

TEST(MoveTime, AFigureBeyondSixteenBitsIsAnOverflow) {
    for (const char* text :
         {"Guilds are moving again in 99999H", "Guilds are moving again in 2000 days, 1H"})
        EXPECT_EQ(testing::error_of([&] { move_at(read_move_time(text), {}); }), 6) << text;
}

TEST(CrlfLineBreaks, MakesEveryBreakTwoCharacters) {
    EXPECT_EQ(crlf_line_breaks("\n<TR>\n<TD>\r\nx\n"), "\r\n<TR>\r\n<TD>\r\nx\r\n");
}

TEST(CutTable, TakesTheFirstTableOrWhatThereIs) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a<table border=1><TR></TR></Table>b<TABLE>c</TABLE>",
         "<table border=1><TR></TR></Table>"},
        {"no table</TABLE>rest", "no table</TABLE>"},
        {"a<TABLE>open", "<TABLE>open"},
        {"plain", "plain"},
    };
    for (const auto& [text, table] : cases)
        EXPECT_EQ(CUT_TABLE(text), table) << text;
}

TEST(GuildRows, ReadsRowsOfThePageShape) {
    struct Case {
        std::string table;
        int code;  // the record expected, 0 for none
        GUILD guild;
    };
    const std::vector<Case> cases = {
        {row("Allurist guild 1", "SE of Aardvark and 1st", "Hall"),
         105,
         {"Allurists: 1", "Hall", "Aardvark", "1st"}},
        {row("IMMOLATORS GUILD 2", "<TD>SE OF Elm AND 20th", "i"),
         112,
         {"Immolators: 2", "i", "Elm", "20th"}},
        {row("Thieves guild 3", "Somewhere in Elm", "t"), 116, {"Thieves: 3", "t", "", ""}},
        {row(" Thieves guild 3", "SE of Elm and 2nd", "t"), 0, {}},
        {row("<B>Thieves guild 3</B>", "SE of Elm and 2nd", "t"), 0, {}},
        {"<TR>\r\n<TH>Allurist guild 1</TH><TD>SE of Elm and 2nd</TD></TR>", 0, {}},
    };
    for (const auto& c : cases) {
        VbArray<GUILD> guilds{105, 119};
        GuildRows rows(guilds);
        std::string table = c.table;
        rows.PARSE_ROWS(table);
        EXPECT_EQ(table, "");
        for (int code = 105; code <= 119; ++code) {
            const GUILD& g = guilds(code);
            const GUILD want = code == c.code ? c.guild : GUILD{};
            EXPECT_TRUE(g.NAME == want.NAME && g.INFO == want.INFO && g.STREET_A == want.STREET_A &&
                        g.STREET_B == want.STREET_B)
                << c.table << " " << code;
        }
        EXPECT_EQ(GUILD_CODE(c.guild.NAME), c.code);
    }
}

}  // namespace
}  // namespace zeko
