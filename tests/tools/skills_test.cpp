#include <gtest/gtest.h>

#include "tools/skills.h"

namespace zeko::tools {
namespace {

TEST(Skills, GuildsCostsAndPriceLines) {
    const SkillTable skills = LOAD_SKILLS();
    const std::tuple<int, const char*, const char*, const char*> rows[] = {
        {4, "Surprise", "Empaths Guild (All)", "Price: 20000 Coin.\r\n\r\n"},
        {20, "Celerity 3", "Travellers Guild 3", "Price: 17500 Coin.\r\n\r\n"},
        {24, "Second Sight", "Donation required...",
         "Price: $5.00 US\r\n(includes another skill of your choice!)\r\n\r\n"},
        {25, "Battle Cloak", "Peace Keepers (Any)", "Price: 2000 Coin.\r\n\r\n"},
    };
    for (auto [i, name, guild, price] : rows) {
        const SKILL& s = skills[static_cast<size_t>(i)];
        EXPECT_EQ(SKILL_TEXT(s).substr(0, SKILL_TEXT(s).find("Skill Description")),
                  std::string(name) + "\r\n\r\n" + guild + "\r\n\r\n" + price);
    }
}

}  // namespace
}  // namespace zeko::tools
