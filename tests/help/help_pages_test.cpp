#include "help/help_pages.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "help/about_text.h"
#include "help/donate_page.h"
#include "help/help_layout.h"

namespace zeko::help {
namespace {

const HelpHosts kHosts{"game.test", "maker.test", "img.test"};
const HelpTables& tables() {
    static const HelpTables t = BUILD_HELP_PAGES(kHosts);
    return t;
}
bool has(const std::string& text, std::string_view what) {
    return text.find(what) != std::string::npos;
}

TEST(HelpTopics, TitlesHeadingsAndLinks) {
    const HelpTables& t = tables();
    ASSERT_EQ(t.HELP_TITLES.size(), 42u);
    const std::pair<int, const char*> titles[] = {
        {1, "Z.E.K.O.\xC2\xB2"}, {18, " * Bank Line"}, {28, "- HTML & CSS Dump"}};
    for (auto [topic, title] : titles)
        EXPECT_EQ(t.HELP_TITLES[topic], title) << topic;
    // What's New has no heading.
    const std::pair<int, std::string> heads[] = {
        {4, "<b>1.2.3</b>"}, {18, "<b>Options: Navigation Lines - Bank Line</b>...<HR>"}};
    for (const auto& [topic, head] : heads)
        EXPECT_EQ(t.HELP_PAGES[topic].substr(kFontTag.size(), head.size()), head) << topic;

    // Each section links its sub-topics in list order, each link showing its topic's title
    // but for a few with their own words.
    static const std::regex link(R"(<a href\s*=\s*"(\d+)\">([^<]*)</a>)");
    std::string map;
    for (size_t page = 0; page < t.HELP_PAGES.size(); ++page) {
        const std::string& html = t.HELP_PAGES[page];
        EXPECT_EQ(html.substr(0, kFontTag.size()), kFontTag) << page;
        std::string targets;
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            const std::string words = (*it)[2];
            targets += "," + (*it)[1].str();
            const bool own = words == "ZOOM" || words == "Vampire: Editing";
            EXPECT_EQ(words, own ? words : t.HELP_TITLES.at(std::stoul((*it)[1]))) << page;
        }
        if (!targets.empty()) map += " " + std::to_string(page) + ":" + targets.substr(1);
    }
    EXPECT_EQ(map,
              " 1:2,3,4,5 6:7,8,9,10,11,12,13,14,15 7:22 8:22 16:17,18,19,20,21,22,23 "
              "17:18,19,20,21 25:26,27,28,29 30:31,32 33:34,35,36 37:38,39,40,41 38:40");
    EXPECT_TRUE(has(t.HELP_PAGES[17], "<a href = \"18\"> * Bank Line</a>"));
}

TEST(HelpTopics, PicturesAndOutsideLinksUseTheConfiguredHosts) {
    EXPECT_TRUE(has(tables().HELP_PAGES[0], "<img src=\"http://img.test/i/mesg/emoticons7/"));
    EXPECT_TRUE(has(tables().HELP_PAGES[2], "href=\"http://game.test/"));
    EXPECT_TRUE(has(tables().HELP_PAGES[15], "href=\"http://maker.test/"));
    // The game's page on buying a skill, the one the Skills menu opens.
    EXPECT_TRUE(has(tables().HELP_PAGES[32], "href=\"http://game.test/faq.pl?id=13\""));
}

TEST(HelpTopics, WhatsNewListsEveryVersionNewestFirst) {
    const std::string page = BUILD_WHATS_NEW();
    static const std::regex block(R"(<b>(\d\.\d\.\d)</b>:<hr>([^<]*)(?:<br>)?<ul><li>)");
    std::vector<std::string> versions, intros;
    for (std::sregex_iterator it(page.begin(), page.end(), block), end; it != end; ++it) {
        versions.push_back((*it)[1].str());
        if ((*it)[2].length() > 0) intros.push_back((*it)[1].str());
    }
    ASSERT_EQ(versions.size(), 24u);
    EXPECT_EQ((std::vector{versions[0], versions[23]}),
              (std::vector<std::string>{"1.2.3", "1.0.0"}));
    EXPECT_EQ(intros, (std::vector<std::string>{"1.2.0", "1.1.9"}));
    EXPECT_TRUE(has(BUILD_WHATS_NEXT(), "<b>Event Logger</b>"));
}

TEST(HelpTopics, OwnedTopicsAndLinkAddresses) {
    // Every other topic, and any number outside the list, opens nothing.
    const std::map<int, std::string_view> owners = {
        {2, "frmMAIN"},      {4, "frmMAIN"},       {9, "frmSET_DEST"},
        {24, "frmLAYOUT"},   {26, "frmPICConfig"}, {34, "frmSHOPPING"},
        {36, "frmEMOTICON"}, {39, "frmVAMP_NEW"},  {40, "frmVAMP_EDIT"}};
    for (int16_t topic = -1; topic <= 42; ++topic)
        EXPECT_EQ(help_owner(topic), owners.contains(topic) ? owners.at(topic) : "") << topic;
    const std::pair<const char*, std::optional<int>> urls[] = {
        {"about:blank22", 22},          {"about:blank", 0},          {"about:blank7x", 7},
        {"about:blank2.5", 2},          {"about:blank3.5", 4},       {"about:blank99999", -1},
        {"about:Blank3", std::nullopt}, {"about:blan", std::nullopt}};
    for (auto [url, topic] : urls)
        EXPECT_EQ(topic_link(url), topic) << url;
}

TEST(HelpLayout, ButtonsFollowTheWindowAndTheSizeHasAFloor) {
    const HelpLayout l = help_layout(9375, 9255, 6930);
    EXPECT_EQ(l.browser, (TwipsRect{2580, 60, 6615, 6345}));
    // w0 = 2961.6; Int(1562.5) - 1480 = 82; Int(4687.5) - 1480 - 41; Int(7812.5) - 1480 - 82.
    const float w0 = 9255 * 0.32f;
    EXPECT_EQ(l.buttons[0], (TwipsRect{82, 6480, w0, 375}));
    EXPECT_EQ(l.buttons[2], (TwipsRect{6250, 6480, w0, 375}));
    const std::tuple<int32_t, int32_t, int32_t, int32_t> sizes[] = {
        {5000, 2000, 6000, 3000}, {6000, 3000, 6000, 3000}, {7000, 2999, 7000, 3000}};
    for (auto [w, h, want_w, want_h] : sizes) {
        const OuterSize s = help_min_size({w, h});
        EXPECT_EQ(std::make_pair(s.width, s.height), std::make_pair(want_w, want_h)) << w << h;
    }
}

TEST(DonatePage, ButtonFormsAreWrittenPieceByPiece) {
    const DonateHosts hosts{"pay.test", "img.test"};
    const std::string payload = payment_payload(20);
    EXPECT_EQ(payload.size(), kPayloadLength);
    EXPECT_NE(payload, payment_payload(50));
    EXPECT_EQ(BUTTON(20, hosts),
              "<form style=\"padding=0\"action=\"https://pay.test/cgi-bin/webscr\" "
              "method=\"post\"><input type=\"hidden\" name=\"cmd\" value=\"_s-xclick\"><input "
              "type=\"image\" src=\"http://img.test/zeko/20.gif\" border=\"0\" name=\"submit\" "
              "alt=\"Make payments with PayPal - it's fast, free and secure!\"><input "
              "type=\"hidden\" name=\"encrypted\" value=\"" +
                  payload + "\"></form>");
    EXPECT_EQ(BUTTON(100, hosts).substr(0, 68),
              "<form style=\"padding=0\" action=\"https://pay.test/cgi-bin/webscr\" met");
    const std::string page = donation_page(hosts);
    EXPECT_EQ(page.substr(0, 39), "<TABLE cellspacing=2 cellpadding=2><TD>");
    const std::string_view end = "<br><br>Thanks again!<br><br>- Morvanek</div>";
    EXPECT_EQ(page.substr(page.size() - end.size()), end);
}

TEST(AboutText, ParagraphsAndCaptions) {
    const std::string info = about_info_text();
    EXPECT_EQ(info.substr(0, 19), "CODER: Morvanek\r\n\r\n");
    EXPECT_TRUE(has(info, "\r\n\r\nREQUIREMENTS: Windows 9X/2K/XP"));
    EXPECT_NE(info.back(), '\n');
    EXPECT_EQ(about_artist_text(), "Logo Deisgner: Tesk\r\nClick for more of her work!");
    EXPECT_EQ(about_toggle_text(), "Text Off!\r\n(5 seconds)");
}

}  // namespace
}  // namespace zeko::help
