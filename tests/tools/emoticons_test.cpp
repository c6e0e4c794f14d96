#include <gtest/gtest.h>

#include "tools/emoticons.h"

namespace zeko::tools {
namespace {

const std::string kBase = "http://img.test/i/mesg/emoticons7/";

std::string img(int n) {
    return "<img src=\"" + kBase + std::to_string(n) + ".gif\">";
}

TEST(Emoticons, MessagesBecomePicturesAndTheRestStaysAsTyped) {
    EmoticonText text(kBase);
    const std::pair<std::string, std::string> cases[] = {
        {":))", img(21)},
        {">:D<", img(6)},
        {"hi :", "hi :"},
        {"Hello:-)", "Hell" + img(25)},
        {"[-O<[-o<", img(63) + img(63)},
        {":d:D", img(4) + img(4)},
        {":-&amp;", img(31) + "amp;"},
        {"<b>hi</b>", "<b>hi</b>"},
        {"<<:-P>", "<" + img(36) + ">"},
        {"caf\xC3\xA9 :)", "caf\xC3\xA9 " + img(1)},
    };
    for (const auto& [typed, shown] : cases)
        EXPECT_EQ(text.EMOTICON_PARSE(typed), EmoticonText::MSG_HEADER() + shown) << typed;
}

TEST(Emoticons, ChartAndMessageMarkup) {
    const std::string chart = EmoticonText(kBase).BUILD_CHART();
    const std::string font = "<font size = 2.0 face=\"Courier New\">";
    EXPECT_EQ(chart.rfind(" <table width = 100%><tr align=center><td>" + img(1) + "</td><td>" +
                              font + ":)</font></td>",
                          0),
              0u);
    EXPECT_NE(chart.find("<td>" + font + img(51) + "</td><td>:(|)</font></td>"), std::string::npos);
    EXPECT_NE(chart.find(font + "<:-P</font>"), std::string::npos);
    const std::string last =
        "<td>" + img(108) + "</td><td>" + font + ":o3</font></td></tr></table>";
    EXPECT_EQ(chart.substr(chart.size() - last.size()), last);
    EXPECT_EQ(EmoticonText::MSG_HEADER(),
              "<font color=#606060 size=2pt face=\"Tahoma\"><b>Morvanek Emoticon Tutorial: "
              "</b></font>");
    EXPECT_EQ(EmoticonText::wrap_message(2, "x"), "<a name=\"2\">x</a><br>");
}

}  // namespace
}  // namespace zeko::tools
