#include "help/help_pages.h"

#include <cmath>
#include <utility>

#include "common/conversions.h"
#include "common/hosts.h"

namespace zeko::help {

namespace {

constexpr std::array<std::string_view, kTopicCount> kTitles = {
    "Contact",
    "Z.E.K.O.\xC2\xB2",
    "- Description",
    "- Redistribution",
    "- What's New",
    "- What's Next",
    "Buttons",
    "- Zoom In",
    "- Zoom Out",
    "- Set Destination",
    "- Safe Refresh",
    "- Help",
    "- Make a Donation",
    "- Contact (Yahoo!)",
    "- Contact (email)",
    "- Poetry Stuffs",
    "Options",
    "- Nav Lines",
    " * Bank Line",
    " * Pub Line",
    " * Transit Line",
    " * Destination Line",
    "- Zoom",
    "- Auto Nav",
    "- Form Layout",
    "Screen Shot",
    "- Snap Shot Settings",
    "- Snap Shot",
    "- HTML & CSS Dump",
    "- HTML Dump",
    "Skills",
    "- Buying (how to)",
    "- Buy a skill",
    "Tools",
    "- Shopping List",
    "- Skills Information",
    "- Emoticon Tutorial",
    "Vampire",
    "- Auto-login",
    "- Creating",
    "- Editing",
    "- Deleting",
};

std::string heading(std::string_view text) {
    std::string s(kFontTag);
    s += "<b>";
    s += text;
    s += "</b>...<HR>";
    return s;
}

std::string link(int topic, std::string_view text) {
    return "<a href=\"" + std::to_string(topic) + "\">" + std::string(text) + "</a>";
}

// A section page: its introduction, then one link per sub-topic in list order.
std::string section(std::string_view name, std::string_view intro, std::initializer_list<int> subs,
                    int spaced_link = -1) {
    std::string s = heading(name);
    s += intro;
    s += "<br><br>";
    for (int topic : subs) {
        if (topic == spaced_link) {
            s += "<a href = \"" + std::to_string(topic) + "\">" +
                 std::string(kTitles[static_cast<size_t>(topic)]) + "</a>";
        } else {
            s += link(topic, kTitles[static_cast<size_t>(topic)]);
        }
        s += "<br>";
    }
    return s;
}

std::string img(const std::string& url) {
    return "<img src=\"" + url + "\"> ";
}

std::string emoticon_row(const HelpHosts& hosts, std::initializer_list<int> images) {
    std::string s = "<br><i>Emoticon Overview:</i> ";
    for (int image : images)
        s += img(emoticon_url(hosts, image));
    return s + "<br><br>";
}

std::string page_contact(const HelpHosts& h) {
    return heading("Contact") +
           "There are two ways to reach me from the main window: the <b>Contact (Yahoo!)</b> "
           "button opens a messenger window to me, and the <b>Contact (email)</b> button starts "
           "a mail with the program's name and version already in the subject." +
           emoticon_row(h, {1, 3, 4, 21}) +
           "Get in touch when something goes wrong, when a place on the map is wrong or missing, "
           "or when you have an idea that would make the program more useful. Please look "
           "through this help first; most questions are answered here." +
           emoticon_row(h, {7, 10, 17, 24}) +
           "For technical support, the players' forums have a thread for the program; other "
           "players often know the answer before I do. <i>- Morvanek</i>" +
           emoticon_row(h, {41, 46, 62, 100});
}

std::string page_description(const HelpHosts& h) {
    return heading("Zekorama\xC2\xB2: Description") +
           "Zekorama\xC2\xB2 is a companion for players of the game <b>\"Vampires!\"</b>. The "
           "city is 200 by 200 streets and easy to get lost in; the program shows a minimap of "
           "the blocks around your vampire, the nearest bank, pub and transit station, and the "
           "way to any destination you choose, while you play the game in its own window."
           "<br><br>The program is <b>free</b>. If you find it worth something, donations are "
           "welcome, but never required.<br><br>Why the little two? Zekorama\xC2\xB2 is the "
           "second map of its kind, written anew from the ground up, so the name carries a "
           "superscript two: <i>Z.E.K.O.\xC2\xB2</i>.<br><br>The game itself: <a href=\"http://" +
           h.game + "/blood.pl\">Vampires!</a>";
}

std::string page_buttons_zoom(bool in) {
    if (in) {
        return heading("Buttons: Zoom In") +
               "The <b>Zoom In</b> button shows fewer blocks around your vampire, each one "
               "bigger: it goes to the next smaller view, down to 5x5 and then 3x3. At 3x3 the "
               "button stays where it is and nothing changes.<br><br>All the views are "
               "described under " +
               link(22, "ZOOM") + ".";
    }
    return heading("Buttons: Zoom Out") +
           "The <b>Zoom Out</b> button shows more of the city at once: from 3x3 it goes to "
           "the next larger view, 5x5, and on up to the largest. The blocks get smaller as more "
           "of them fit on the minimap.<br><br>All the views are described under " +
           link(22, "ZOOM") + ".";
}

std::string page_line(std::string_view name, std::string_view colour, std::string_view what,
                      std::string_view count) {
    std::string s = heading(std::string("Options: Navigation Lines - ") + std::string(name));
    s += "The <b>";
    s += colour;
    s += "</b> line points from your vampire to the nearest of the city's ";
    s += count;
    s += " ";
    s += what;
    s += ". When two are equally near, the line goes to the one lying further to the "
         "south-east.<br><br>The information box of the same colour beside the minimap names "
         "it, gives its address and tells how many steps away it is.";
    return s;
}

std::string page_shot(std::string_view heading_text, std::string_view body) {
    return heading(heading_text) + std::string(body);
}

std::vector<std::string> pages(const HelpHosts& h) {
    std::vector<std::string> p(kTopicCount);
    p[0] = page_contact(h);
    p[1] = section("Zekorama\xC2\xB2",
                   "Everything about the program itself: what it is, how it may be passed on, "
                   "what has changed and what is coming.",
                   {2, 3, 4, 5});
    p[2] = page_description(h);
    p[3] = heading("Zekorama\xC2\xB2: Redistribution") +
           "You may pass Zekorama\xC2\xB2 on to anybody, as long as you pass it on <b>without "
           "changes</b> (all of its files, just as you got them) and <b>not for profit</b>: no "
           "selling it, no charging for it, no bundling it with something that is sold.<br><br>"
           "If you put it on a web site, a line saying where it came from would be nice.";
    p[4] = BUILD_WHATS_NEW();
    p[5] = BUILD_WHATS_NEXT();
    p[6] = section("Buttons",
                   "The buttons below the minimap of the main window. Each one is explained on "
                   "its own page:",
                   {7, 8, 9, 10, 11, 12, 13, 14, 15});
    p[7] = page_buttons_zoom(true);
    p[8] = page_buttons_zoom(false);
    p[9] = heading("Buttons: Set Destination") +
           "<b>Set Destination</b> opens the destination planner. Pick the tile you want to go "
           "to, either by browsing its minimap with the arrows or by choosing a street corner, "
           "a bank, a pub, a transit station or a guild from the lists.<br><br>The <b>GO</b> "
           "button moves the planner's view to what you picked; the <b>OK</b> button sets it as "
           "the destination of the vampire and closes the planner.<br><br>From then on the "
           "<i>cyan</i> line on the minimap leads there.";
    p[10] = heading("Buttons: Safe Refresh") +
            "The browser's own refresh repeats the last thing it sent, and in the game that may "
            "be a move, a purchase or a bite. <b>Safe Refresh</b> loads the game page afresh "
            "instead, so nothing is done twice.";
    p[11] = heading("Buttons: Help") +
            "You are reading it. The list on the left holds every topic; click one and its "
            "page appears on the right. Underlined words inside a page lead to other topics."
            "<br><br>The <b>Done</b> button closes the help window.";
    p[12] = heading("Buttons: Making a donation") +
            "Zekorama\xC2\xB2 is free. If you would like to thank me, the <b>Make a Donation</b> "
            "button takes you to a page where you can give 5, 10, 20, 50 or 100 US dollars "
            "through PayPal, safely.<br><br>A donation is <i>never</i> required; the program "
            "does everything it does for everybody.";
    p[13] = heading("Buttons: Contact (Yahoo!)") +
            "The <b>Contact (Yahoo!)</b> button opens a Yahoo! Messenger window to me. This "
            "picture shows whether I am online right now:<br><br>" +
            img("http://" + h.images + "/online?u=morvanek&m=g&t=2") +
            "<br><br>If I am away, leave a message; I will answer when I am back.";
    p[14] = heading("Buttons: Contact (email)") +
            "The <b>Contact (email)</b> button is meant for error reports. It starts a mail to "
            "me whose subject line carries the program's name and version.<br><br><b>Please "
            "leave the subject as it is</b>: it tells me which version you have, and mails "
            "without it are easily lost.";
    p[15] = heading("Buttons: Morvanek Poetry") +
            "The logo picture beside the buttons opens my poetry page in a new window, at <a "
            "href=\"http://" +
            h.maker +
            "/poetry/\">Morvanek Poetry</a>. Nothing to do with the game; just "
            "something I like to write.";
    p[16] = section("Options",
                    "The Options menu decides what the minimap shows and how it follows your "
                    "vampire:",
                    {17, 18, 19, 20, 21, 22, 23});
    p[17] = section("Options: Navigation Lines",
                    "The navigation lines run from your vampire's tile towards the places you "
                    "most often need. Each line can be hidden or shown again by its check mark "
                    "in the Options menu:",
                    {18, 19, 20, 21}, 18);
    p[18] = page_line("Bank Line", "blue", "banks", "200");
    p[19] = page_line("Pub Line", "orange", "pubs", "91");
    p[20] = page_line("Transit Line", "red", "transit stations", "9");
    p[21] = heading("Options: Navigation Lines - Destination Line") +
            "The <b>cyan</b> line, the thinnest of them, leads to the destination you chose in "
            "the planner.<br><br>Its two information boxes tell where the destination is and "
            "how far away it is, and the quickest way there by transit when that is shorter.";
    p[22] = heading("Options: Zoom") +
            "The minimap can show <b>3 x 3</b>, <b>5 x 5</b>, <b>7 x 7</b>, <b>9 x 9</b> or "
            "<b>11 x 11</b> blocks with your vampire in the middle. Set it with the Zoom In and "
            "Zoom Out buttons or choose a size in the Options menu.<br><br>The smaller views "
            "show pictures and names; the larger ones show more of the city.";
    p[23] = heading("Options: Auto-Nav") +
            "With <b>Auto-Nav</b> on, the minimap follows your vampire: every game page you see "
            "moves the map to where you are.<br><br>Switch it off when you want to look around "
            "the city on the minimap without it jumping back to your vampire.";
    p[24] = heading("Options: Form Layout") +
            "The layout chooser shows a small <b>preview</b> of the main window and a list of "
            "layouts. Click a layout to see where the minimap, the buttons, the vampire list "
            "and the information boxes go.<br><br><b>OK</b> takes the layout, <b>Cancel</b> "
            "keeps the old one, <b>Help</b> brings you here.";
    p[25] = section("Screen Shots",
                    "Three kinds of screen shot can be saved, up to 10,000 of each kind per day. "
                    "They are kept in the program's folder:",
                    {26, 27, 28, 29});
    p[26] = page_shot("Screen Shot: Snap Shot Settings",
                      "The settings window decides the file names of the three kinds: a prefix "
                      "and a date pattern for each. The preview shows the name the next file "
                      "will get; the numbers at the end count up through the day.");
    p[27] = page_shot("Screen Shots: Snap Shot",
                      "A <b>Snap Shot</b> saves a picture (a bitmap) of the whole main window. "
                      "Bitmaps are big: about 1.5 MB each.");
    p[28] = page_shot("Screen Shots: HTML & CSS Dump",
                      "The <b>HTML &amp; CSS Dump</b> saves the game page with its style "
                      "information written into it, so it looks right on any computer, even "
                      "years later.");
    p[29] = page_shot("Screen Shots: HTML Dump",
                      "The <b>HTML Dump</b> saves the game page as it is; it links to the "
                      "game's current style sheet, so its looks follow the game's.");
    p[30] = section("Skills",
                    "The Skills menu opens the game's own pages on skills and on the donations "
                    "that buy them:",
                    {31, 32});
    p[31] = heading("Skills: Buying a skill (How to / how much)") +
            "Opens the game's help on buying skills: what each skill costs and where it is "
            "taught.";
    p[32] = heading("Skills: Buy a skill / power") +
            "Opens the game's donation checkout for the vampire that is logged in. The game's "
            "own <a href=\"http://" +
            h.game + "/faq.pl?id=13\">FAQ</a> explains how these donations work.";
    p[33] = section("Tools", "Small tools for everyday life in the city:", {34, 35, 36});
    p[34] = heading("Tools: Shopping List Generator") +
            "The <b>Shopping List</b> prices a list of goods for any shop in the city and for "
            "your charisma, and tells what the lot fetches at the pawn shop.";
    p[35] = heading("Tools: Skill Information") +
            "The <b>Skill Information</b> window lists every skill with its guild, its price, "
            "its quest and what it does.";
    p[36] = heading("Tools: Emoticon Tutorial") +
            "The <b>Emoticon Tutorial</b> shows every messenger emoticon beside the code that "
            "makes it. Type a message below to see it as the messenger would show it " +
            img(emoticon_url(h, 1)) + img(emoticon_url(h, 4));
    p[37] = section("Vampire",
                    "The vampire list keeps the characters you play, each with its own position "
                    "and destination:",
                    {38, 39, 40, 41});
    p[38] = heading("Vampire: Auto-Login") +
            "For automatic login a vampire needs its <b>name</b> and its <b>password</b>, "
            "exactly as the game knows them, and its <b>AutoLogin</b> box ticked. Choosing "
            "it in the list then logs it into the game.<br><br>To fill these in for a vampire "
            "you already have, see " +
            link(40, "Vampire: Editing") + ".";
    p[39] = heading("Vampire: Creating") +
            "The new-vampire dialog asks for:<ul><li><b>Vampire</b>: whether this is a "
            "vampire of the game<li><b>Handle</b>: the name shown in the list<li><b>Vampire "
            "Name</b>: the name in the game<li><b>Password</b>: its game password<li><b>"
            "AutoLogin</b>: tick it to be logged in when you choose the vampire</ul>";
    p[40] = heading("Vampire: Editing") +
            "Select the vampire in the list and press the edit button. Change what you need "
            "and press <b>OK</b>; <b>Cancel</b> leaves the record as it was.";
    p[41] = heading("Vampire: Deleting") +
            "Select the vampire in the list and press the delete button. You are asked first; "
            "a deleted vampire cannot be brought back.";
    return p;
}

}  // namespace

HelpHosts built_hosts() {
    return {hosts::kGame, hosts::kMaker, hosts::kImages};
}

const std::array<std::string_view, kTopicCount>& help_titles() {
    return kTitles;
}

std::string emoticon_url(const HelpHosts& hosts, int image) {
    return "http://" + hosts.images + "/i/mesg/emoticons7/" + std::to_string(image) + ".gif";
}

HelpTables BUILD_HELP_PAGES(const HelpHosts& hosts) {
    HelpTables tables;
    std::vector<std::string> built = pages(hosts);
    for (size_t i = 0; i < kTitles.size(); ++i) {
        tables.HELP_TITLES[i] = std::string(kTitles[i]);
        tables.HELP_PAGES[i] = std::move(built[i]);
    }
    return tables;
}

std::string_view help_owner(int16_t topic) {
    switch (topic) {
        case 2:
        case 4:
            return "frmMAIN";
        case 9:
            return "frmSET_DEST";
        case 24:
            return "frmLAYOUT";
        case 26:
            return "frmPICConfig";
        case 34:
            return "frmSHOPPING";
        case 36:
            return "frmEMOTICON";
        case 39:
            return "frmVAMP_NEW";
        case 40:
            return "frmVAMP_EDIT";
        default:
            return {};
    }
}

std::optional<int> topic_link(std::string_view url) {
    constexpr std::string_view kBlank = "about:blank";
    if (url.substr(0, kBlank.size()) != kBlank) return std::nullopt;
    const double value = Val(url.substr(kBlank.size()));
    if (!(std::fabs(value) < 32768.0)) return -1;
    // The default rounding mode sends halves to the even neighbour.
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace zeko::help
