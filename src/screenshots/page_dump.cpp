#include "screenshots/page_dump.h"

#include <array>

namespace zeko {

namespace {

constexpr std::string_view kBreak = "\r\n";

constexpr std::array<std::string_view, 41> kStyleRules = {
    "BODY { background-color:#000000; }",
    "H1,DIV,BODY,P,A { font-family:Verdana,Arial,sans-serif; }",
    "BODY,H1 { text-align:center; }",
    "P,A,TD,DIV,BODY { color:#dddddd; }",
    "P,TD,DIV { text-align:left; }",
    "TD { vertical-align:top; }",
    "TD,DIV,BODY,P { font-size:small; }",
    "FORM { padding:0px; margin:0px; text-align:center; }",
    "H1 { font-size:x-large; color:#ff0000; padding:0 0 0 0; }",
    "A { text-decoration:underline; }",
    "UL { text-align:left; font-size:smaller; padding-left:38px; margin-top:3px; }",
    "P { padding:5px 10px 0px 10px; margin:0px; font-weight:bold; }",
    "P.ans { font-style:italic; font-weight:normal; padding:5px 10px 0px 15px; margin:0px; }",
    "DIV.spacey { text-align:center; width:450px; padding-top:10px; }",
    ".head { text-align:center; font-weight:bold; }",
    "TD.cityblock { text-align:center; background-color:#0000dd; }",
    "TD.intersect { text-align:center; background-color:#444444; }",
    "TD.street { text-align:center; background-color:#444444; }",
    "TD.city { text-align:center; border:solid white 1px; }",
    "SPAN.intersect { background-color:#008800; border:solid white 1px; padding:2px; }",
    "SPAN.transit { background-color:#880000; border:solid white 1px; padding:2px; }",
    "SPAN.pub { background-color:#887700; border:solid white 1px; padding:2px; }",
    "SPAN.bank { background-color:#0000ff; border:solid white 1px; padding:2px; }",
    "SPAN.shop { background-color:#004488; border:solid white 1px; padding:2px; }",
    "SPAN.grave { background-color:#888888; border:solid white 1px; color:#222222; padding:2px; }",
    "SPAN.pk { background-color:#000066; border:solid white 1px; color:#ffff00; padding:2px; }",
    "SPAN.lair { background-color:#660022; border:solid white 1px; color:#cccccc; padding:2px; }",
    "SPAN.sever,SPAN.bind { border:solid red 1px; color:red; padding:2px; }",
    "SPAN.human {}",
    "SPAN.vhuman { color:green; background-color:black; }",
    "SPAN.object { color:yellow; }",
    "UL.possessions { margin-top:0px; margin-bottom:3px; font-size:small; }",
    "#mo {display:none; position:absolute; left:0; top:0; width:300; padding:2px; font:x-small "
    "Verdana,Sans-serif; color:black; background-color:yellow; border: solid black 1px;}",
    "TABLE.textad { background-color:#002211; border:solid #668877 1px; }",
    "TD.headline { font-size:8pt; text-align:center; padding:0px 8px 0px 8px; }",
    "TD.text { font-size:7pt; text-align:center; padding:0px 8px 0px 8px; }",
    "TD.link { font-size:6pt; text-align:right; color:#999999; padding:0px 2px 0px 1px;}",
    ".pansy { color:#ff8888; }",
    ".cloak { color:#00ffff; }",
    ".rich { color:#ffff44; }",
    ".mh { border:none; background-color:transparent; text-decoration:underline; color:white; "
    "padding:0px; cursor:hand; }",
};

}  // namespace

std::string HTML_HEAD() {
    std::string out = "<HTML>";
    out += kBreak;
    out += "<HEAD>";
    out += kBreak;
    out += "<TITLE>Vampires! The Dark Alleyway</TITLE>";
    out += kBreak;
    return out;
}

std::string HTML_HEAD_LINK(std::string_view style_sheet_url) {
    std::string out = HTML_HEAD();
    out += R"(<LINK REL="stylesheet" TYPE="text/css" HREF=")";
    out += style_sheet_url;
    out += R"(" /></head>)";
    out += kBreak;
    return out;
}

std::string HTML_STYLE() {
    std::string out = R"(<STYLE type = "text/CSS">)";
    out += kBreak;
    for (std::string_view rule : kStyleRules) {
        out += rule;
        out += kBreak;
    }
    out += "</STYLE></HEAD>";
    out += kBreak;
    return out;
}

std::string HTML_BODY(std::string_view body) {
    return std::string(body);
}

std::string HTML_FOOT() {
    std::string out(kBreak);
    out += "</HTML>";
    return out;
}

std::string style_sheet_url(std::string_view game_url) {
    // scheme://host[:port] is everything before the first "/" after the "//".
    const size_t scheme_end = game_url.find("://");
    const size_t host_start = scheme_end == std::string_view::npos ? 0 : scheme_end + 3;
    const size_t host_end = game_url.find_first_of("/?#", host_start);
    return std::string(game_url.substr(0, host_end)) + "/blood.css";
}

std::string html_dump_text(std::string_view body, std::string_view style_sheet_url) {
    return HTML_HEAD_LINK(style_sheet_url) + HTML_BODY(body) + HTML_FOOT();
}

std::string html_css_dump_text(std::string_view body) {
    return HTML_HEAD() + HTML_STYLE() + HTML_BODY(body) + HTML_FOOT();
}

}  // namespace zeko
