#include "help/help_pages.h"

#include <gtest/gtest.h>

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

// The topic numbers a page links to, in page order.
std::vector<int> links(const std::string& page) {
    static const std::regex href(R"(<a href\s*=\s*"(\d+)\">)");
    std::vector<int> out;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), href);
         it != std::sregex_iterator(); ++it)
        out.push_back(std::stoi((*it)[1].str()));
    return out;
}

TEST(HelpTopics, TitlesAreTheListEntries) {
    const std::pair<int, const char*> cases[] = {
        {0, "Contact"},
        {1, "Z.E.K.O.\xC2\xB2"},
        {4, "- What's New"},
        {11, "- Help"},
        {13, "- Contact (Yahoo!)"},
        {17, "- Nav Lines"},
        {18, " * Bank Line"},
        {21, " * Destination Line"},
        {25, "Screen Shot"},
        {28, "- HTML & CSS Dump"},
        {31, "- Buying (how to)"},
        {41, "- Deleting"},
    };
    for (auto [topic, title] : cases)
        EXPECT_EQ(tables().HELP_TITLES[topic], title) << topic;
    EXPECT_EQ(tables().HELP_TITLES.size(), 42u);
}

TEST(HelpTopics, EveryPageOpensWithTheFontTagAndHeading) {
    const std::pair<int, const char*> cases[] = {
        {1, "<b>Zekorama\xC2\xB2</b>...<HR>"},
        {2, "<b>Zekorama\xC2\xB2: Description</b>...<HR>"},
        {5, "<b>Zekorama\xC2\xB2: What's Next</b>...<HR>"},
        {12, "<b>Buttons: Making a donation</b>...<HR>"},
        {18, "<b>Options: Navigation Lines - Bank Line</b>...<HR>"},
        {27, "<b>Screen Shots: Snap Shot</b>...<HR>"},
        {31, "<b>Skills: Buying a skill (How to / how much)</b>...<HR>"},
    };
    for (auto [topic, head] : cases)
        EXPECT_EQ(tables().HELP_PAGES[topic].substr(kFontTag.size(), std::string_view(head).size()),
                  head)
            << topic;
    for (const std::string& page : tables().HELP_PAGES)
        EXPECT_EQ(page.substr(0, kFontTag.size()), kFontTag);
    // What's New has no heading.
    EXPECT_EQ(tables().HELP_PAGES[4].substr(kFontTag.size(), 12), "<b>1.2.3</b>");
}

TEST(HelpTopics, PagesLinkToTheirSubTopicsInListOrder) {
    const std::pair<int, std::vector<int>> cases[] = {
        {1, {2, 3, 4, 5}},
        {6, {7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {7, {22}},
        {8, {22}},
        {16, {17, 18, 19, 20, 21, 22, 23}},
        {17, {18, 19, 20, 21}},
        {25, {26, 27, 28, 29}},
        {30, {31, 32}},
        {33, {34, 35, 36}},
        {37, {38, 39, 40, 41}},
        {38, {40}},
        {0, {}},
        {4, {}},
        {22, {}},
    };
    for (const auto& [topic, expected] : cases)
        EXPECT_EQ(links(tables().HELP_PAGES[topic]), expected) << topic;
    // A section's link shows the sub-topic's title; a few links have their own words.
    EXPECT_NE(tables().HELP_PAGES[37].find("<a href=\"41\">- Deleting</a>"), std::string::npos);
    EXPECT_NE(tables().HELP_PAGES[17].find("<a href = \"18\"> * Bank Line</a>"), std::string::npos);
    EXPECT_NE(tables().HELP_PAGES[7].find("<a href=\"22\">ZOOM</a>"), std::string::npos);
    EXPECT_NE(tables().HELP_PAGES[8].find("<a href=\"22\">ZOOM</a>"), std::string::npos);
    EXPECT_NE(tables().HELP_PAGES[38].find("<a href=\"40\">Vampire: Editing</a>"),
              std::string::npos);
}

TEST(HelpTopics, PicturesAndOutsideLinksUseTheConfiguredHosts) {
    EXPECT_EQ(emoticon_url(kHosts, 21), "http://img.test/i/mesg/emoticons7/21.gif");
    const std::string& contact = tables().HELP_PAGES[0];
    size_t rows = 0;
    for (size_t at = contact.find("Emoticon Overview:"); at != std::string::npos;
         at = contact.find("Emoticon Overview:", at + 1))
        ++rows;
    EXPECT_EQ(rows, 3u);
    EXPECT_NE(contact.find("<img src=\"http://img.test/i/mesg/emoticons7/"), std::string::npos);
    EXPECT_NE(tables().HELP_PAGES[2].find("href=\"http://game.test/"), std::string::npos);
    EXPECT_NE(tables().HELP_PAGES[15].find("href=\"http://maker.test/"), std::string::npos);
}

TEST(HelpTopics, WhatsNewListsEveryVersionNewestFirst) {
    const std::string page = BUILD_WHATS_NEW();
    std::vector<std::string> versions;
    static const std::regex block(R"(<b>(\d\.\d\.\d)</b>:<hr>([^<]*)(?:<br>)?<ul><li>)");
    std::vector<std::string> intros;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), block);
         it != std::sregex_iterator(); ++it) {
        versions.push_back((*it)[1].str());
        if ((*it)[2].length() > 0) intros.push_back((*it)[1].str());
    }
    ASSERT_EQ(versions.size(), 24u);
    EXPECT_EQ(versions.front(), "1.2.3");
    EXPECT_EQ(versions[3], "1.2.0");
    EXPECT_EQ(versions[12], "1.1.1");
    EXPECT_EQ(versions.back(), "1.0.0");
    EXPECT_EQ(intros, (std::vector<std::string>{"1.2.0", "1.1.9"}));
    const std::string next = BUILD_WHATS_NEXT();
    EXPECT_NE(next.find("<b>Event Logger</b>"), std::string::npos);
    EXPECT_NE(next.find("<b>Bug fixes</b>"), std::string::npos);
}

TEST(HelpTopics, OnlyTheOwnedTopicsOpenHelp) {
    const std::pair<int16_t, std::string_view> cases[] = {
        {2, "frmMAIN"},
        {4, "frmMAIN"},
        {9, "frmSET_DEST"},
        {24, "frmLAYOUT"},
        {26, "frmPICConfig"},
        {34, "frmSHOPPING"},
        {36, "frmEMOTICON"},
        {39, "frmVAMP_NEW"},
        {40, "frmVAMP_EDIT"},
        {0, ""},
        {11, ""},
        {41, ""},
        {-1, ""},
        {42, ""},
    };
    for (auto [topic, owner] : cases)
        EXPECT_EQ(help_owner(topic), owner) << topic;
}

TEST(HelpTopics, LinkAddressesGiveTheirTopicNumber) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"about:blank22", 22},          {"about:blank", 0},
        {"about:blank41", 41},          {"about:blank7x", 7},
        {"about:blank 18", 18},         {"about:blank2.5", 2},
        {"about:blank3.5", 4},          {"about:blank40.51", 41},
        {"about:blankabc", 0},          {"about:blank99999", -1},
        {"about:Blank3", std::nullopt}, {"http://game.test/blood.pl", std::nullopt},
        {"about:blan", std::nullopt},
    };
    for (auto [url, topic] : cases)
        EXPECT_EQ(topic_link(url), topic) << url;
}

TEST(HelpLayout, ButtonsFollowTheWindowAndTheSizeHasAFloor) {
    const HelpLayout l = help_layout(9375, 9255, 6930);
    EXPECT_EQ(l.list, (TwipsRect{60, 60, 2475, 6345}));
    EXPECT_EQ(l.browser, (TwipsRect{2580, 60, 6615, 6345}));
    // w0 = 2961.6; Int(1562.5) - 1480 = 82; Int(4687.5) - 1480 - 41; Int(7812.5) - 1480 - 82.
    const float w0 = 9255 * 0.32f;
    EXPECT_EQ(l.buttons[0], (TwipsRect{82, 6480, w0, 375}));
    EXPECT_EQ(l.buttons[1], (TwipsRect{3166, 6480, w0, 375}));
    EXPECT_EQ(l.buttons[2], (TwipsRect{6250, 6480, w0, 375}));
    const std::tuple<int32_t, int32_t, int32_t, int32_t> sizes[] = {
        {5000, 2000, 6000, 3000}, {6000, 3000, 6000, 3000}, {7000, 2999, 7000, 3000}};
    for (auto [w, h, want_w, want_h] : sizes) {
        const OuterSize s = help_min_size({w, h});
        EXPECT_EQ(s.width, want_w);
        EXPECT_EQ(s.height, want_h);
    }
}

TEST(DonatePage, ButtonFormsAreWrittenPieceByPiece) {
    const DonateHosts hosts{"pay.test", "img.test"};
    const std::string payload = payment_payload(20);
    EXPECT_EQ(payload.size(), kPayloadLength);
    EXPECT_NE(payload, payment_payload(50));
    const std::string tail =
        "method=\"post\"><input type=\"hidden\" name=\"cmd\" value=\"_s-xclick\"><input "
        "type=\"image\" src=\"http://img.test/zeko/20.gif\" border=\"0\" name=\"submit\" "
        "alt=\"Make payments with PayPal - it's fast, free and secure!\"><input "
        "type=\"hidden\" name=\"encrypted\" value=\"" +
        payload + "\"></form>";
    EXPECT_EQ(BUTTON(20, hosts),
              "<form style=\"padding=0\"action=\"https://pay.test/cgi-bin/webscr\" " + tail);
    EXPECT_EQ(BUTTON(100, hosts).substr(0, 68),
              "<form style=\"padding=0\" action=\"https://pay.test/cgi-bin/webscr\" met");
    const std::string page = donation_page(hosts);
    EXPECT_EQ(page.substr(0, 39), "<TABLE cellspacing=2 cellpadding=2><TD>");
    EXPECT_NE(page.find("</form></TD><TD><form"), std::string::npos);
    EXPECT_NE(page.find("</TD></TABLE><div style = \"FONT-SIZE: 11pt; FONT-FAMILY: 'Comic Sans "
                        "MS'; position:absolute; left:35; width:85%;\">"),
              std::string::npos);
    const std::string_view end = "<br><br>Thanks again!<br><br>- Morvanek</div>";
    EXPECT_EQ(page.substr(page.size() - end.size()), end);
}

TEST(AboutText, ParagraphsAndCaptions) {
    const std::string info = about_info_text();
    EXPECT_EQ(info.substr(0, 19), "CODER: Morvanek\r\n\r\n");
    for (const char* head : {"\r\n\r\nDESCRIPTION:", "\r\n\r\nCOST:", "\r\n\r\nPROBLEM?:",
                             "\r\n\r\nREQUIREMENTS: Windows 9X/2K/XP"})
        EXPECT_NE(info.find(head), std::string::npos) << head;
    EXPECT_NE(info.back(), '\n');
    EXPECT_EQ(about_artist_text(), "Logo Deisgner: Tesk\r\nClick for more of her work!");
    EXPECT_EQ(about_toggle_text(), "Text Off!\r\n(5 seconds)");
}

}  // namespace
}  // namespace zeko::help
