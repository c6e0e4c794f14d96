#pragma once

#include <array>
#include <cstdint>
#include <string>

// The game's buyable skills: who teaches each, what it costs, what it does and how it is
// earned.
namespace zeko::tools {

struct SKILL {
    std::string Name;
    std::string Guild;
    std::string Quest;  // paragraphs separated by CR LF
    std::string Description;
    int32_t Cost = 0;  // 0: paid for with a donation
};

inline constexpr int kSkillCount = 26;
using SkillTable = std::array<SKILL, kSkillCount>;

SkillTable LOAD_SKILLS();

// What the window shows for one skill, lines separated by CR LF.
std::string SKILL_TEXT(const SKILL& skill);

// The list entry of a skill: two blanks, then the name.
std::string skill_entry(const SKILL& skill);

}  // namespace zeko::tools
