#include "tools/emoticons.h"

#include "common/hosts.h"

namespace zeko::tools {

const std::array<Emoticon, kEmoticonCount> kEmoticons{{
    {1, ":)"},    {2, ":("},     {3, ";)"},     {4, ":D"},    {5, ";;)"},   {6, ">:D<"},
    {7, ":-/"},   {8, ":X"},     {9, ":\">"},   {10, ":P"},   {11, ":*"},   {12, "=(("},
    {13, ":o"},   {14, "X("},    {15, ":>"},    {16, "B-)"},  {17, ":-S"},  {18, "#:-S"},
    {19, ">:)"},  {20, ":(("},   {21, ":))"},   {22, ":|"},   {23, "/:)"},  {24, "=))"},
    {25, "o:-)"}, {26, ":-B"},   {27, "=;"},    {28, "|-)"},  {29, "8-|"},  {30, "L-)"},
    {31, ":-&"},  {32, ":-$"},   {33, "[-("},   {34, ":o)"},  {35, "8-}"},  {36, "<:-P"},
    {37, "(:|"},  {38, "=P~"},   {39, ":-?"},   {40, "#-o"},  {41, "=D>"},  {42, ":-SS"},
    {43, "@-)"},  {44, ":^o"},   {45, ":-w"},   {46, ":-<"},  {47, ">:P"},  {48, "<):)"},
    {49, ":@)"},  {50, "3:-O"},  {51, ":(|)"},  {52, "~:>"},  {53, "@};-"}, {54, "%%-"},
    {55, "**=="}, {56, "(~~)"},  {57, "~o)"},   {58, "*-:)"}, {59, "8-X"},  {60, "=:)"},
    {61, ">-)"},  {62, ":-L"},   {63, "[-o<"},  {64, "$-)"},  {65, ":-\""}, {66, "B-("},
    {67, ":)>-"}, {68, "[-X"},   {69, "\\:D/"}, {70, ">:/"},  {71, ";))"},  {72, "o->"},
    {73, "o=>"},  {74, "o-+"},   {75, "(%)"},   {76, ":-@"},  {77, "^:)^"}, {78, ":-j"},
    {79, "(*)"},  {100, ":)]"},  {101, ":-C"},  {102, "~X("}, {103, ":-h"}, {104, ":-T"},
    {105, "8->"}, {106, ":-??"}, {107, "%-("},  {108, ":o3"},
}};

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

const char kCodeFont[] = "<font size = 2.0 face=\"Courier New\">";

}  // namespace

std::string default_image_base() {
    return std::string("http://") + hosts::kImages + "/i/mesg/emoticons7/";
}

EmoticonText::EmoticonText(std::string image_base) : base_(std::move(image_base)) {}

std::string EmoticonText::image_url(int image) const {
    return base_ + std::to_string(image) + ".gif";
}

std::string EmoticonText::image_element(int image) const {
    return "<img src=\"" + image_url(image) + "\">";
}

std::string EmoticonText::match(std::string_view text, size_t length) {
    match_ = false;
    if (text.size() != length) return {};
    for (const Emoticon& e : kEmoticons) {
        if (e.code.size() == length && same_letters(text, e.code)) {
            match_ = true;
            return image_element(e.image);
        }
    }
    return {};
}

std::string EmoticonText::MATCH_CODE4(std::string_view text) {
    return match(text, 4);
}
std::string EmoticonText::MATCH_CODE3(std::string_view text) {
    return match(text, 3);
}
std::string EmoticonText::MATCH_CODE2(std::string_view text) {
    return match(text, 2);
}

std::string EmoticonText::BUILD_CHART() const {
    std::string html = " <table width = 100%>";
    for (size_t row = 0; row < kEmoticons.size() / 8; ++row) {
        html += "<tr align=center>";
        for (size_t col = 0; col < 8; ++col) {
            const Emoticon& e = kEmoticons[row * 8 + col];
            const std::string code(e.code);
            const std::string img = image_element(e.image);
            if (e.image >= 51 && e.image <= 63) {
                html += "<td>" + std::string(kCodeFont) + img + "</td><td>" + code + "</font></td>";
            } else {
                html += "<td>" + img + "</td><td>" + kCodeFont + code + "</font></td>";
            }
        }
        html += "</tr>";
    }
    return html + "</table>";
}

std::string EmoticonText::MSG_HEADER() {
    return "<font color=#606060 size=2pt face=\"Tahoma\"><b>Morvanek Emoticon Tutorial: "
           "</b></font>";
}

std::string EmoticonText::EMOTICON_PARSE(std::string_view message) {
    // The codes are found in the message as typed, so those holding < > & still match; what is
    // left over is copied as typed, unescaped, so markup the player types takes effect.
    std::string out = MSG_HEADER();
    size_t p = 0;
    while (p < message.size()) {
        const size_t left = message.size() - p;
        std::string img;
        size_t used = 0;
        if (left >= 4 && !(img = MATCH_CODE4(message.substr(p, 4))).empty()) used = 4;
        if (!used && left >= 3 && !(img = MATCH_CODE3(message.substr(p, 3))).empty()) used = 3;
        if (!used && left >= 2 && !(img = MATCH_CODE2(message.substr(p, 2))).empty()) used = 2;
        if (used) {
            out += img;
            p += used;
        } else {
            out += message.substr(p, 1);
            ++p;
        }
    }
    return out;
}

std::string EmoticonText::wrap_message(int16_t counter, std::string_view converted) {
    return "<a name=\"" + std::to_string(counter) + "\">" + std::string(converted) + "</a><br>";
}

}  // namespace zeko::tools
