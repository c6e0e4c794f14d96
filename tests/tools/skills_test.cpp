#include <gtest/gtest.h>

#include <algorithm>

#include "tools/skills.h"

namespace zeko::tools {
namespace {

TEST(Skills, TableOfGuildsAndCosts) {
    const SkillTable skills = LOAD_SKILLS();
    const std::tuple<int, const char*, const char*, int32_t> rows[] = {
        {0, "Perception", "Allurists Guild (All)", 7500},
        {4, "Surprise", "Empaths Guild (All)", 20000},
        {15, "Shadows 1", "Thievery Guild 1", 1000},
        {20, "Celerity 3", "Travellers Guild 3", 17500},
        {24, "Second Sight", "Donation required...", 0},
        {25, "Battle Cloak", "Peace Keepers (Any)", 2000},
    };
    for (auto [i, name, guild, cost] : rows) {
        const SKILL& s = skills[static_cast<size_t>(i)];
        EXPECT_EQ(s.Name, name);
        EXPECT_EQ(s.Guild, guild);
        EXPECT_EQ(s.Cost, cost);
    }
    for (const SKILL& s : skills) {
        EXPECT_GE(s.Description.size(), 60u) << s.Name;
        EXPECT_GE(s.Quest.size(), 30u) << s.Name;
        EXPECT_LE(std::max(s.Description.size(), s.Quest.size()), 600u) << s.Name;
    }
    EXPECT_EQ(
        std::count_if(skills.begin(), skills.end(), [](const SKILL& s) { return s.Cost == 0; }), 1);
}

TEST(Skills, TextOfOneSkillLineByLine) {
    const SkillTable skills = LOAD_SKILLS();
    EXPECT_EQ(SKILL_TEXT(skills[0]),
              "Perception\r\n\r\nAllurists Guild (All)\r\n\r\nPrice: 7500 Coin.\r\n\r\n"
              "Skill Description: \r\n" +
                  skills[0].Description +
                  "\r\n\r\nQuest 'n' stuff: \r\nYour quest is to hunt down a Vampire Hunter "
                  "(green human) and kill it within 10 days of starting the quest. Happy "
                  "Hunting!");
    EXPECT_NE(SKILL_TEXT(skills[4]).find("\r\nPrice: 20000 Coin.\r\n"), std::string::npos);
    EXPECT_NE(SKILL_TEXT(skills[24])
                  .find("\r\n\r\nPrice: $5.00 US\r\n(includes another skill of "
                        "your choice!)\r\n\r\nSkill Description: \r\n"),
              std::string::npos);
    EXPECT_EQ(skill_entry(skills[25]), "  Battle Cloak");
}

}  // namespace
}  // namespace zeko::tools
